#include "redline/combine/Combiner.h"
#include "redline/io/Names.h"
#include "redline/read/MarkedReading.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>
#include <thread>

#include "redline/combine/MarkIds.h"
#include "redline/io/PagePool.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/read/ShownText.h"
#include "redline/read/Story.h"
#include "redline/write/ParagraphIds.h"

namespace redline {

namespace {

// A table's grid change names nobody: where no change of the table's own properties names its
// reviewer, one that keeps them as they are does, so that each reviewer's changes can be
// accepted apart. Ids from `lastId` down.
void NameGridChanges(pugi::xml_node root, const std::string& reviewer, const std::string& date,
                     int lastId) {
    std::vector<pugi::xml_node> grids;
    root.find_node([&](const pugi::xml_node& node) {
        if (Named(node, w::tblGridChange)) grids.push_back(node);
        return false;
    });
    for (const pugi::xml_node& grid : grids) {
        pugi::xml_node properties = PropertiesOf(grid.parent().parent(), w::tblPr);
        if (properties.child(w::tblPrChange)) continue;
        pugi::xml_node change = properties.append_child(w::tblPrChange);
        change.append_attribute("w:id") = lastId--;
        change.append_attribute("w:author") = reviewer.c_str();
        change.append_attribute("w:date") = date.c_str();
        pugi::xml_node kept = change.append_child(w::tblPr);
        for (pugi::xml_node property : properties.children()) {
            if (property != change) kept.append_copy(property);
        }
    }
}

}  // namespace

Combiner::Combiner(std::string original, std::vector<std::string> copies,
                   std::vector<std::string> reviewers, Rules rules)
    : original_(std::move(original)),
      copies_(std::move(copies)),
      reviewers_(std::move(reviewers)),
      rules_(std::move(rules)) {}

Combiner::~Combiner() = default;

std::vector<Change> Combiner::run(const std::string& result, MarkedDocument* marked) {
    reviewed_.clear();
    for (const std::string& reviewer : reviewers_) {
        reviewed_.push_back(std::make_unique<Reviewed>());
        reviewed_.back()->name = reviewer;
    }
    SharePages();
    struct Released {
        ~Released() { ReleasePages(); }
    } released;
    // Every copy against the original, side by side on the cores there are, each result kept in
    // memory and indexed while the other cores still compare. One set of prefixes for all:
    // content carried from one result into another keeps its meaning.
    const auto names = std::make_shared<Namespaces>();
    std::vector<std::exception_ptr> failures(copies_.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t k; (k = next++) < copies_.size();) {
            Rules rules = rules_;
            rules.author = reviewers_[k];
            try {
                auto& comparer = reviewed_[k]->comparer;
                comparer = std::make_unique<Comparer>(original_, copies_[k], rules, names);
                reviewed_[k]->changes = comparer->runInMemory();
                load(*reviewed_[k], k);
            } catch (...) {
                failures[k] = std::current_exception();
            }
        }
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < std::min(cores, copies_.size()); ++t) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    for (const std::exception_ptr& failure : failures) {
        if (failure) std::rethrow_exception(failure);
    }
    plan();
    makePieces();
    sectionVersions();
    lay();
    settleStories();
    std::vector<Change> changes = changeList();
    Reviewed& base = *reviewed_[0];
    if (marked) *marked = readMarked(base);
    DeclareNamespaces(base.side().main.xml, base.side().package.namespaces());
    SavePart(base.side().main, base.side().package);
    base.stories->save();
    for (auto& [name, part] : sectionParts_) {
        DeclareNamespaces(part->xml, base.side().package.namespaces());
        SavePart(*part, base.side().package);
    }
    base.side().package.write(result);
    return changes;
}

MarkedDocument Combiner::readMarked(Reviewed& base) {
    std::map<std::string, const PackagePart*> held;
    for (const PackagePart* part : base.stories->parts()) held[part->name] = part;
    for (const auto& [name, part] : sectionParts_) held[name] = part.get();
    PartsInPackage inPackage(base.side());
    return ReadMarkedDocument(base.side(), [&](const std::string& name) -> const PackagePart* {
        const auto found = held.find(name);
        return found != held.end() ? found->second : inPackage(name);
    });
}

