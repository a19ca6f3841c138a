#include "redline/write/CarryOver.h"
#include "redline/io/Names.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "redline/io/Xml.h"

namespace redline {

namespace {

// What stays with the original: its bookmarks and permissions, and the marks of comments that
// the result has of its own. A section break comes along with its deleted paragraph, so that
// rejecting the deletion gives the section back.
bool LeftBehind(const pugi::xml_node& node) {
    for (const char* name :
         {w::bookmarkStart, w::bookmarkEnd, w::permStart, w::permEnd, w::proofErr}) {
        if (Named(node, name)) return true;
    }
    return false;
}

// Attributes that name a relationship of the part they stand in.
bool NamesRelationship(const pugi::xml_attribute& attribute) {
    const std::string_view name = attribute.name();
    return name.starts_with("r:") || name == "o:relid";
}

std::string Extension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot < name.rfind('/') + 1 ? "" : name.substr(dot + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Folder(const std::string& part) {
    return part.substr(0, part.rfind('/') + 1);
}

}  // namespace

void PartCarryOver::carry(pugi::xml_node copied) {
    std::vector<pugi::xml_node> pending{copied}, gone;
    while (!pending.empty()) {
        pugi::xml_node node = pending.back();
        pending.pop_back();
        if (LeftBehind(node) && node != copied) {
            gone.push_back(node);
            continue;
        }
        if (const std::string comment = CommentCarryOver::CommentOf(node); !comment.empty()) {
            // What the original brings along stands in content the result removed.
            const std::string carried = comments_ ? comments_->carriedComment(comment) : "";
            if (!carried.empty()) {
                node.attribute("w:id").set_value(carried.c_str());
                continue;
            }
            // A reference goes with its run.
            const pugi::xml_node goes =
                Named(node, w::commentReference) ? node.parent() : pugi::xml_node(node);
            if (goes != copied) gone.push_back(goes);
            continue;
        }
        for (pugi::xml_attribute attribute : node.attributes()) {
            if (NamesRelationship(attribute)) {
                attribute.set_value(relationshipFor(attribute.value()).c_str());
            }
        }
        if (Named(node, w::pStyle) || Named(node, w::rStyle) || Named(node, w::tblStyle)) {
            shared_.needStyle(Attribute(node, "w:val"));
        }
        if (Named(node, wp::docPr)) node.attribute("id").set_value(shared_.nextDrawing());
        if (notes_ && (Named(node, w::footnoteReference) || Named(node, w::endnoteReference))) {
            const std::string kind = Named(node, w::footnoteReference) ? "footnote" : "endnote";
            node.attribute("w:id").set_value(
                notes_->carryNote(kind, Attribute(node, "w:id")).c_str());
        }
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) pending.push_back(child);
        }
    }
    for (pugi::xml_node node : gone) node.parent().remove_child(node);
}

std::string CommentCarryOver::CommentOf(const pugi::xml_node& node) {
    const bool mark = Named(node, w::commentRangeStart) || Named(node, w::commentRangeEnd) ||
                      Named(node, w::commentReference);
    return mark ? Attribute(node, "w:id") : std::string();
}

std::string PartCarryOver::relationshipFor(const std::string& id) {
    if (const auto found = ids_.find(id); found != ids_.end()) return found->second;
    const Relationship* relationship = from_.relationships.find(id);
    if (!relationship) return id;  // dangling in the original too
    Relationship copy = *relationship;
    if (!copy.external) {
        const std::string part = shared_.copyPart(from_.relationships.partOf(*relationship));
        if (part.empty()) return id;
        copy.target = TargetFrom(to_.name, part);
    }
    return ids_[id] = to_.relationships.add(copy);
}

std::string CarryOverShared::copyPart(const std::string& name, int depth) {
    if (name.empty() || !original_.package.has(name) || depth > 3) return {};
    if (const auto found = parts_.find(name); found != parts_.end()) return found->second;
    const std::string folder = Folder(name), file = name.substr(folder.size());
    std::string copy;
    do {
        copy = folder + "quorvane-original-" + std::to_string(++copies_) + "-" + file;
    } while (result_.package.has(copy));
    parts_[name] = copy;
    result_.package.put(copy, original_.package.part(name));
    addContentType(copy, name);
    const std::string rels = folder + "_rels/" + file + ".rels";
    if (original_.package.has(rels)) {
        pugi::xml_document xml;
        ParseSidePart(xml, original_, rels);
        for (pugi::xml_node node : xml.child("Relationships").children("Relationship")) {
            if (Attribute(node, "TargetMode") == "External") continue;
            const std::string target =
                copyPart(ResolvePartName(folder, Attribute(node, "Target")), depth + 1);
            if (!target.empty()) node.attribute("Target").set_value(("/" + target).c_str());
        }
        result_.package.put(Folder(copy) + "_rels/" + copy.substr(folder.size()) + ".rels",
                            SerializePart(xml));
    }
    return copy;
}

