#include "redline/combine/Combiner.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>
#include <thread>

#include "redline/combine/MarkIds.h"
#include "redline/io/PagePool.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/read/BlockText.h"
#include "redline/write/ParagraphIds.h"

namespace redline {

namespace {

// Each reviewer's marks are numbered in a range of their own: the engine's ids start at 100,000
// and one comparison never makes millions of marks.
constexpr int kMarksEach = 1 << 24;

using Location = std::pair<bool, std::size_t>;  // a gap (true) or a unit, by its index
// Where the sections' own changes and their headers' and footers' stand.
const Location kSections{true, SIZE_MAX};

// The headers and footers of a document: their relationships' ids and their parts' names.
std::vector<std::pair<std::string, std::string>> HeadersAndFooters(const DocumentSide& side) {
    std::vector<std::pair<std::string, std::string>> found;
    for (const auto& [id, relationship] : side.main.relationships.all()) {
        const bool story =
            relationship.type.ends_with("/header") || relationship.type.ends_with("/footer");
        if (story && !relationship.external) {
            found.emplace_back(id, side.main.relationships.partOf(relationship));
        }
    }
    return found;
}

// A table's grid change names nobody: where no change of the table's own properties names its
// reviewer, one that keeps them as they are does, so that each reviewer's changes can be
// accepted apart. Ids from `lastId` down.
void NameGridChanges(pugi::xml_node root, const std::string& reviewer, const std::string& date,
                     int lastId) {
    std::vector<pugi::xml_node> grids;
    root.find_node([&](const pugi::xml_node& node) {
        if (Named(node, "w:tblGridChange")) grids.push_back(node);
        return false;
    });
    for (const pugi::xml_node& grid : grids) {
        pugi::xml_node properties = PropertiesOf(grid.parent().parent(), "w:tblPr");
        if (properties.child("w:tblPrChange")) continue;
        pugi::xml_node change = properties.append_child("w:tblPrChange");
        change.append_attribute("w:id") = lastId--;
        change.append_attribute("w:author") = reviewer.c_str();
        change.append_attribute("w:date") = date.c_str();
        pugi::xml_node kept = change.append_child("w:tblPr");
        for (pugi::xml_node property : properties.children()) {
            if (property != change) kept.append_copy(property);
        }
    }
}

}  // namespace

struct Combiner::Reviewed {
    std::string name;
    std::unique_ptr<Comparer> comparer;  // its comparison, whose result it holds
    DocumentSide& side() { return comparer->result(); }
    std::vector<Change> changes;
    MarkedUnits cut;
    std::map<int, Location> locationOf;  // a mark's id -> where it stands
    std::unique_ptr<StoryParts> stories;
    std::set<std::string> changedParts;  // headers and footers holding marks
    std::vector<bool> unitChanged, sectionsChanged;
};

Combiner::Combiner(std::string original, std::vector<ReviewedCopy> copies, CompareOptions options)
    : original_(std::move(original)), copies_(std::move(copies)), options_(std::move(options)) {
    if (copies_.empty()) throw std::invalid_argument("no reviewer's copy to combine");
    if (copies_.size() > kMostReviewers) {
        throw std::invalid_argument("more than " + std::to_string(kMostReviewers) +
                                    " reviewers' copies to combine");
    }
    if (options_.date.empty()) options_.date = RevisionDate();
    const std::vector<std::string> names = ReviewerNames(copies_);
    for (std::size_t k = 0; k < copies_.size(); ++k) copies_[k].reviewer = names[k];
}

Combiner::~Combiner() = default;

std::vector<Change> Combiner::run(const std::string& result) {
    reviewed_.clear();
    for (const ReviewedCopy& copy : copies_) {
        reviewed_.push_back(std::make_unique<Reviewed>());
        reviewed_.back()->name = copy.reviewer;
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
            CompareOptions options = options_;
            options.author = copies_[k].reviewer;
            try {
                auto& comparer = reviewed_[k]->comparer;
                comparer = std::make_unique<Comparer>(original_, copies_[k].path, options, names);
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
    NameGridChanges(root, reviewed.name, options_.date, offset + kMarksEach - 1);
    reviewed.cut = CutIntoUnits(root.child("w:body"));
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
        const char* kind = Named(node, "w:commentReference")    ? "comment"
                           : Named(node, "w:footnoteReference") ? "footnote"
                           : Named(node, "w:endnoteReference")  ? "endnote"
                                                                : nullptr;
        if (kind) return HoldsRevisions(reviewed.stories->story(kind, Attribute(node, "w:id")));
        return NamedOneOf(node, {"w:headerReference", "w:footerReference"}) &&
               reviewed.changedParts.count(Attribute(node, "r:id")) != 0;
    };
    return std::any_of(nodes.begin(), nodes.end(), [&](const pugi::xml_node& node) {
        return changes(node) || node.find_node(changes);
    });
}

void Combiner::plan() {
    // Every result holds the original's blocks; should one be cut otherwise, each body is one
    // unit, which holds whatever the cutting cannot tell apart.
    const std::size_t units = reviewed_[0]->cut.units.size();
    const bool alike = std::all_of(reviewed_.begin(), reviewed_.end(), [&](const auto& reviewed) {
        return reviewed->cut.units.size() == units;
    });
    for (auto& reviewed : reviewed_) {
        MarkedUnits& cut = reviewed->cut;
        if (!alike) {
            std::vector<pugi::xml_node> all;
            for (std::size_t i = 0; i < cut.units.size(); ++i) {
                all.insert(all.end(), cut.gaps[i].begin(), cut.gaps[i].end());
                all.insert(all.end(), cut.units[i].begin(), cut.units[i].end());
            }
            all.insert(all.end(), cut.gaps.back().begin(), cut.gaps.back().end());
            cut.units = {all};
            cut.gaps = {{}, {}};
            indexUnits(*reviewed);
        }
    }
    const std::size_t count = reviewed_[0]->cut.units.size();
    for (std::size_t i = 0; i < count; ++i) {
        planGap(i);
        planUnit(i);
    }
    planGap(count);
    // The first reviewer who changed the page or its headers and footers gives the sections;
    // every other one who changed them otherwise conflicts.
    std::vector<std::string> made;
    for (std::size_t k = 0; k < reviewed_.size(); ++k) {
        const pugi::xml_node sections = reviewed_[k]->cut.sections;
        if (!sections || !changed(*reviewed_[k], {sections})) continue;
        const std::string signature = sectionSignature(k);
        const auto found = std::find(made.begin(), made.end(), signature);
        if (found != made.end()) {
            alike_[kSections].emplace_back(k, sectionChangers_[found - made.begin()]);
            continue;
        }
        if (made.empty()) sectionsFrom_ = k;
        made.push_back(signature);
        sectionChangers_.push_back(k);
    }
}

// The sections' properties with the accepted text of the headers and footers they name.
std::string Combiner::sectionSignature(std::size_t reviewer) {
    Reviewed& from = *reviewed_[reviewer];
    // The properties apart from which parts hold the headers: their text is signed below.
    pugi::xml_document properties;
    pugi::xml_node own = properties.append_copy(from.cut.sections);
    while (pugi::xml_node reference = own.find_child([](const pugi::xml_node& n) {
        return NamedOneOf(n, {"w:headerReference", "w:footerReference"});
    })) {
        own.remove_child(reference);
    }
    std::string made = signature(reviewer, {own});
    for (pugi::xml_node reference : from.cut.sections.children()) {
        const Relationship* relationship =
            from.side().main.relationships.find(Attribute(reference, "r:id"));
        PackagePart part;
        if (!relationship ||
            !LoadPart(from.side().package, from.side().main.relationships.partOf(*relationship),
                      part)) {
            continue;
        }
        std::vector<pugi::xml_node> blocks;
        for (pugi::xml_node block : part.xml.document_element().children()) blocks.push_back(block);
        made += reference.name() + Attribute(reference, "w:type") +
                AcceptedSignature(blocks, {[](const std::string& id) { return id; }, {}});
    }
    return made;
}

void Combiner::planGap(std::size_t gap) {
    std::map<std::string, std::size_t> seen;  // what the reviewers before inserted here, by whom
    for (std::size_t k = 0; k < reviewed_.size(); ++k) {
        const auto& nodes = reviewed_[k]->cut.gaps[gap];
        if (nodes.empty()) continue;
        const std::string made = signature(k, nodes);
        // Inserted alike by a reviewer before: it stands once, the change listed under both.
        if (const auto [at, first] = seen.emplace(made, k); !first) {
            alike_[{true, gap}].emplace_back(k, at->second);
            continue;
        }
        pieces_.push_back({k, nodes, false, gap});
    }
}

void Combiner::planUnit(std::size_t unit) {
    const bool last = unit + 1 == reviewed_[0]->cut.units.size();
    std::vector<std::vector<pugi::xml_node>> own;
    std::vector<Piece> appended;
    std::vector<std::size_t> changers;
    for (std::size_t k = 0; k < reviewed_.size(); ++k) {
        own.push_back(reviewed_[k]->cut.units[unit]);
        if (!reviewed_[k]->unitChanged[unit]) continue;
        // Paragraphs added after the last one change nothing of it: they come after whichever
        // version of it stands.
        if (const std::size_t from = last ? AppendedFrom(own[k]) : 0) {
            const std::vector<pugi::xml_node> tail(own[k].begin() + from, own[k].end());
            const std::string made = signature(k, tail);
            const auto alike = std::find_if(appended.begin(), appended.end(), [&](const Piece& p) {
                return signature(p.from, p.nodes) == made;
            });
            if (alike != appended.end()) {
                alike_[{false, unit}].emplace_back(k, alike->from);
            } else {
                appended.push_back({k, tail, false, unit});
                appended.back().appended = true;
            }
            own[k].resize(from);
            Mark was;
            UnmarkParagraphMark(own[k].back(), was);
            continue;
        }
        changers.push_back(k);
    }
    struct Appended {
        std::vector<Piece>& pieces;
        std::vector<Piece>& appended;
        ~Appended() {
            for (Piece& piece : appended) pieces.push_back(std::move(piece));
        }
    } after{pieces_, appended};
    auto nodesOf = [&](std::size_t k) { return own[k]; };
    if (changers.size() <= 1) {
        const std::size_t from = changers.empty() ? 0 : changers[0];
        pieces_.push_back({from, nodesOf(from), false, unit});
        return;
    }
    // Reviewers who made one change alike: it stands once.
    std::vector<std::size_t> apart{changers[0]};
    std::vector<std::string> signatures{signature(changers[0], nodesOf(changers[0]))};
    for (std::size_t c = 1; c < changers.size(); ++c) {
        const std::string made = signature(changers[c], nodesOf(changers[c]));
        if (const auto found = std::find(signatures.begin(), signatures.end(), made);
            found != signatures.end()) {
            alike_[{false, unit}].emplace_back(changers[c], apart[found - signatures.begin()]);
            continue;
        }
        signatures.push_back(made);
        apart.push_back(changers[c]);
    }
    if (apart.size() == 1) {
        pieces_.push_back({apart[0], nodesOf(apart[0]), false, unit});
        return;
    }
    // Changed apart: a reviewer who took the block away keeps its marks, for no version can
    // show a removal; every other reviewer's version comes in beside them.
    std::size_t chosen = apart[0];
    for (std::size_t k : apart) {
        if (AcceptedEmpty(nodesOf(k))) {
            chosen = k;
            break;
        }
    }
    conflicts_.push_back({unit, chosen});

    std::vector<Piece> versions;
    for (std::size_t k : apart) {
        if (k == chosen) continue;
        if (AcceptedEmpty(nodesOf(k))) {
            alike_[{false, unit}].emplace_back(k, chosen);  // took it away too
            continue;
        }
        versions.push_back({k, nodesOf(k), true, unit});
    }
    // After the chosen changes; before them at the story's end, whose last mark stays.
    if (!last) pieces_.push_back({chosen, nodesOf(chosen), false, unit});
    for (Piece& version : versions) pieces_.push_back(std::move(version));
    if (last) pieces_.push_back({chosen, nodesOf(chosen), false, unit});
}

std::string Combiner::signature(std::size_t reviewer, const std::vector<pugi::xml_node>& nodes) {
    Reviewed& from = *reviewed_[reviewer];
    const DocumentSide& side = from.side();
    SignatureReader reader;
    reader.target = [&](const std::string& id) {
        const Relationship* relationship = side.main.relationships.find(id);
        if (!relationship) return id;
        if (relationship->external) return relationship->target;
        // A part by what it holds: copies may name one picture apart.
        const std::string part = side.main.relationships.partOf(*relationship);
        return side.package.has(part)
                   ? std::to_string(std::hash<std::string>()(side.package.part(part)))
                   : part;
    };
    reader.story = [&](const pugi::xml_node& reference) {
        const std::string kind = Named(reference, "w:commentReference")    ? "comment"
                                 : Named(reference, "w:footnoteReference") ? "footnote"
                                                                           : "endnote";
        const pugi::xml_node story = from.stories->story(kind, Attribute(reference, "w:id"));
        return Attribute(story, "w:author") + ":" + AcceptedSignature({story}, {reader.target, {}});
    };
    return AcceptedSignature(nodes, reader);
}

bool Combiner::AcceptedEmpty(const std::vector<pugi::xml_node>& nodes) {
    pugi::xml_document scratch;
    pugi::xml_node body = scratch.append_child("w:body");
    for (const pugi::xml_node& node : nodes) body.append_copy(node);
    AcceptRevisions(body);
    bool content = false;
    body.find_node([&](const pugi::xml_node& node) {
        content = Named(node, "w:tbl") || Named(node, "w:drawing") || Named(node, "w:pict") ||
                  ((Named(node, "w:t") || Named(node, "m:t")) && *node.text().get());
        return content;
    });
    return !content;
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
            piece.holder = root.append_child("w:body");
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
            if (!stamp) stamp = std::make_unique<Stamp>(from.name, options_.date);
            stamp->numberFrom(nextVersionMark_);
            Change change{ChangeKind::Insertion, Part::Body, ReportText(piece.holder), 0, 0,
                          stamp->peek()};
            for (pugi::xml_node block : piece.holder.children()) {
                if (NamedOneOf(block, {"w:p", "w:tbl", "w:sdt"}))
                    MarkBlock(block, Mark::Insert, *stamp);
                if (Named(block, "w:tbl")) change.part = Part::Table;
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
                                      : root.child("w:body").append_copy(from.cut.sections);
            carry.carry(copy);
            if (own) own.parent().remove_child(own);
            base.cut.sections = copy;
        }
        shared.finish();
    }
    for (auto& [k, stamp] : stamps) stamp->finish();
}

void Combiner::sectionVersions() {
    Reviewed& base = *reviewed_[0];
    if (!base.cut.sections) return;
    for (std::size_t k : sectionChangers_) {
        if (k == sectionsFrom_) continue;
        Reviewed& from = *reviewed_[k];
        CarryOverShared shared(from.side(), base.side());
        Stamp stamp(from.name, options_.date);
        stamp.numberFrom(nextVersionMark_);
        for (pugi::xml_node reference : from.cut.sections.children()) {
            const std::string id = Attribute(reference, "r:id");
            if (!from.changedParts.count(id)) continue;
            const pugi::xml_node own = base.cut.sections.find_child([&](const pugi::xml_node& n) {
                return Named(n, reference.name()) &&
                       Attribute(n, "w:type") == Attribute(reference, "w:type");
            });
            const Relationship* theirs = from.side().main.relationships.find(id);
            const Relationship* ours = base.side().main.relationships.find(Attribute(own, "r:id"));
            if (!own || !theirs || !ours) continue;
            PackagePart part;
            if (!LoadPart(from.side().package, from.side().main.relationships.partOf(*theirs),
                          part)) {
                continue;
            }
            auto& into = sectionParts_[base.side().main.relationships.partOf(*ours)];
            if (!into) {
                into = std::make_unique<PackagePart>();
                if (!LoadPart(base.side().package, base.side().main.relationships.partOf(*ours),
                              *into)) {
                    continue;
                }
            }
            // Their version of the header or footer, accepted, comes in after the one given.
            pugi::xml_node root = into->xml.document_element();
            pugi::xml_node holder = root.append_child("w:body");
            for (pugi::xml_node block : part.xml.document_element().children()) {
                holder.append_copy(block);
            }
            AcceptRevisions(holder);
            JoinAlikeRuns(holder);
            PartCarryOver carry(shared, part, *into);
            Change change{ChangeKind::Insertion,
                          Named(reference, "w:headerReference") ? Part::Header : Part::Footer,
                          ReportText(holder),
                          0,
                          0,
                          stamp.peek()};
            change.reviewers = {from.name};
            for (pugi::xml_node block : holder.children()) {
                carry.carry(block);
                if (NamedOneOf(block, {"w:p", "w:tbl", "w:sdt"}))
                    MarkBlock(block, Mark::Insert, stamp);
            }
            while (pugi::xml_node block = holder.first_child())
                root.insert_move_before(block, holder);
            root.remove_child(holder);
            sectionVersionChanges_.push_back(std::move(change));
        }
        nextVersionMark_ = stamp.peek();
        stamp.finish();
        shared.finish();
    }
}

void Combiner::lay() {
    Reviewed& base = *reviewed_[0];
    pugi::xml_node body = base.side().main.xml.document_element().child("w:body");
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
            if (Named(lastLaid, "w:p")) {
                auto& stamp = stamps[piece.from];
                if (!stamp)
                    stamp = std::make_unique<Stamp>(reviewed_[piece.from]->name, options_.date);
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

void Combiner::settleStories() {
    Reviewed& base = *reviewed_[0];
    pugi::xml_node root = base.side().main.xml.document_element();
    std::vector<pugi::xml_node> roots{root};
    for (PackagePart* part : base.stories->parts()) roots.push_back(part->xml.document_element());
    SettleUnpairedMoves(roots);
    // The base's notes and comments that only the units it gave way held go with them, and so
    // do the range marks of a comment whose reference a version left out.
    for (auto [kind, reference] :
         {std::pair{"footnote", "w:footnoteReference"}, std::pair{"endnote", "w:endnoteReference"},
          std::pair{"comment", "w:commentReference"}}) {
        std::set<std::string> referenced;
        for (const pugi::xml_node& story : roots) {
            for (const std::string& id : ReferencedIds(story, reference)) referenced.insert(id);
        }
        if (std::string_view(kind) == "comment") {
            for (const pugi::xml_node& story : roots) {
                std::vector<pugi::xml_node> unreferenced;
                story.find_node([&](const pugi::xml_node& node) {
                    if (NamedOneOf(node, {"w:commentRangeStart", "w:commentRangeEnd"}) &&
                        !referenced.count(Attribute(node, "w:id"))) {
                        unreferenced.push_back(node);
                    }
                    return false;
                });
                for (pugi::xml_node mark : unreferenced) mark.parent().remove_child(mark);
            }
        }
        PackagePart* part = base.stories->part(kind);
        if (!part) continue;
        pugi::xml_node holder = part->xml.document_element();
        for (pugi::xml_node story = holder.first_child(); story;) {
            const pugi::xml_node next = story.next_sibling();
            if (story.type() == pugi::node_element && !story.attribute("w:type") &&
                !referenced.count(Attribute(story, "w:id"))) {
                holder.remove_child(story);
            }
            story = next;
        }
    }
    if (PackagePart* threads = base.stories->part("commentEx")) {
        std::set<std::string> paragraphs;
        if (PackagePart* comments = base.stories->part("comment")) {
            comments->xml.find_node([&](const pugi::xml_node& node) {
                if (Named(node, "w:p")) paragraphs.insert(Attribute(node, "w14:paraId"));
                return false;
            });
        }
        pugi::xml_node holder = threads->xml.document_element();
        for (pugi::xml_node entry = holder.first_child(); entry;) {
            const pugi::xml_node next = entry.next_sibling();
            if (!paragraphs.count(Attribute(entry, "w15:paraId"))) {
                holder.remove_child(entry);
            } else if (pugi::xml_attribute parent = entry.attribute("w15:paraIdParent");
                       parent && !paragraphs.count(parent.value())) {
                entry.remove_attribute(parent);
            }
            entry = next;
        }
    }
    if (base.side().package.namespaces().declared().count("w14")) {
        // Comments first: their threads name their paragraphs.
        std::vector<pugi::xml_node> stories;
        if (PackagePart* comments = base.stories->part("comment")) {
            stories.push_back(comments->xml.document_element());
        }
        for (const pugi::xml_node& story : roots) {
            if (std::find(stories.begin(), stories.end(), story) == stories.end()) {
                stories.push_back(story);
            }
        }
        MakeParagraphIdsUnique(stories);
    }
}

std::set<int> Combiner::presentMarks() {
    Reviewed& base = *reviewed_[0];
    std::set<int> present;
    CollectMarkIds(base.side().main.xml.document_element(), present);
    for (PackagePart* part : base.stories->parts()) {
        CollectMarkIds(part->xml.document_element(), present);
    }
    for (const auto& [id, name] : HeadersAndFooters(base.side())) {
        if (const auto given = sectionParts_.find(name); given != sectionParts_.end()) {
            CollectMarkIds(given->second->xml, present);
            continue;
        }
        PackagePart part;
        if (LoadPart(base.side().package, name, part)) CollectMarkIds(part.xml, present);
    }
    return present;
}

std::vector<Change> Combiner::changeList() {
    struct Listed {
        Change change;
        std::size_t reviewer;
        std::optional<Location> at;
        bool version = false;  // a conflicting reviewer's version inserted whole
    };
    const std::set<int> present = presentMarks();
    std::vector<Listed> listed, dropped;
    for (std::size_t k = 0; k < reviewed_.size(); ++k) {
        for (const Change& change : reviewed_[k]->changes) {
            const auto& locations = reviewed_[k]->locationOf;
            const auto found = locations.find(change.mark);
            std::optional<Location> at;
            if (found != locations.end()) {
                at = found->second;
            } else if (change.part == Part::Section || change.part == Part::Header ||
                       change.part == Part::Footer) {
                at = kSections;
            }
            (change.mark == 0 || present.count(change.mark) ? listed : dropped)
                .push_back({change, k, at});
        }
    }
    for (const auto& [piece, index] : versionChangeOf_) {
        listed.push_back({versionChanges_[index], pieces_[piece].from,
                          Location{false, pieces_[piece].unit}, true});
    }
    for (const Change& change : sectionVersionChanges_) {
        const auto owner = std::find_if(reviewed_.begin(), reviewed_.end(), [&](const auto& r) {
            return r->name == change.reviewers[0];
        });
        listed.push_back(
            {change, static_cast<std::size_t>(owner - reviewed_.begin()), kSections, true});
    }
    auto alikeAt =
        [&](const Listed& change) -> const std::vector<std::pair<std::size_t, std::size_t>>& {
        static const std::vector<std::pair<std::size_t, std::size_t>> none;
        const auto found = change.at ? alike_.find(*change.at) : alike_.end();
        return found == alike_.end() ? none : found->second;
    };
    auto named = [](const Listed& change, const std::string& name) {
        const auto& names = change.change.reviewers;
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    // A change another reviewer made alike is listed once, under both names.
    auto mergeInto = [&](const Listed& change, std::vector<Listed>& into) {
        const std::string& name = change.change.reviewers[0];
        for (Listed& other : into) {
            const Change &a = other.change, &b = change.change;
            const bool same = a.kind == b.kind && a.part == b.part && a.text == b.text &&
                              a.author == b.author && other.at == change.at;
            if (same && other.reviewer != change.reviewer && !named(other, name)) {
                other.change.reviewers.push_back(name);
                return true;
            }
        }
        return false;
    };
    std::vector<Listed> kept;
    for (Listed& change : listed) {
        if (change.change.mark == 0 && mergeInto(change, kept)) continue;
        // Where reviewers changed a block alike, one's changes stand for all of theirs.
        for (const auto& [reviewer, standsFor] : alikeAt(change)) {
            const std::string& name = reviewed_[reviewer]->name;
            if (!change.version && standsFor == change.reviewer && !named(change, name)) {
                change.change.reviewers.push_back(name);
            }
        }
        kept.push_back(change);
    }
    for (Listed& change : dropped) {
        const auto& alike = alikeAt(change);
        if (std::any_of(alike.begin(), alike.end(),
                        [&](const auto& pair) { return pair.first == change.reviewer; }) ||
            mergeInto(change, kept)) {
            continue;
        }
        // A section has one page: another reviewer's change of it is listed, in conflict.
        if (change.change.part == Part::Section) {
            change.change.mark = 0;
            kept.push_back(change);
        }
    }
    // In reading order: the body's changes by where they stand, then every other part's.
    std::stable_sort(kept.begin(), kept.end(), [](const Listed& a, const Listed& b) {
        auto order = [](const Listed& c) {
            if (!c.at || *c.at == kSections) return std::pair<std::size_t, int>(SIZE_MAX, 0);
            return std::pair<std::size_t, int>(c.at->second * 2 + (c.at->first ? 0 : 1),
                                               c.version ? 1 : 0);
        };
        return order(a) < order(b);
    });
    std::vector<Location> conflicting;
    for (const Conflict& conflict : conflicts_) conflicting.push_back({false, conflict.unit});
    if (sectionChangers_.size() > 1) conflicting.push_back(kSections);
    for (const Location& at : conflicting) {
        std::vector<std::size_t> members;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (kept[i].at == at) members.push_back(i);
        }
        for (std::size_t i : members) {
            for (std::size_t j : members) {
                if (kept[i].reviewer != kept[j].reviewer) {
                    kept[i].change.conflictsWith.push_back(static_cast<int>(j + 1));
                }
            }
        }
    }
    std::vector<Change> changes;
    for (Listed& change : kept) changes.push_back(std::move(change.change));
    return changes;
}

}  // namespace redline