void Combiner::load(Reviewed& reviewed, std::size_t index) {
    reviewed.stories = std::make_unique<StoryParts>(reviewed.side());
    const int offset = static_cast<int>(index) * kMarksEach;
    const std::string suffix = "-" + std::to_string(index + 1);
    pugi::xml_node root = reviewed.side().main.xml.document_element();
    if (offset) OffsetMarks(root, offset, suffix);
    for (Change& change : reviewed.changes) {
        if (change.mark) change.mark += offset;
        change.reviewers = {reviewed.name};
    }
    for (const char* kind : {"footnote", "endnote", "comment"}) {
        if (PackagePart* part = reviewed.stories->part(kind); part && offset) {
            OffsetMarks(part->xml.document_element(), offset, suffix);
        }
    }
    // Headers and footers come along as parts: their marks are numbered in their bytes.
    for (const auto& [id, name] : HeadersAndFooters(reviewed.side())) {
        PackagePart part;
        if (!LoadPart(reviewed.side().package, name, part)) continue;
        if (HoldsRevisions(part.xml)) reviewed.changedParts.insert(id);
        if (!offset) continue;
        OffsetMarks(part.xml.document_element(), offset, suffix);
        reviewed.side().package.put(name, SerializePart(part.xml));
    }
    NameGridChanges(root, reviewed.name, rules_.date, offset + kMarksEach - 1);
    KeyTable keys;
    NoObjectKeys objects;
    reviewed.body = std::make_unique<Story>(
        StoryReader(keys, objects).withoutHashes().read(root.child(w::body)));
    reviewed.cut = CutIntoUnits(*reviewed.body);
    indexUnits(reviewed);
}

void Combiner::indexUnits(Reviewed& reviewed) {
    const MarkedUnits& cut = reviewed.cut;
    reviewed.locationOf.clear();
    reviewed.unitChanged.clear();
    for (std::size_t i = 0; i < cut.gaps.size(); ++i) {
        std::set<int> ids;
        for (const pugi::xml_node& node : cut.gaps[i]) CollectMarkIds(node, ids);
        for (int id : ids) reviewed.locationOf[id] = {true, i};
    }
    for (std::size_t i = 0; i < cut.units.size(); ++i) {
        std::set<int> ids;
        for (const pugi::xml_node& node : cut.units[i]) CollectMarkIds(node, ids);
        for (int id : ids) reviewed.locationOf[id] = {false, i};
        reviewed.unitChanged.push_back(changed(reviewed, cut.units[i]));
    }
}

bool Combiner::changed(Reviewed& reviewed, const std::vector<pugi::xml_node>& nodes) {
    // One walk: a mark, or a note, comment, header or footer whose text holds one.
    auto changes = [&](const pugi::xml_node& node) {
        if (IsRevisionMark(node)) return true;
        const char* kind = Named(node, w::commentReference)    ? "comment"
                           : Named(node, w::footnoteReference) ? "footnote"
                           : Named(node, w::endnoteReference)  ? "endnote"
                                                               : nullptr;
        if (kind) return HoldsRevisions(reviewed.stories->story(kind, Attribute(node, "w:id")));
        return NamedOneOf(node, {w::headerReference, w::footerReference}) &&
               reviewed.changedParts.count(Attribute(node, "r:id")) != 0;
    };
    return std::any_of(nodes.begin(), nodes.end(), [&](const pugi::xml_node& node) {
        return changes(node) || node.find_node(changes);
    });
}

