// The notes and comments of the documents being combined: each reviewer's result's parts, read
// when first asked for, and the combined result's, made when it has none; and the carrying of a
// reviewer's notes and comments into the combined result with their marks as they stand.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "redline/io/Names.h"
#include "redline/read/Document.h"
#include "redline/write/CarryOver.h"

namespace redline {

// "footnote", "endnote", "comment" or "commentEx" (a comment's thread and state).
class StoryParts {
  public:
    explicit StoryParts(DocumentSide& side) : side_(side) {}

    // The part of the kind, or null when the document has none. Raises BadDocument.
    PackagePart* part(const std::string& kind);
    // The same, made from `like`'s root (and separators) when the document has none.
    PackagePart& partLike(const std::string& kind, const PackagePart& like,
                          CarryOverShared& shared);
    // The note or comment `id` of the kind, or none.
    pugi::xml_node story(const std::string& kind, const std::string& id);
    // An id that no story of the kind has yet.
    std::string freshId(const std::string& kind);
    // Every part read or made, to be checked and written back.
    std::vector<PackagePart*> parts() const;
    void save();

  private:
    DocumentSide& side_;
    std::map<std::string, std::unique_ptr<PackagePart>> parts_;  // by kind; null: none
    std::map<std::string, long> next_;
};

// Carries one reviewer's notes and comments into the combined result as content that refers to
// them comes along.
class CarriedStories : public NoteCarryOver, public CommentCarryOver {
  public:
    CarriedStories(StoryParts& from, StoryParts& into, CarryOverShared& shared)
        : from_(from), into_(into), shared_(shared) {}

    std::string carryNote(const std::string& kind, const std::string& id) override {
        return carry(kind, id);
    }
    std::string carriedComment(const std::string& id) override { return carry("comment", id); }
    bool originalOnly(const std::string&) const override { return false; }

  private:
    std::string carry(const std::string& kind, const std::string& id);
    void carryThread(const pugi::xml_node& comment);

    StoryParts& from_;
    StoryParts& into_;
    CarryOverShared& shared_;
    std::map<std::pair<std::string, std::string>, std::string> carried_;  // kind and id -> new id
    std::map<std::string, std::unique_ptr<PartCarryOver>> carriers_;      // by kind
};

// The headers and footers of a document: their relationships' ids and their parts' names.
std::vector<std::pair<std::string, std::string>> HeadersAndFooters(const DocumentSide& side);

// The ids of the notes (w::footnoteReference) or comments (w::commentReference) that content
// below `root` refers to.
std::vector<std::string> ReferencedIds(const pugi::xml_node& root, const char* reference);

}  // namespace redline
