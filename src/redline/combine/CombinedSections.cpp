// The sections of a combined result, and its notes and comments once every block is laid.
#include <algorithm>

#include "redline/combine/Combiner.h"
#include "redline/combine/MarkIds.h"
#include "redline/io/Names.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/read/ShownText.h"
#include "redline/write/ParagraphIds.h"

namespace redline {

// The sections' properties with the accepted text of the headers and footers they name.
std::string Combiner::sectionSignature(std::size_t reviewer) {
    Reviewed& from = *reviewed_[reviewer];
    // The properties apart from which parts hold the headers: their text is signed below.
    pugi::xml_document properties;
    pugi::xml_node own = properties.append_copy(from.cut.sections);
    while (pugi::xml_node reference = own.find_child([](const pugi::xml_node& n) {
        return NamedOneOf(n, {w::headerReference, w::footerReference});
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

void Combiner::sectionVersions() {
    Reviewed& base = *reviewed_[0];
    if (!base.cut.sections) return;
    for (std::size_t k : sectionChangers_) {
        if (k == sectionsFrom_) continue;
        Reviewed& from = *reviewed_[k];
        CarryOverShared shared(from.side(), base.side());
        Stamp stamp(from.name, rules_.date);
        stamp.numberFrom(nextVersionMark_);
        for (pugi::xml_node reference : from.cut.sections.children()) {
            if (from.changedParts.count(Attribute(reference, "r:id"))) {
                sectionVersion(from, reference, shared, stamp);
            }
        }
        nextVersionMark_ = stamp.peek();
        stamp.finish();
        shared.finish();
    }
}

PackagePart* Combiner::baseSectionPart(const pugi::xml_node& reference) {
    Reviewed& base = *reviewed_[0];
    const pugi::xml_node own = base.cut.sections.find_child([&](const pugi::xml_node& n) {
        return Named(n, reference.name()) &&
               Attribute(n, "w:type") == Attribute(reference, "w:type");
    });
    const Relationship* ours = base.side().main.relationships.find(Attribute(own, "r:id"));
    if (!own || !ours) return nullptr;
    const std::string name = base.side().main.relationships.partOf(*ours);
    auto& into = sectionParts_[name];
    if (!into) {
        into = std::make_unique<PackagePart>();
        if (!LoadPart(base.side().package, name, *into)) {
            sectionParts_.erase(name);
            return nullptr;
        }
    }
    return into.get();
}

void Combiner::sectionVersion(Reviewed& from, const pugi::xml_node& reference,
                              CarryOverShared& shared, Stamp& stamp) {
    const Relationship* theirs = from.side().main.relationships.find(Attribute(reference, "r:id"));
    PackagePart part;
    if (!theirs ||
        !LoadPart(from.side().package, from.side().main.relationships.partOf(*theirs), part)) {
        return;
    }
    PackagePart* into = baseSectionPart(reference);
    if (!into) return;
    // Their version of the header or footer, accepted, comes in after the one given.
    pugi::xml_node root = into->xml.document_element();
    pugi::xml_node holder = root.append_child(w::body);
    for (pugi::xml_node block : part.xml.document_element().children()) holder.append_copy(block);
    AcceptRevisions(holder);
    JoinAlikeRuns(holder);
    PartCarryOver carry(shared, part, *into);
    Change change{ChangeKind::Insertion,
                  Named(reference, w::headerReference) ? Part::Header : Part::Footer,
                  ShownText(holder),
                  0,
                  0,
                  stamp.peek()};
    change.reviewers = {from.name};
    for (pugi::xml_node block : holder.children()) {
        carry.carry(block);
        if (NamedOneOf(block, {w::p, w::tbl, w::sdt})) MarkBlock(block, Mark::Insert, stamp);
    }
    while (pugi::xml_node block = holder.first_child()) root.insert_move_before(block, holder);
    root.remove_child(holder);
    sectionVersionChanges_.push_back(std::move(change));
}

void Combiner::settleStories() {
    Reviewed& base = *reviewed_[0];
    pugi::xml_node root = base.side().main.xml.document_element();
    std::vector<pugi::xml_node> roots{root};
    for (PackagePart* part : base.stories->parts()) roots.push_back(part->xml.document_element());
    SettleUnpairedMoves(roots);
    dropUnreferenced(roots);
    pruneThreads();
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

void Combiner::dropUnreferenced(const std::vector<pugi::xml_node>& roots) {
    // The base's notes and comments that only the units it gave way held go with them, and so
    // do the range marks of a comment whose reference a version left out.
    for (auto [kind, reference] :
         {std::pair{"footnote", w::footnoteReference}, std::pair{"endnote", w::endnoteReference},
          std::pair{"comment", w::commentReference}}) {
        std::set<std::string> referenced;
        for (const pugi::xml_node& story : roots) {
            for (const std::string& id : ReferencedIds(story, reference)) referenced.insert(id);
        }
        if (std::string_view(kind) == "comment") {
            for (const pugi::xml_node& story : roots) {
                std::vector<pugi::xml_node> unreferenced;
                story.find_node([&](const pugi::xml_node& node) {
                    if (NamedOneOf(node, {w::commentRangeStart, w::commentRangeEnd}) &&
                        !referenced.count(Attribute(node, "w:id"))) {
                        unreferenced.push_back(node);
                    }
                    return false;
                });
                for (pugi::xml_node mark : unreferenced) mark.parent().remove_child(mark);
            }
        }
        PackagePart* part = reviewed_[0]->stories->part(kind);
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
}

void Combiner::pruneThreads() {
    StoryParts& stories = *reviewed_[0]->stories;
    PackagePart* threads = stories.part("commentEx");
    if (!threads) return;
    std::set<std::string> paragraphs;
    if (PackagePart* comments = stories.part("comment")) {
        comments->xml.find_node([&](const pugi::xml_node& node) {
            if (Named(node, w::p)) paragraphs.insert(Attribute(node, "w14:paraId"));
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

}  // namespace redline
