// A .docx read the tests' own way, sharing no code with the engine's reading: its entries through
// libzip, each XML part parsed once with its names in the tests' prefixes (support/XmlNames) and,
// when asked, its tracked changes resolved by the tests' own resolver; each part's
// relationships by id.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "support/TrackedChanges.h"
#include "support/Zip.h"

struct TestRelationship {
    std::string target;  // a part's name in the package, or an external address
    bool external = false;
    std::string type;
};

class TestPackage {
  public:
    // Throws std::runtime_error when there is no readable main part.
    // `author`: only that author's changes resolved as asked, everyone else's the other way.
    explicit TestPackage(const std::string& path,
                         std::optional<Resolution> resolution = std::nullopt,
                         std::string author = "");

    const std::string& main() const { return main_; }
    // The part parsed, or nullptr when the package lacks it.
    pugi::xml_document* part(const std::string& name);
    const std::string* bytes(const std::string& name) const { return FindEntry(entries_, name); }
    // The relationships of the part `name` ("" for the package's own), by id.
    const std::map<std::string, TestRelationship>& relationshipsOf(const std::string& name);
    // The relationship `id` of the part `from`, or nullptr.
    const TestRelationship* relationship(const std::string& from, const std::string& id);
    // The part that a relationship of the main part of a type ending in `suffix` names, or "".
    std::string partOfType(const std::string& suffix);

  private:
    ZipEntries entries_;
    std::optional<Resolution> resolution_;
    std::string author_;
    std::string main_;
    std::map<std::string, std::unique_ptr<pugi::xml_document>> parsed_;
    std::map<std::string, std::map<std::string, TestRelationship>> relationships_;
};
