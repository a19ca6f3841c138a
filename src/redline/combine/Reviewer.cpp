#include <algorithm>
#include <set>

#include "redline/combine/Reviewer.h"
#include "redline/io/Names.h"

#include "redline/Errors.h"
#include "redline/FilePath.h"
#include "redline/io/Package.h"
#include "redline/io/Xml.h"
#include "redline/read/Document.h"

namespace redline {

namespace {

std::string Trimmed(std::string text) {
    const auto blank = [](unsigned char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    };
    while (!text.empty() && blank(text.back())) text.pop_back();
    text.erase(text.begin(),
               std::find_if(text.begin(), text.end(), [&](unsigned char c) { return !blank(c); }));
    return text;
}

// The core properties' last editor, else author; "" when the package names neither.
std::string NamedInProperties(const std::string& path) {
    const Package package = Package::Read(path);
    pugi::xml_document rels;
    if (!package.has("_rels/.rels")) return {};
    ParsePart(rels, package.part("_rels/.rels"), "_rels/.rels", package.namespaces());
    for (pugi::xml_node relationship : rels.document_element().children()) {
        if (!std::string_view(Attribute(relationship, "Type")).ends_with("/core-properties")) {
            continue;
        }
        const std::string name = ResolvePartName("", Attribute(relationship, "Target"));
        if (!package.has(name)) return {};
        pugi::xml_document core;
        ParsePart(core, package.part(name), name, package.namespaces());
        const pugi::xml_node properties = core.document_element();
        for (const char* field : {cp::lastModifiedBy, dc::creator}) {
            const std::string named = Trimmed(properties.child(field).text().get());
            if (!named.empty()) return named;
        }
    }
    return {};
}

}  // namespace

std::vector<std::string> UniqueReviewers(const std::vector<std::string>& paths,
                                         const std::vector<std::string>& given) {
    // Each reviewer's changes go under a name of their own, so that each can be accepted apart.
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (std::size_t k = 0; k < paths.size(); ++k) {
        const std::string named =
            k < given.size() && !given[k].empty() ? given[k] : ReviewerOf(paths[k]);
        std::string name = named;
        for (int n = 2; !taken.insert(name).second; ++n) {
            name = named + " (" + std::to_string(n) + ")";
        }
        names.push_back(name);
    }
    return names;
}

std::string ReviewerOf(const std::string& path) {
    try {
        if (std::string named = NamedInProperties(path); !named.empty()) return named;
    } catch (const BadDocument&) {
        // The comparison says what is wrong with the document; here it is only nameless.
    }
    return Utf8Path(FilePath(path).stem());
}

}  // namespace redline
