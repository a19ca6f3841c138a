// Brings content of the original document into the result: the pictures, links and objects it
// points at get relationships (and parts) of their own in the result, the styles it uses are
// copied where the result lacks them, the notes it refers to come along (deleted), and what
// belongs to the original alone (bookmarks, comments) is left behind.
#pragma once

#include <map>
#include <set>
#include <string>

#include "redline/read/Document.h"
#include "redline/write/Writer.h"

namespace redline {

// What everything carried over into one result shares: the parts copied from the original, the
// result's content types, and the styles that original content needs.
class CarryOverShared {
  public:
    CarryOverShared(const DocumentSide& original, DocumentSide& result)
        : original_(original), result_(result) {}

    // Copies the original's part `name`, with the parts its own relationships name, under a
    // name of its own in the result; answers that name ("" when there is no such part).
    std::string copyPart(const std::string& name, int depth = 0);
    // Gives a new part of the result a content type.
    void addOverride(const std::string& name, const std::string& contentType);
    void needStyle(const std::string& id) { styles_.insert(id); }
    // A drawing id no other drawing of the result has.
    int nextDrawing() { return ++drawings_; }
    // Writes the styles and content types into the result's package.
    void finish();

  private:
    void addContentType(const std::string& name, const std::string& from);
    void typeEveryPart();
    pugi::xml_node contentTypes();
    void copyStyles();

    const DocumentSide& original_;
    DocumentSide& result_;
    std::map<std::string, std::string> parts_;  // original part -> its copy in the result
    std::set<std::string> styles_;
    pugi::xml_document contentTypes_;
    bool contentTypesRead_ = false;
    int copies_ = 0, drawings_ = 900000;
};

// Brings the original's notes into the result when content that refers to them comes along.
class NoteCarryOver {
  public:
    virtual ~NoteCarryOver() = default;
    // The original's note `id` of `kind` ("footnote", "endnote") copied into the result and
    // marked deleted; answers its id there.
    virtual std::string carryNote(const std::string& kind, const std::string& id) = 0;
};

// Carries content over from one part of the original into one part of the result.
class PartCarryOver : public CarryOver {
  public:
    PartCarryOver(CarryOverShared& shared, const PackagePart& from, PackagePart& to,
                  NoteCarryOver* notes = nullptr, CommentCarryOver* comments = nullptr)
        : shared_(shared), from_(from), to_(to), notes_(notes), comments_(comments) {}

    void carry(pugi::xml_node copied) override;

  private:
    std::string relationshipFor(const std::string& id);

    CarryOverShared& shared_;
    const PackagePart& from_;
    PackagePart& to_;
    NoteCarryOver* notes_;
    CommentCarryOver* comments_;
    std::map<std::string, std::string> ids_;  // original relationship id -> result's
};

}  // namespace redline
