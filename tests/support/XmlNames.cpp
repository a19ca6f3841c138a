#include "support/XmlNames.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string_view>

namespace {

const std::map<std::string, std::string>& TestPrefixes() {
    static const std::map<std::string, std::string> byNamespace = {
        {"http://schemas.openxmlformats.org/wordprocessingml/2006/main", "w"},
        {"http://schemas.openxmlformats.org/officeDocument/2006/relationships", "r"},
        {"http://schemas.openxmlformats.org/officeDocument/2006/math", "m"},
        {"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing", "wp"},
        {"http://schemas.openxmlformats.org/drawingml/2006/main", "a"},
        {"http://schemas.openxmlformats.org/drawingml/2006/picture", "pic"},
        {"http://schemas.openxmlformats.org/drawingml/2006/chart", "c"},
        {"http://schemas.openxmlformats.org/markup-compatibility/2006", "mc"},
        {"http://schemas.microsoft.com/office/word/2010/wordprocessingShape", "wps"},
        {"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup", "wpg"},
        {"http://schemas.microsoft.com/office/word/2010/wordml", "w14"},
        {"http://schemas.microsoft.com/office/word/2012/wordml", "w15"},
        {"http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing", "wp14"},
        {"urn:schemas-microsoft-com:vml", "v"},
        {"urn:schemas-microsoft-com:office:office", "o"},
        {"urn:schemas-microsoft-com:office:word", "w10"},
    };
    return byNamespace;
}

using Bindings = std::map<std::string, std::string>;  // prefix ("" for the default) -> namespace

std::pair<std::string, std::string> Split(const std::string& name) {
    const std::size_t colon = name.find(':');
    if (colon == std::string::npos) return {"", name};
    return {name.substr(0, colon), name.substr(colon + 1)};
}

bool IsDeclaration(const std::string& name) {
    return name == "xmlns" || name.rfind("xmlns:", 0) == 0;
}

class Walk {
  public:
    explicit Walk(bool rename) : rename_(rename) {}

    void element(pugi::xml_node node, const Bindings& inherited) {
        // Copied only where an element declares something: most declare nothing.
        Bindings own;
        bool declares = false;
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            const std::string name = attribute.name();
            if (!IsDeclaration(name)) continue;
            if (!declares) own = inherited;
            declares = true;
            own[name == "xmlns" ? "" : name.substr(6)] = attribute.value();
        }
        const Bindings& bindings = declares ? own : inherited;
        const auto [prefix, local] = Split(node.name());
        if (const std::string* renamed = name(prefix, local, bindings, true)) {
            node.set_name(renamed->c_str());
        }
        for (pugi::xml_attribute attribute : node.attributes()) {
            const std::string full = attribute.name();
            if (IsDeclaration(full)) continue;
            const auto [attributePrefix, attributeLocal] = Split(full);
            if (!attributePrefix.empty()) {
                if (const std::string* renamed =
                        name(attributePrefix, attributeLocal, bindings, false)) {
                    attribute.set_name(renamed->c_str());
                }
            }
            const std::string now = attribute.name();
            const bool listsPrefixes =
                now == "mc:Ignorable" || full.ends_with(":Ignorable") ||
                (now == "Requires" && std::string_view(node.name()).ends_with(":Choice"));
            if (listsPrefixes) {
                std::istringstream tokens(attribute.value());
                for (std::string token; tokens >> token;) {
                    if (!bindings.count(token)) missing_.insert(token);
                }
            }
        }
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) element(child, bindings);
        }
    }

    std::vector<std::string> missing() const { return {missing_.begin(), missing_.end()}; }

  private:
    // The test's name for an element or attribute, when it differs; notes an unbound prefix.
    const std::string* name(const std::string& prefix, const std::string& local,
                            const Bindings& bindings, bool isElement) {
        if (prefix == "xml") return nullptr;
        const auto bound = bindings.find(prefix);
        if (bound == bindings.end()) {
            if (!prefix.empty()) missing_.insert(prefix);
            return nullptr;
        }
        if (!rename_ || (prefix.empty() && !isElement)) return nullptr;
        const auto known = TestPrefixes().find(bound->second);
        std::string wanted;
        if (known != TestPrefixes().end()) {
            wanted = known->second;
        } else if (!bound->second.empty()) {
            // Any other namespace by a prefix made from its name: the same for every writer.
            char made[12];
            std::snprintf(made, sizeof made, "u%08x",
                          static_cast<unsigned>(std::hash<std::string>{}(bound->second)));
            wanted = made;
        }
        if (wanted.empty() || wanted == prefix) return nullptr;
        renamed_ = wanted + ":" + local;
        return &renamed_;
    }

    bool rename_;
    std::set<std::string> missing_;
    std::string renamed_;
};

}  // namespace

std::vector<std::string> RenameToTestPrefixes(pugi::xml_node root) {
    Walk walk(true);
    walk.element(root, {});
    return walk.missing();
}

std::vector<std::string> UndeclaredPrefixes(const pugi::xml_node& root) {
    Walk walk(false);
    walk.element(root, {});
    return walk.missing();
}