void Combiner::makePieces() {
    Reviewed& base = *reviewed_[0];
    pugi::xml_node root = base.side().main.xml.document_element();
    std::map<std::size_t, std::unique_ptr<Stamp>> stamps;
    nextVersionMark_ = static_cast<int>(reviewed_.size()) * kMarksEach + 100000;
    for (std::size_t k = 0; k < reviewed_.size(); ++k) {
        Reviewed& from = *reviewed_[k];
        CarryOverShared shared(from.side(), base.side());
        CarriedStories stories(*from.stories, *base.stories, shared);
        PartCarryOver carry(shared, from.side().main, base.side().main, &stories, &stories);
        for (std::size_t p = 0; p < pieces_.size(); ++p) {
            Piece& piece = pieces_[p];
            if (piece.from != k) continue;
            if (k == 0 && !piece.version) continue;  // stands in the result already
            piece.holder = root.append_child(w::body);
            for (const pugi::xml_node& node : piece.nodes) piece.holder.append_copy(node);
            if (piece.version) {
                AcceptRevisions(piece.holder);
                JoinAlikeRuns(piece.holder);  // one insertion, not one a run
            }
            if (k != 0) {
                for (pugi::xml_node node : piece.holder.children()) carry.carry(node);
            }
            if (!piece.version) continue;
            auto& stamp = stamps[k];
            if (!stamp) stamp = std::make_unique<Stamp>(from.name, rules_.date);
            stamp->numberFrom(nextVersionMark_);
            Change change{ChangeKind::Insertion, Part::Body, ShownText(piece.holder), 0, 0,
                          stamp->peek()};
            for (pugi::xml_node block : piece.holder.children()) {
                if (NamedOneOf(block, {w::p, w::tbl, w::sdt}))
                    MarkBlock(block, Mark::Insert, *stamp);
                if (Named(block, w::tbl)) change.part = Part::Table;
            }
            nextVersionMark_ = stamp->peek();
            change.reviewers = {from.name};
            for (const Change& own : from.changes) {
                const auto at = from.locationOf.find(own.mark);
                if (at != from.locationOf.end() && at->second == Location{false, piece.unit} &&
                    own.revisedParagraph) {
                    change.revisedParagraph = own.revisedParagraph;
                    break;
                }
            }
            versionChangeOf_[p] = versionChanges_.size();
            versionChanges_.push_back(std::move(change));
        }
        if (k == 0) continue;
        if (k == sectionsFrom_ && from.cut.sections) {
            pugi::xml_node own = base.cut.sections;
            pugi::xml_node copy = own ? own.parent().insert_copy_after(from.cut.sections, own)
                                      : root.child(w::body).append_copy(from.cut.sections);
            carry.carry(copy);
            if (own) own.parent().remove_child(own);
            base.cut.sections = copy;
        }
        shared.finish();
    }
    for (auto& [k, stamp] : stamps) stamp->finish();
}

void Combiner::lay() {
    Reviewed& base = *reviewed_[0];
    pugi::xml_node body = base.side().main.xml.document_element().child(w::body);
    const pugi::xml_node sections = base.cut.sections;
    std::map<std::size_t, std::unique_ptr<Stamp>> stamps;
    std::vector<pugi::xml_node> before;
    for (pugi::xml_node child : body.children()) {
        if (child != sections) before.push_back(child);
    }
    std::set<pugi::xml_node> kept;
    auto place = [&](pugi::xml_node node) {
        sections ? body.insert_move_before(node, sections) : body.append_move(node);
    };
    for (Piece& piece : pieces_) {
        if (piece.appended) {
            // The last paragraph laid so far gets a new mark, whose words the added paragraphs'
            // last mark takes when the addition is rejected.
            pugi::xml_node lastLaid = sections ? sections.previous_sibling() : body.last_child();
            while (lastLaid && lastLaid.type() != pugi::node_element) {
                lastLaid = lastLaid.previous_sibling();
            }
            if (Named(lastLaid, w::p)) {
                auto& stamp = stamps[piece.from];
                if (!stamp)
                    stamp = std::make_unique<Stamp>(reviewed_[piece.from]->name, rules_.date);
                stamp->numberFrom(nextVersionMark_);
                MarkParagraphMark(lastLaid, Mark::Insert, *stamp);
                nextVersionMark_ = stamp->peek();
            }
        }
        if (!piece.holder) {
            for (pugi::xml_node node : piece.nodes) {
                place(node);
                kept.insert(node);
            }
            continue;
        }
        while (pugi::xml_node node = piece.holder.first_child()) place(node);
        piece.holder.parent().remove_child(piece.holder);
    }
    for (pugi::xml_node node : before) {
        if (!kept.count(node)) body.remove_child(node);
    }
    for (auto& [k, stamp] : stamps) stamp->finish();
}

}  // namespace redline
