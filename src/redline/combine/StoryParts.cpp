#include "redline/combine/StoryParts.h"
#include "redline/io/Names.h"

#include <cstdlib>

#include "redline/io/Xml.h"

namespace redline {

namespace {

struct StoryKind {
    const char* kind;
    const char* element;       // one story of the part
    const char* relationship;  // its relationship from the main part
    const char* contentType;
    const char* name;  // the part's name when it is made
};

constexpr const char* kOfficeRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

const StoryKind kKinds[] = {
    {"footnote", w::footnote, "footnotes",
     "application/vnd.openxmlformats-officedocument.wordprocessingml.footnotes+xml",
     "word/footnotes.xml"},
    {"endnote", w::endnote, "endnotes",
     "application/vnd.openxmlformats-officedocument.wordprocessingml.endnotes+xml",
     "word/endnotes.xml"},
    {"comment", w::comment, "comments",
     "application/vnd.openxmlformats-officedocument.wordprocessingml.comments+xml",
     "word/comments.xml"},
    {"commentEx", w15::commentEx,
     "http://schemas.microsoft.com/office/2011/relationships/commentsExtended",
     "application/vnd.openxmlformats-officedocument.wordprocessingml.commentsExtended+xml",
     "word/commentsExtended.xml"},
};

const StoryKind& KindNamed(const std::string& kind) {
    for (const StoryKind& known : kKinds) {
        if (kind == known.kind) return known;
    }
    return kKinds[0];
}

std::string RelationshipType(const StoryKind& kind) {
    const std::string type = kind.relationship;
    return type.starts_with("http") ? type : kOfficeRelationships + type;
}

std::string TypeSuffix(const StoryKind& kind) {
    const std::string type = RelationshipType(kind);
    return type.substr(type.rfind('/'));
}

}  // namespace

PackagePart* StoryParts::part(const std::string& kind) {
    if (const auto found = parts_.find(kind); found != parts_.end()) return found->second.get();
    std::unique_ptr<PackagePart>& slot = parts_[kind];
    const std::string name = side_.partOfType(TypeSuffix(KindNamed(kind)));
    if (name.empty()) return nullptr;
    auto loaded = std::make_unique<PackagePart>();
    if (LoadPart(side_.package, name, *loaded)) slot = std::move(loaded);
    return slot.get();
}

PackagePart& StoryParts::partLike(const std::string& kind, const PackagePart& like,
                                  CarryOverShared& shared) {
    if (PackagePart* own = part(kind)) return *own;
    const StoryKind& known = KindNamed(kind);
    std::string name = known.name;
    if (side_.package.has(name)) name = "word/quorvane-combined-" + name.substr(5);
    // The root as the other document writes it, with the separators a notes part opens with.
    pugi::xml_document root;
    pugi::xml_node copy = root.append_copy(like.xml.document_element());
    for (pugi::xml_node child = copy.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (!child.attribute("w:type")) copy.remove_child(child);
        child = next;
    }
    DeclareNamespaces(root, side_.package.namespaces());
    side_.package.put(name, SerializePart(root));
    shared.addOverride(name, known.contentType);
    side_.main.relationships.add({RelationshipType(known), TargetFrom(side_.main.name, name)});
    auto made = std::make_unique<PackagePart>();
    LoadPart(side_.package, name, *made);
    parts_[kind] = std::move(made);
    return *parts_[kind];
}

pugi::xml_node StoryParts::story(const std::string& kind, const std::string& id) {
    PackagePart* holder = part(kind);
    if (!holder) return {};
    return holder->xml.document_element().find_child_by_attribute(KindNamed(kind).element, "w:id",
                                                                  id.c_str());
}

std::string StoryParts::freshId(const std::string& kind) {
    auto found = next_.find(kind);
    if (found == next_.end()) {
        long highest = 0;
        if (PackagePart* holder = part(kind)) {
            for (pugi::xml_node story : holder->xml.document_element().children()) {
                highest = std::max(highest, std::atol(Attribute(story, "w:id").c_str()));
            }
        }
        found = next_.emplace(kind, highest + 1).first;
    }
    return std::to_string(found->second++);
}

std::vector<PackagePart*> StoryParts::parts() const {
    std::vector<PackagePart*> all;
    for (const auto& [kind, part] : parts_) {
        if (part) all.push_back(part.get());
    }
    return all;
}

void StoryParts::save() {
    for (PackagePart* part : parts()) {
        DeclareNamespaces(part->xml, side_.package.namespaces());
        SavePart(*part, side_.package);
    }
}

std::string CarriedStories::carry(const std::string& kind, const std::string& id) {
    const auto key = std::pair(kind, id);
    if (const auto found = carried_.find(key); found != carried_.end()) return found->second;
    const pugi::xml_node story = from_.story(kind, id);
    if (!story) return carried_[key] = "";
    PackagePart& from = *from_.part(kind);
    PackagePart& into = into_.partLike(kind, from, shared_);
    const std::string fresh = into_.freshId(kind);
    carried_[key] = fresh;
    pugi::xml_node copy = into.xml.document_element().append_copy(story);
    copy.attribute("w:id").set_value(fresh.c_str());
    auto& carrier = carriers_[kind];
    if (!carrier) carrier = std::make_unique<PartCarryOver>(shared_, from, into, this, this);
    carrier->carry(copy);
    if (kind == "comment") carryThread(story);
    return fresh;
}

// A comment's entry in the threads part, which names it by its last paragraph's id.
void CarriedStories::carryThread(const pugi::xml_node& comment) {
    PackagePart* threads = from_.part("commentEx");
    const pugi::xml_node last = comment.last_child();
    const std::string paragraph = Attribute(last, "w14:paraId");
    if (!threads || paragraph.empty()) return;
    const pugi::xml_node entry = threads->xml.document_element().find_child_by_attribute(
        w15::commentEx, "w15:paraId", paragraph.c_str());
    if (!entry) return;
    into_.partLike("commentEx", *threads, shared_).xml.document_element().append_copy(entry);
}

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

std::vector<std::string> ReferencedIds(const pugi::xml_node& root, const char* reference) {
    std::vector<std::string> ids;
    root.find_node([&](const pugi::xml_node& node) {
        if (Named(node, reference)) ids.push_back(Attribute(node, "w:id"));
        return false;
    });
    return ids;
}

}  // namespace redline
