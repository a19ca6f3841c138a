// One comparison, part by part: the body; the headers and footers of each section, matched by
// section and kind; the notes, matched by where their references stand in the aligned text; and
// the text boxes, matched by their anchors. Each story is compared inside the result's own part.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "redline/Changes.h"
#include "redline/MarkedResult.h"
#include "redline/read/Document.h"
#include "redline/read/Model.h"
#include "redline/write/CarryOver.h"
#include "redline/write/Marks.h"
#include "redline/write/Rules.h"

namespace redline {

class Comments;
class Notes;

// Original content that refers to notes brings them along, through the notes of their kind.
class Comparer : private NoteCarryOver {
  public:
    // `names`: the prefixes to read both sides with, when comparisons share theirs.
    Comparer(const std::string& original, const std::string& revised, const Rules& rules,
             std::shared_ptr<Namespaces> names = nullptr);
    ~Comparer();

    // Compares and writes the result as a .docx file at `result`; with `marked`, reads the
    // result for reports as it stands in memory.
    std::vector<Change> run(const std::string& result, MarkedDocument* marked = nullptr);
    // Compares, keeping the result in memory: its main part's tree as it is, every other part
    // it changed as plain XML in its package, to be read again.
    std::vector<Change> runInMemory();

    // Compares the story in `containerA` (of the original's part `a`) with the one in
    // `containerB` (of the result's part `b`), rewriting the latter, and then the text boxes the
    // two have in common. `record`: whether its changes are reported.
    void compareStories(const PackagePart& a, PackagePart& b, const pugi::xml_node& containerA,
                        const pugi::xml_node& containerB, Part part, bool moves,
                        bool record = true);
    // The same for two stories read already.
    void compareStories(const PackagePart& a, PackagePart& b, const Story& storyA,
                        const Story& storyB, Part part, bool moves, bool record = true);
    // Reads the stories in two containers into the model, a long pair on two cores at once.
    std::pair<Story, Story> readStories(const PackagePart& a, const PackagePart& b,
                                        const pugi::xml_node& containerA,
                                        const pugi::xml_node& containerB);
    // Marks every block of a story of the result inserted or deleted; reports it as one change.
    void markStory(const pugi::xml_node& container, Mark mark, Part part);

    // The part `name` of each side, read once.
    PackagePart* originalPart(const std::string& name);
    PackagePart* resultPart(const std::string& name);
    // A new part of the result, with a relationship of `type` from the main part.
    PackagePart* addResultPart(const std::string& name, const std::string& type,
                               const std::string& contentType, const std::string& rootXml);

    DocumentSide& original() { return a_; }
    DocumentSide& result() { return b_; }
    CarryOverShared& shared() { return shared_; }
    Stamp& stamp() { return stamp_; }
    const Rules& rules() const { return rules_; }
    // What tracked changes the inputs held, and how they were treated.
    TrackedInputs trackedInputs() const;
    std::vector<Change>& changes() { return changes_; }

  private:
    std::vector<Change> compare();
    std::string carryNote(const std::string& kind, const std::string& id) override;
    void headersAndFooters();
    // The headers and footers of the original's sections that deleted paragraphs brought along.
    void carrySectionsParts();
    // The result's header or footer `element` of `kind` in `sectionB` against the original's in
    // the first of `candidates` that has one; `done` names the result's parts compared already.
    void headerOrFooter(const std::vector<pugi::xml_node>& candidates, pugi::xml_node sectionB,
                        const char* element, const char* kind, std::vector<std::string>& done);
    // Each section's properties of the result against the original's section of its place.
    void sectionProperties();
    // The sections of the original and of the result paired by place, leaving out those whose
    // breaks a deleted paragraph brought along: they stand in the result as they were.
    std::vector<std::pair<pugi::xml_node, pugi::xml_node>> pairedSections() const;
    void accept(DocumentSide& side, PackagePart& part, const std::string& name);
    // Lays the revised document's own tracked changes over the result, each under its author.
    void keepRevisions();
    PackagePart* part(DocumentSide& side,
                      std::map<std::string, std::unique_ptr<PackagePart>>& parts,
                      const std::string& name);

    DocumentSide a_, b_;
    Rules rules_;
    KeyTable keys_;
    Stamp stamp_;
    std::vector<Change> changes_;
    CarryOverShared shared_;
    int nextMove_ = 0;
    std::vector<pugi::xml_node> carriedSections_;  // of the original, in the result too
    std::map<std::string, std::unique_ptr<PackagePart>> partsA_, partsB_;
    std::unique_ptr<Notes> footnotes_, endnotes_;
    std::unique_ptr<Comments> comments_;
    bool carriesComments_ = false;  // the original has comments the revised document lacks
    std::map<std::string, pugi::xml_document> asRead_;  // revised parts holding changes, by name
    std::map<std::string, int> heldA_, heldB_;          // each input's tracked changes, by author
    int notKept_ = 0;
    int highestB_ = 0;  // the highest id of a tracked change in the revised document
};

}  // namespace redline
