// Footnotes or endnotes: each note of the result whose reference stayed in place is compared with
// the original's note that reference had; a note whose reference is new is inserted whole, and
// the original's note of a deleted reference comes into the result deleted whole.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "redline/Changes.h"
#include "redline/write/CarryOver.h"

namespace redline {

class Comparer;
struct PackagePart;

class Notes : public NoteCarryOver {
  public:
    // `kind`: "footnote" or "endnote".
    Notes(Comparer& comparer, std::string kind, Part part);

    // The note `a` of the original stays as the result's note `b`.
    void pair(const std::string& a, const std::string& b) { pairs_.emplace_back(a, b); }
    // The result's note `b` is new.
    void inserted(const std::string& b) { inserted_.push_back(b); }
    std::string carryNote(const std::string& kind, const std::string& id) override;
    // Compares the paired notes and marks the new ones, until no more come.
    void process();

  private:
    bool load();
    pugi::xml_node note(PackagePart& part, const std::string& id) const;
    std::string relationshipType() const;
    // The element of a note of its kind: w:footnote or w:endnote.
    const char* element() const;

    Comparer& comparer_;
    std::string kind_;
    Part part_;
    PackagePart* a_ = nullptr;
    PackagePart* b_ = nullptr;
    std::vector<std::pair<std::string, std::string>> pairs_;
    std::vector<std::string> inserted_;
    std::set<std::string> done_;  // the result's notes already handled
    long nextId_ = 0;
};

}  // namespace redline
