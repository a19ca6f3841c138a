// Keys for the things in a paragraph that are not text (pictures, charts, embedded objects,
// equations): equal when what a reader sees of them is equal, whatever ids, names, namespace
// declarations, empty-element forms or zip entry times their writer chose.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <string>

#include "redline/io/Package.h"
#include "redline/read/Document.h"
#include "redline/read/Paragraph.h"

namespace redline {

class Namespaces;

class ContentKeys : public ObjectKeys {
  public:
    ContentKeys(const Package& package, const PackagePart& part) : package_(package), part_(part) {}

    std::string describe(const pugi::xml_node& node) override;

  private:
    // What the part that relationship `id` names holds, as a hash.
    std::string target(const std::string& id);

    const Package& package_;
    const PackagePart& part_;
    std::map<std::string, std::string> targets_;  // part -> its content's hash
};

// What a part holds, as a reader sees it: an XML part's infoset without namespace declarations
// and ids that each writer numbers anew (a chart's axes), its names by namespace (the prefixes
// of `names`), an embedded package's entries by name and content (not its zip times or order),
// anything else its bytes.
std::string PartContent(const std::string& name, const std::string& bytes, Namespaces& names,
                        int depth = 0);

}  // namespace redline
