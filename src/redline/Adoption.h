// Brings content of the original document into the result: the pictures, links and objects it
// points at get relationships (and parts) of their own in the result, the styles it uses are
// copied where the result lacks them, and what belongs to the original alone (bookmarks,
// comments, section breaks) is left behind.
#pragma once

#include <set>
#include <string>

#include "redline/Document.h"
#include "redline/Writer.h"

namespace redline {

class Adoption : public OriginalContent {
  public:
    Adoption(const DocumentSide& original, DocumentSide& result)
        : original_(original), result_(result) {}

    void adopt(pugi::xml_node copied) override;
    // Writes what adoption added into the result's package: relationships, parts, content
    // types and styles.
    void finish();

  private:
    std::string relationshipFor(const std::string& id);
    std::string copyPart(const std::string& name, int depth);
    void addContentType(const std::string& name, const std::string& from);
    void copyStyles();

    const DocumentSide& original_;
    DocumentSide& result_;
    std::map<std::string, std::string> ids_;    // original relationship id -> result's
    std::map<std::string, std::string> parts_;  // original part -> its copy in the result
    std::set<std::string> styles_;
    pugi::xml_document contentTypes_;
    bool contentTypesRead_ = false;
    int copies_ = 0, drawings_ = 900000;
};

}  // namespace redline