pugi::xml_node CarryOverShared::contentTypes() {
    if (!contentTypesRead_) {
        ParseSidePart(contentTypes_, result_, "[Content_Types].xml");
        contentTypesRead_ = true;
    }
    return contentTypes_.child("Types");
}

void CarryOverShared::addOverride(const std::string& name, const std::string& contentType) {
    pugi::xml_node added = contentTypes().append_child("Override");
    added.append_attribute("PartName") = ("/" + name).c_str();
    added.append_attribute("ContentType") = contentType.c_str();
}

void CarryOverShared::addContentType(const std::string& name, const std::string& from) {
    pugi::xml_document original;
    ParseSidePart(original, original_, "[Content_Types].xml");
    // The original's own type for the part comes first: it overrides any type by extension (a
    // chart is XML of a type of its own).
    const pugi::xml_node types = original.child("Types");
    if (const pugi::xml_node own =
            types.find_child_by_attribute("Override", "PartName", ("/" + from).c_str())) {
        addOverride(name, Attribute(own, "ContentType"));
        return;
    }
    const std::string extension = Extension(name);
    for (pugi::xml_node node : contentTypes().children("Default")) {
        if (Attribute(node, "Extension") == extension) return;
    }
    if (const pugi::xml_node byExtension =
            types.find_child_by_attribute("Default", "Extension", extension.c_str())) {
        addOverride(name, Attribute(byExtension, "ContentType"));
    }
}

// Styles that original content uses and the result lacks, with the styles they build on.
void CarryOverShared::copyStyles() {
    const std::string mine = result_.partOfType("/styles"),
                      theirs = original_.partOfType("/styles");
    if (styles_.empty() || !result_.package.has(mine) || !original_.package.has(theirs)) return;
    pugi::xml_document result, original;
    ParseSidePart(result, result_, mine);
    ParseSidePart(original, original_, theirs);
    auto find = [](pugi::xml_document& styles, const std::string& id) {
        return styles.child(w::styles).find_child_by_attribute(w::style, "w:styleId", id.c_str());
    };
    std::vector<std::string> wanted(styles_.begin(), styles_.end());
    bool added = false;
    while (!wanted.empty()) {
        const std::string id = wanted.back();
        wanted.pop_back();
        if (id.empty() || find(result, id)) continue;
        const pugi::xml_node style = find(original, id);
        if (!style) continue;
        result.child(w::styles).append_copy(style);
        added = true;
        for (const char* link : {w::basedOn, w::next, w::link}) {
            wanted.push_back(Attribute(style.child(link), "w:val"));
        }
    }
    if (!added) return;
    DeclareNamespaces(result, result_.package.namespaces());
    result_.package.put(mine, SerializePart(result));
}

namespace {

// The content type of a part that neither package types: what its name says it holds.
std::string TypeByName(const std::string& name) {
    const std::string extension = Extension(name);
    if (extension == "rels") return "application/vnd.openxmlformats-package.relationships+xml";
    if (extension == "xml") return "application/xml";
    if (extension == "png" || extension == "gif" || extension == "jpeg" || extension == "bmp" ||
        extension == "tiff") {
        return "image/" + extension;
    }
    if (extension == "jpg") return "image/jpeg";
    if (extension == "emf" || extension == "wmf") return "image/x-" + extension;
    if (extension == "xlsx")
        return "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
    if (extension == "docx") {
        return "application/vnd.openxmlformats-officedocument.wordprocessingml.document";
    }
    if (extension == "bin") return "application/vnd.openxmlformats-officedocument.oleObject";
    return "application/octet-stream";
}

}  // namespace

void CarryOverShared::typeEveryPart() {
    std::set<std::string> extensions, overrides;
    for (const pugi::xml_node& node : contentTypes().children()) {
        if (Named(node, "Default")) extensions.insert(Lower(Attribute(node, "Extension")));
        if (Named(node, "Override")) overrides.insert(Lower(Attribute(node, "PartName")));
    }
    for (const std::string& name : result_.package.names()) {
        if (name == "[Content_Types].xml" || name.ends_with("/")) continue;
        if (overrides.count(Lower("/" + name)) || extensions.count(Lower(Extension(name))))
            continue;
        addOverride(name, TypeByName(name));
    }
}

void CarryOverShared::finish() {
    copyStyles();
    // Every part a comparison adds has a type; one the revised document left untyped gets one too.
    typeEveryPart();
    result_.package.put("[Content_Types].xml", SerializePart(contentTypes_));
}

}  // namespace redline
