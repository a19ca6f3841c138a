// Elements and properties as canonical text, leaving out what makes no visible difference
// (revision ids, proofing language, change records): equal texts mean equal content or formatting.
#pragma once

#include <pugixml.hpp>

#include <functional>
#include <string>

namespace redline {

// The element as text: its name, its attributes as `value` gives them (an empty text leaves one
// out) and its content, leaving out what makes no visible difference.
std::string CanonicalXml(
    const pugi::xml_node& node,
    const std::function<std::string(const pugi::xml_node&, const pugi::xml_attribute&)>& value);

// The run or paragraph properties as text, without what makes no visible difference (revision
// ids, proofing language): equal texts mean equal formatting.
std::string CanonicalProperties(const pugi::xml_node& properties);

// The paragraph's own properties as text (without its mark's formatting or a section's).
std::string CanonicalParagraphProperties(const pugi::xml_node& paragraph);

}  // namespace redline
