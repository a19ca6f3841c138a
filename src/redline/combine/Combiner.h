// Reviewers' copies combined: each copy compared with the original on its own (on every core),
// each result cut into the original's blocks, and the results laid onto the first one unit by
// unit: a block nobody changed as it was, one that one reviewer changed as that reviewer's
// result has it, one that several changed alike once, and one they changed apart as the first
// one's changes with every other reviewer's version inserted beside them, said to conflict.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "redline/MarkedResult.h"
#include "redline/combine/StoryParts.h"
#include "redline/combine/Units.h"
#include "redline/parts/Comparer.h"
#include "redline/read/Document.h"
#include "redline/write/Marks.h"
#include "redline/write/Rules.h"

namespace redline {

class Combiner {
  public:
    // Each copy's changes go under its reviewer's name, `reviewers` one a copy.
    Combiner(std::string original, std::vector<std::string> copies,
             std::vector<std::string> reviewers, Rules rules);
    ~Combiner();
    std::vector<Change> run(const std::string& result, MarkedDocument* marked = nullptr);

    using Location = std::pair<bool, std::size_t>;  // a gap (true) or a unit, by its index
    // A change of the list being made: whose, and where it stands.
    struct Listed {
        Change change;
        std::size_t reviewer;
        std::optional<Location> at;
        bool version = false;  // a conflicting reviewer's version inserted whole
    };

  private:
    // Where the sections' own changes and their headers' and footers' stand.
    static constexpr Location kSections{true, SIZE_MAX};
    // Each reviewer's marks are numbered in a range of their own: the engine's ids start at
    // 100,000 and one comparison never makes millions of marks.
    static constexpr int kMarksEach = 1 << 24;
    // A reviewer's comparison with the original, its result in memory, cut and indexed.
    struct Reviewed {
        std::string name;
        std::unique_ptr<Comparer> comparer;  // its comparison, whose result it holds
        DocumentSide& side() { return comparer->result(); }
        std::vector<Change> changes;
        std::unique_ptr<Story> body;  // its result's body, as the model reads it, with its marks
        MarkedUnits cut;
        std::map<int, Location> locationOf;  // a mark's id -> where it stands
        std::unique_ptr<StoryParts> stories;
        std::set<std::string> changedParts;  // headers and footers holding marks
        std::vector<bool> unitChanged;
    };

    // A piece of the combined body: reviewer `from`'s nodes, as they are or (`version`) their
    // accepted text inserted whole under that reviewer's name.
    struct Piece {
        std::size_t from;
        std::vector<pugi::xml_node> nodes;
        bool version = false;
        std::size_t unit = 0;     // the unit or gap it stands in
        pugi::xml_node holder{};  // its content in the result, once made there
        bool appended = false;    // paragraphs added after the story's last one
    };

    // Takes in a reviewer's result: its marks numbered apart, its units cut and indexed.
    void load(Reviewed& reviewed, std::size_t index);
    // Indexes a reviewer's units: which marks stand where, which units hold changes.
    void indexUnits(Reviewed& reviewed);
    bool changed(Reviewed& reviewed, const std::vector<pugi::xml_node>& nodes);
    void plan();
    void planUnit(std::size_t unit);
    using Nodes = std::vector<std::vector<pugi::xml_node>>;  // each reviewer's of one unit
    // Sets the paragraphs reviewer `k` added after the story's last one apart from `own`, the
    // last unit's nodes, once among `appended`; answers whether there were any.
    bool setAppendedApart(std::size_t unit, std::size_t k, std::vector<pugi::xml_node>& own,
                          std::vector<Piece>& appended);
    // The reviewers who changed the unit apart; the others made a change one of them made.
    std::vector<std::size_t> changedApart(std::size_t unit,
                                          const std::vector<std::size_t>& changers,
                                          const Nodes& own);
    void planConflict(std::size_t unit, bool last, const std::vector<std::size_t>& apart,
                      const Nodes& own);
    void planGap(std::size_t gap);
    // What accepting the reviewer's nodes gives, to find changes made alike.
    std::string signature(std::size_t reviewer, const std::vector<pugi::xml_node>& nodes);
    // Whether accepting the reviewer's nodes' changes leaves nothing a reader sees.
    bool acceptedEmpty(std::size_t reviewer, const std::vector<pugi::xml_node>& nodes);
    void makePieces();
    std::string sectionSignature(std::size_t reviewer);
    // The headers and footers of reviewers who changed them apart from the one whose sections
    // the result takes, inserted beside that one's.
    void sectionVersions();
    // Reviewer `from`'s version of the header or footer that `reference` names, inserted into the
    // base's of its kind.
    void sectionVersion(Reviewed& from, const pugi::xml_node& reference, CarryOverShared& shared,
                        Stamp& stamp);
    // The base's header or footer of the kind `reference` names, read once.
    PackagePart* baseSectionPart(const pugi::xml_node& reference);
    void lay();
    void settleStories();
    // Notes, comments and comments' range marks that nothing refers to any more, taken away.
    void dropUnreferenced(const std::vector<pugi::xml_node>& roots);
    // Comments' thread entries whose comment went, taken away; a reply's lost parent forgotten.
    void pruneThreads();
    // The ids of the tracked changes the combined result holds.
    std::set<int> presentMarks();
    std::vector<Change> changeList();
    // The steps of the change list: every reviewer's changes, those the result shows and those
    // it does not; those kept, alike ones once under every name; conflicting ones named.
    void gatherChanges(std::vector<Listed>& listed, std::vector<Listed>& dropped);
    std::vector<Listed> keepChanges(std::vector<Listed>& listed,
                                    std::vector<Listed>& dropped) const;
    void nameConflicts(std::vector<Listed>& kept) const;
    // Who made the change's block alike, and whose change stands for theirs.
    const std::vector<std::pair<std::size_t, std::size_t>>& alikeAt(const Listed& change) const;
    // The combined result as reports read it, as it stands in memory.
    MarkedDocument readMarked(Reviewed& base);

    std::string original_;
    std::vector<std::string> copies_, reviewers_;
    Rules rules_;
    std::vector<std::unique_ptr<Reviewed>> reviewed_;
    std::vector<Piece> pieces_;
    std::vector<std::size_t> conflictingUnits_;  // units that reviewers changed apart
    std::size_t sectionsFrom_ = 0;  // the reviewer whose section properties the result takes
    std::vector<std::size_t> sectionChangers_;  // the reviewers who changed them apart
    std::vector<Change> sectionVersionChanges_;
    std::map<std::string, std::unique_ptr<PackagePart>> sectionParts_;  // headers given versions
    int nextVersionMark_ = 0;
    // Where reviewers changed alike: each one whose piece stands for theirs, by place.
    std::map<std::pair<bool, std::size_t>, std::vector<std::pair<std::size_t, std::size_t>>> alike_;
    std::vector<Change> versionChanges_;                  // one for each conflicting version
    std::map<std::size_t, std::size_t> versionChangeOf_;  // by piece
};

}  // namespace redline
