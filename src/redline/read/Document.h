// One side of a comparison: a .docx package, its main document part parsed, and the
// relationships that part's pictures, links and notes go through.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <memory>
#include <string>

#include "redline/io/Package.h"

namespace redline {

struct Relationship {
    std::string type, target;
    bool external = false;
};

// The relationships of one part: "word/_rels/document.xml.rels" for "word/document.xml".
class Relationships {
  public:
    Relationships() = default;
    Relationships(const Package& package, const std::string& partName);

    const Relationship* find(const std::string& id) const;
    // The package's name of the part an internal relationship points at.
    std::string partOf(const Relationship& relationship) const;
    // The first relationship of a type that ends with `typeSuffix` ("/styles").
    const Relationship* ofType(const std::string& typeSuffix) const;
    // Every relationship, by id.
    const std::map<std::string, Relationship>& all() const { return byId_; }

    // Adds a relationship with a fresh id, to be written back with `save`; answers the id.
    std::string add(const Relationship& relationship);
    void save(Package& package) const;

  private:
    std::string folder_, relsName_;
    std::map<std::string, Relationship> byId_;
    std::shared_ptr<pugi::xml_document> xml_;
    int next_ = 1;
};

// The package name of `target` as seen from a part in `folder` ("word/"); "" when it leaves the
// package.
std::string ResolvePartName(const std::string& folder, const std::string& target);

// One XML part of a package, parsed, with its relationships.
struct PackagePart {
    std::string name;  // "word/document.xml"
    pugi::xml_document xml;
    Relationships relationships;
};

// Reads the part `name` of `package` with its relationships; answers false when there is no
// such part. Raises BadDocument when it is there but cannot be read.
bool LoadPart(const Package& package, const std::string& name, PackagePart& part);

// Writes the part and its relationships back into `package`.
void SavePart(const PackagePart& part, Package& package);

// The target a relationship of the part `from` gives to the part `to`: relative to `from`'s
// folder when `to` lies below it, else from the package's root.
std::string TargetFrom(const std::string& from, const std::string& to);

struct DocumentSide {
    std::string path;
    Package package;
    PackagePart main;
    // The part that a relationship of the main part of a type ending in `typeSuffix` names
    // ("/footnotes"), or "" when there is none.
    std::string partOfType(const std::string& typeSuffix) const;
};

// Parses the part `name` of one side's package; raises UnreadableDocument naming that side's
// file when the part is missing or damaged.
void ParseSidePart(pugi::xml_document& xml, const DocumentSide& side, const std::string& name);

// Reads the .docx at `path`: its package and main document part, with the prefixes of `names`
// when given (the two sides of a comparison share them). Raises BadDocument.
void LoadDocument(DocumentSide& side, const std::string& path,
                  std::shared_ptr<Namespaces> names = nullptr);

}  // namespace redline
