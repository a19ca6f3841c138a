// Which reviewer's version of each block and gap the combined result takes: unchanged, changed
// by one, changed alike, or changed apart (a conflict).
#include <algorithm>

#include "redline/combine/Combiner.h"
#include "redline/io/Names.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/read/BlockText.h"
#include "redline/read/ContentKeys.h"
#include "redline/read/Story.h"

namespace redline {

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
    Nodes own;
    std::vector<Piece> appended;
    std::vector<std::size_t> changers;
    for (std::size_t k = 0; k < reviewed_.size(); ++k) {
        own.push_back(reviewed_[k]->cut.units[unit]);
        if (!reviewed_[k]->unitChanged[unit]) continue;
        if (!(last && setAppendedApart(unit, k, own[k], appended))) changers.push_back(k);
    }
    // Paragraphs added at the story's end come after whichever version of it stands.
    struct Appended {
        std::vector<Piece>& pieces;
        std::vector<Piece>& appended;
        ~Appended() {
            for (Piece& piece : appended) pieces.push_back(std::move(piece));
        }
    } after{pieces_, appended};
    if (changers.size() <= 1) {
        const std::size_t from = changers.empty() ? 0 : changers[0];
        pieces_.push_back({from, own[from], false, unit});
        return;
    }
    const std::vector<std::size_t> apart = changedApart(unit, changers, own);
    if (apart.size() == 1) {
        pieces_.push_back({apart[0], own[apart[0]], false, unit});
        return;
    }
    planConflict(unit, last, apart, own);
}

bool Combiner::setAppendedApart(std::size_t unit, std::size_t k, std::vector<pugi::xml_node>& own,
                                std::vector<Piece>& appended) {
    // Paragraphs added after the last one change nothing of it.
    const std::size_t from = AppendedFrom(own);
    if (!from) return false;
    const std::vector<pugi::xml_node> tail(own.begin() + from, own.end());
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
    own.resize(from);
    Mark was;
    UnmarkParagraphMark(own.back(), was);
    return true;
}

std::vector<std::size_t> Combiner::changedApart(std::size_t unit,
                                                const std::vector<std::size_t>& changers,
                                                const Nodes& own) {
    // Reviewers who made one change alike: it stands once.
    std::vector<std::size_t> apart{changers[0]};
    std::vector<std::string> signatures{signature(changers[0], own[changers[0]])};
    for (std::size_t c = 1; c < changers.size(); ++c) {
        const std::string made = signature(changers[c], own[changers[c]]);
        if (const auto found = std::find(signatures.begin(), signatures.end(), made);
            found != signatures.end()) {
            alike_[{false, unit}].emplace_back(changers[c], apart[found - signatures.begin()]);
            continue;
        }
        signatures.push_back(made);
        apart.push_back(changers[c]);
    }
    return apart;
}

void Combiner::planConflict(std::size_t unit, bool last, const std::vector<std::size_t>& apart,
                            const Nodes& own) {
    // Changed apart: a reviewer who took the block away keeps its marks, for no version can
    // show a removal; every other reviewer's version comes in beside them.
    std::size_t chosen = apart[0];
    for (std::size_t k : apart) {
        if (acceptedEmpty(k, own[k])) {
            chosen = k;
            break;
        }
    }
    conflictingUnits_.push_back(unit);
    std::vector<Piece> versions;
    for (std::size_t k : apart) {
        if (k == chosen) continue;
        if (acceptedEmpty(k, own[k])) {
            alike_[{false, unit}].emplace_back(k, chosen);  // took it away too
            continue;
        }
        versions.push_back({k, own[k], true, unit});
    }
    // After the chosen changes; before them at the story's end, whose last mark stays.
    if (!last) pieces_.push_back({chosen, own[chosen], false, unit});
    for (Piece& version : versions) pieces_.push_back(std::move(version));
    if (last) pieces_.push_back({chosen, own[chosen], false, unit});
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
        const std::string kind = Named(reference, w::commentReference)    ? "comment"
                                 : Named(reference, w::footnoteReference) ? "footnote"
                                                                          : "endnote";
        const pugi::xml_node story = from.stories->story(kind, Attribute(reference, "w:id"));
        return Attribute(story, "w:author") + ":" + AcceptedSignature({story}, {reader.target, {}});
    };
    return AcceptedSignature(nodes, reader);
}

bool Combiner::acceptedEmpty(std::size_t reviewer, const std::vector<pugi::xml_node>& nodes) {
    pugi::xml_document scratch;
    pugi::xml_node body = scratch.append_child(w::body);
    for (const pugi::xml_node& node : nodes) body.append_copy(node);
    AcceptRevisions(body);
    const DocumentSide& side = reviewed_[reviewer]->side();
    ContentKeys objects(side.package, side.main);
    KeyTable keys;
    const Story accepted = StoryReader(keys, objects).read(body);
    return std::none_of(accepted.blocks.begin(), accepted.blocks.end(), ShowsAnything);
}

}  // namespace redline
