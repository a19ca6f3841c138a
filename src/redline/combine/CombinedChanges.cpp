// The change list of a combined result: every reviewer's changes that it shows, those made
// alike listed once under every name, conflicting ones naming each other.
#include <algorithm>
#include <optional>

#include "redline/combine/Combiner.h"
#include "redline/combine/MarkIds.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/read/BlockText.h"
#include "redline/write/ParagraphIds.h"

namespace redline {

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

namespace {

bool NamesReviewer(const Combiner::Listed& change, const std::string& name) {
    const auto& names = change.change.reviewers;
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A change another reviewer made alike is listed once, under both names: answers whether it was.
bool MergeInto(const Combiner::Listed& change, std::vector<Combiner::Listed>& into) {
    const std::string& name = change.change.reviewers[0];
    for (Combiner::Listed& other : into) {
        const Change &a = other.change, &b = change.change;
        const bool same = a.kind == b.kind && a.part == b.part && a.text == b.text &&
                          a.author == b.author && other.at == change.at;
        if (same && other.reviewer != change.reviewer && !NamesReviewer(other, name)) {
            other.change.reviewers.push_back(name);
            return true;
        }
    }
    return false;
}

// In reading order: the body's changes by where they stand, then every other part's.
void SortInReadingOrder(std::vector<Combiner::Listed>& changes,
                        const std::pair<bool, std::size_t>& sections) {
    std::stable_sort(changes.begin(), changes.end(), [&](const auto& a, const auto& b) {
        auto order = [&](const Combiner::Listed& c) {
            if (!c.at || *c.at == sections) return std::pair<std::size_t, int>(SIZE_MAX, 0);
            return std::pair<std::size_t, int>(c.at->second * 2 + (c.at->first ? 0 : 1),
                                               c.version ? 1 : 0);
        };
        return order(a) < order(b);
    });
}

}  // namespace

void Combiner::gatherChanges(std::vector<Listed>& listed, std::vector<Listed>& dropped) {
    const std::set<int> present = presentMarks();
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
}

const std::vector<std::pair<std::size_t, std::size_t>>& Combiner::alikeAt(
    const Listed& change) const {
    static const std::vector<std::pair<std::size_t, std::size_t>> none;
    const auto found = change.at ? alike_.find(*change.at) : alike_.end();
    return found == alike_.end() ? none : found->second;
}

std::vector<Combiner::Listed> Combiner::keepChanges(std::vector<Listed>& listed,
                                                    std::vector<Listed>& dropped) const {
    std::vector<Listed> kept;
    for (Listed& change : listed) {
        if (change.change.mark == 0 && MergeInto(change, kept)) continue;
        // Where reviewers changed a block alike, one's changes stand for all of theirs.
        for (const auto& [reviewer, standsFor] : alikeAt(change)) {
            const std::string& name = reviewed_[reviewer]->name;
            if (!change.version && standsFor == change.reviewer && !NamesReviewer(change, name)) {
                change.change.reviewers.push_back(name);
            }
        }
        kept.push_back(change);
    }
    for (Listed& change : dropped) {
        const auto& alike = alikeAt(change);
        if (std::any_of(alike.begin(), alike.end(),
                        [&](const auto& pair) { return pair.first == change.reviewer; }) ||
            MergeInto(change, kept)) {
            continue;
        }
        // A section has one page: another reviewer's change of it is listed, in conflict.
        if (change.change.part == Part::Section) {
            change.change.mark = 0;
            kept.push_back(change);
        }
    }
    return kept;
}

void Combiner::nameConflicts(std::vector<Listed>& kept) const {
    std::vector<Location> conflicting;
    for (std::size_t unit : conflictingUnits_) conflicting.push_back({false, unit});
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
}

std::vector<Change> Combiner::changeList() {
    std::vector<Listed> listed, dropped;
    gatherChanges(listed, dropped);
    std::vector<Listed> kept = keepChanges(listed, dropped);
    SortInReadingOrder(kept, kSections);
    nameConflicts(kept);
    std::vector<Change> changes;
    for (Listed& change : kept) changes.push_back(std::move(change.change));
    return changes;
}

}  // namespace redline
