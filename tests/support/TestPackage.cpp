#include "support/TestPackage.h"

#include <stdexcept>
#include <vector>

#include "support/TrackedChanges.h"
#include "support/XmlNames.h"

namespace {

std::string Normalized(const std::string& joined) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t end = std::min(joined.find('/', start), joined.size());
        const std::string piece = joined.substr(start, end - start);
        if (piece == "..") {
            if (!pieces.empty()) pieces.pop_back();
        } else if (!piece.empty() && piece != ".") {
            pieces.push_back(piece);
        }
        start = end + 1;
    }
    std::string name;
    for (const std::string& piece : pieces) name += (name.empty() ? "" : "/") + piece;
    return name;
}

}  // namespace

TestPackage::TestPackage(const std::string& path, std::optional<Resolution> resolution,
                         std::string author)
    : entries_(ReadZip(path)), resolution_(resolution), author_(std::move(author)) {
    for (const auto& [id, relationship] : relationshipsOf("")) {
        if (relationship.type.ends_with("/officeDocument")) main_ = relationship.target;
    }
    if (main_.empty() || !part(main_)) throw std::runtime_error(path + ": no main document part");
}

pugi::xml_document* TestPackage::part(const std::string& name) {
    if (name.empty()) return nullptr;
    auto& parsed = parsed_[name];
    if (!parsed) {
        const std::string* bytes = FindEntry(entries_, name);
        if (!bytes) return nullptr;
        parsed = std::make_unique<pugi::xml_document>();
        if (!parsed->load_buffer(bytes->data(), bytes->size(),
                                 pugi::parse_default | pugi::parse_ws_pcdata_single)) {
            throw std::runtime_error(name + " is not well-formed");
        }
        RenameToTestPrefixes(parsed->document_element());
        if (resolution_) {
            ResolveTrackedChanges(parsed->document_element(), *resolution_, author_);
        }
    }
    return parsed.get();
}

const std::map<std::string, TestRelationship>& TestPackage::relationshipsOf(
    const std::string& name) {
    if (const auto found = relationships_.find(name); found != relationships_.end()) {
        return found->second;
    }
    auto& byId = relationships_[name];
    const std::size_t slash = name.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    const std::string* rels =
        FindEntry(entries_, folder + "_rels/" + name.substr(folder.size()) + ".rels");
    pugi::xml_document xml;
    if (!rels || !xml.load_buffer(rels->data(), rels->size())) return byId;
    for (const pugi::xml_node& node : xml.document_element().children()) {
        TestRelationship relationship;
        relationship.external = std::string(node.attribute("TargetMode").value()) == "External";
        relationship.type = node.attribute("Type").value();
        const std::string target = node.attribute("Target").value();
        relationship.target =
            relationship.external
                ? target
                : Normalized(target.starts_with("/") ? target.substr(1) : folder + target);
        byId[node.attribute("Id").value()] = relationship;
    }
    return byId;
}

const TestRelationship* TestPackage::relationship(const std::string& from, const std::string& id) {
    const auto& byId = relationshipsOf(from);
    const auto found = byId.find(id);
    return found == byId.end() ? nullptr : &found->second;
}

std::string TestPackage::partOfType(const std::string& suffix) {
    for (const auto& [id, relationship] : relationshipsOf(main_)) {
        if (relationship.type.ends_with(suffix)) return relationship.target;
    }
    return "";
}
