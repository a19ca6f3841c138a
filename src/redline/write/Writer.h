// Writing the marked-up result: each story of the revised document rebuilt in place so that it
// shows, as tracked changes, how the original's story became it.
#pragma once

#include <pugixml.hpp>

#include <memory>
#include <vector>

#include "redline/Changes.h"
#include "redline/align/Align.h"
#include "redline/align/Diff.h"
#include "redline/read/Story.h"
#include "redline/read/Units.h"
#include "redline/write/Marks.h"
#include "redline/write/Rules.h"

namespace redline {

// Brings what comes from the original document into the result: forgets its bookmarks and
// comments, and gives the pictures, links, headers and styles it refers to a place in the result.
class CarryOver {
  public:
    virtual ~CarryOver() = default;
    virtual void carry(pugi::xml_node copied) = 0;
};

// Brings the original's comments that the revised document no longer has into the result.
class CommentCarryOver {
  public:
    virtual ~CommentCarryOver() = default;
    // The id in the result of the original's comment `id`, copied there the first time it is
    // asked for, so that its marks come along where they stood; "" when there is no such
    // comment. A comment the result has of its own is copied too, in case rejecting every
    // change would take the result's own away or leave it on other words; else the copy goes
    // again once everything is written.
    virtual std::string carriedComment(const std::string& id) = 0;
    // Whether the original's comment `id` is one the revised document does not have.
    virtual bool originalOnly(const std::string& id) const = 0;
    // The id of the comment that a range mark or a reference names, or "" for any other node.
    static std::string CommentOf(const pugi::xml_node& node);
};

// Told of the content the writer keeps and inserts, for the stories nested in it that are
// compared on their own: notes (through their references) and text boxes.
class NestedStories {
  public:
    virtual ~NestedStories() = default;
    // `a` of the original stays as `b` in the result.
    virtual void kept(const pugi::xml_node& a, const pugi::xml_node& b) = 0;
    // `b` is new in the result.
    virtual void inserted(const pugi::xml_node& b) = 0;
};

struct WriteContext {
    Stamp& stamp;
    const Rules& rules;
    KeyTable& keys;  // the comparison's, shared by both documents
    CarryOver& carry;
    std::vector<Change>& changes;
    int& nextMove;
    NestedStories* nested = nullptr;
    // The original's sections whose breaks came along in deleted or moved-away paragraphs.
    std::vector<pugi::xml_node>* carriedSections = nullptr;
    // The original's comments the result no longer has, whose marks come along.
    CommentCarryOver* comments = nullptr;

    // The result's id for the comment the original's `marker` names, or "" when it stays behind.
    std::string carriedComment(const pugi::xml_node& marker) const {
        const std::string id = CommentCarryOver::CommentOf(marker);
        return comments && !id.empty() ? comments->carriedComment(id) : std::string();
    }

    // Tells what is nested in kept and inserted content (notes, text boxes), when asked to.
    void kept(const pugi::xml_node& a, const pugi::xml_node& b) {
        if (nested) nested->kept(a, b);
    }
    void inserted(const pugi::xml_node& b) {
        if (nested) nested->inserted(b);
    }

    // Records `change`, whose marks were written since the stamp stood at `since`.
    void record(Change change, int since) {
        if (stamp.peek() > since) change.mark = since;
        changes.push_back(std::move(change));
    }
};

// One story compared, as every story is: its blocks aligned, its end settled, the result's
// story written in place of the revised one, its moves recorded, and its last paragraph mark
// made to stand. Moves are looked for when `moves` is set.
void CompareStory(const Story& original, const Story& revised, WriteContext& context, Part part,
                  bool moves);

// Rewrites `revised`'s container so that it shows the steps from `original`; answers the blocks
// written, in order.
std::vector<pugi::xml_node> WriteStory(const std::vector<Step>& steps, const Story& original,
                                       const Story& revised, WriteContext& context, Part part);

// Keeps the story's last paragraph mark where neither accepting nor rejecting takes it away:
// its mark goes to the block `settle` names (of `written`), when one was settled on.
void KeepTheLastMark(const std::vector<pugi::xml_node>& written, int settle, const Story& original,
                     const Story& revised, Stamp& stamp);

// Compares two tables row by row and cell by cell, or as the paragraphs they hold when tables
// are left alone.
void WriteTable(const Block& original, const Block& revised, WriteContext& context, Part part);

// Compares two tables as the paragraphs they hold, leaving the revised table's structure as it
// is, unmarked.
void WriteTableAsParagraphs(const Block& original, const Block& revised, WriteContext& context,
                            Part part);

// What merging two paragraphs writes, worked out before anything is written: their units and
// how the units differ. It touches neither document, and keys words in a table that need only be
// the same for the two paragraphs, so it may be made on another thread.
struct MergePlan {
    const Paragraph *a = nullptr, *b = nullptr;
    Units unitsA{}, unitsB{};
    Script script{};
    bool whole = false;
};

// `whole`: the two are unlike, and shown as all of one deleted and all of the other inserted.
MergePlan PlanMerge(const Paragraph* a, const Paragraph* b, KeyTable& words, bool whole);

// Writes, just before the revised paragraph, the paragraph that shows how the plan's `a` became
// its `b`; answers it. The revised paragraph itself is left for the caller to remove.
pugi::xml_node MergeParagraphs(const MergePlan& plan, WriteContext& context, Part part,
                               std::uint32_t aNumber, std::uint32_t bNumber);

}  // namespace redline
