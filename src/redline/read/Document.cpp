#include "redline/read/Document.h"

#include <vector>

#include "redline/io/Xml.h"

namespace redline {

std::string ResolvePartName(const std::string& folder, const std::string& target) {
    std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t slash = std::min(joined.find('/', start), joined.size());
        const std::string piece = joined.substr(start, slash - start);
        if (piece == "..") {
            if (parts.empty()) return {};
            parts.pop_back();
        } else if (!piece.empty() && piece != ".") {
            parts.push_back(piece);
        }
        start = slash + 1;
    }
    std::string name;
    for (const std::string& piece : parts) name += (name.empty() ? "" : "/") + piece;
    return name;
}

std::string TargetFrom(const std::string& from, const std::string& to) {
    const std::string folder = from.substr(0, from.rfind('/') + 1);
    return to.starts_with(folder) ? to.substr(folder.size()) : "/" + to;
}

Relationships::Relationships(const Package& package, const std::string& partName) {
    const std::size_t slash = partName.rfind('/');
    folder_ = slash == std::string::npos ? "" : partName.substr(0, slash + 1);
    relsName_ = folder_ + "_rels/" + partName.substr(folder_.size()) + ".rels";
    xml_ = std::make_shared<pugi::xml_document>();
    if (!package.has(relsName_)) {
        xml_->append_child("Relationships").append_attribute("xmlns") =
            "http://schemas.openxmlformats.org/package/2006/relationships";
        return;
    }
    ParsePart(*xml_, package.part(relsName_), relsName_, package.namespaces());
    for (const pugi::xml_node& node : xml_->child("Relationships").children("Relationship")) {
        byId_[Attribute(node, "Id")] = {Attribute(node, "Type"), Attribute(node, "Target"),
                                        Attribute(node, "TargetMode") == "External"};
    }
}

const Relationship* Relationships::find(const std::string& id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : &found->second;
}

std::string Relationships::partOf(const Relationship& relationship) const {
    return relationship.external ? "" : ResolvePartName(folder_, relationship.target);
}

const Relationship* Relationships::ofType(const std::string& typeSuffix) const {
    for (const auto& [id, relationship] : byId_) {
        if (relationship.type.ends_with(typeSuffix)) return &relationship;
    }
    return nullptr;
}

std::string Relationships::add(const Relationship& relationship) {
    std::string id;
    do {
        id = "rIdQ" + std::to_string(next_++);
    } while (byId_.count(id));
    byId_[id] = relationship;
    pugi::xml_node node = xml_->child("Relationships").append_child("Relationship");
    node.append_attribute("Id") = id.c_str();
    node.append_attribute("Type") = relationship.type.c_str();
    node.append_attribute("Target") = relationship.target.c_str();
    if (relationship.external) node.append_attribute("TargetMode") = "External";
    return id;
}

void Relationships::save(Package& package) const {
    // A part that had none and gained none gets no empty list of them.
    if (byId_.empty() && !package.has(relsName_)) return;
    package.put(relsName_, SerializePart(*xml_));
}

bool LoadPart(const Package& package, const std::string& name, PackagePart& part) {
    if (name.empty() || !package.has(name)) return false;
    part.name = name;
    ParsePart(part.xml, package.part(name), name, package.namespaces());
    part.relationships = Relationships(package, name);
    return true;
}

namespace {

struct DeflatingWriter : pugi::xml_writer {
    DeflateStream stream;
    void write(const void* data, size_t size) override {
        stream.write({static_cast<const char*>(data), size});
    }
};

struct PipingWriter : pugi::xml_writer {
    DeflatePipe pipe;
    void write(const void* data, size_t size) override {
        pipe.write({static_cast<const char*>(data), size});
    }
};

}  // namespace

void SavePart(const PackagePart& part, Package& package) {
    // Compressed as it is written, its text never held whole: a long body in two halves at
    // once, anything else compressed on the second core as it is written on the first.
    if (InHalves(part.xml)) {
        DeflatingWriter first, second;
        SerializeTo(part.xml, first, second);
        package.putDeflated(part.name,
                            Join(first.stream.finish(false), second.stream.finish(true)));
    } else {
        PipingWriter writer;
        part.xml.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
        package.putDeflated(part.name, writer.pipe.finish());
    }
    part.relationships.save(package);
}

std::string DocumentSide::partOfType(const std::string& typeSuffix) const {
    const Relationship* relationship = main.relationships.ofType(typeSuffix);
    return relationship ? main.relationships.partOf(*relationship) : "";
}

void ParseSidePart(pugi::xml_document& xml, const DocumentSide& side, const std::string& name) {
    try {
        ParsePart(xml, side.package.part(name), name, side.package.namespaces());
    } catch (const BadDocument& e) {
        throw UnreadableDocument(side.path, e);
    }
}

void LoadDocument(DocumentSide& side, const std::string& path, std::shared_ptr<Namespaces> names) {
    side.path = path;
    side.package = Package::Read(path);
    if (names) side.package.shareNamespaces(std::move(names));
    const Relationships root(side.package, "");
    const Relationship* main = root.ofType("/officeDocument");
    if (!main || !LoadPart(side.package, root.partOf(*main), side.main)) {
        throw BadDocument("the package names no main document part, or lacks it.");
    }
    const pugi::xml_node body = side.main.xml.child("w:document").child("w:body");
    if (!body) {
        throw BadDocument("the main part " + side.main.name + " holds no document body.");
    }
    if (body.next_sibling("w:body")) {
        throw BadDocument::TwoBodies("the main part " + side.main.name +
                                     " holds two document bodies.");
    }
    // The parsed part is what counts from here on; its text is written anew when saved.
    side.package.release(side.main.name);
}

}  // namespace redline
