#include "redline/io/Namespaces.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "redline/Errors.h"
#include "redline/io/KnownNamespaces.h"

namespace redline {

namespace {

void RefuseStrict(std::string_view uri) {
    if (uri.starts_with(kStrictRoot)) {
        throw BadDocument::Strict("it uses the namespace " + std::string(uri) +
                                  " of Strict Open XML.");
    }
}

// A namespace declaration found in a part's text: xmlns="uri" or xmlns:prefix="uri".
struct Declaration {
    std::string_view prefix, uri;
    bool plain = true;  // its value holds no reference that parsing would replace
};

// Every declaration in the part's text, found without parsing; text that merely looks like one
// only makes the careful walk run where it was not needed.
std::vector<Declaration> DeclarationsIn(std::string_view bytes) {
    std::vector<Declaration> found;
    for (std::size_t at = bytes.find("xmlns"); at != std::string_view::npos;
         at = bytes.find("xmlns", at + 5)) {
        if (at == 0 || std::strchr(" \t\r\n", bytes[at - 1]) == nullptr) continue;
        std::size_t i = at + 5;
        Declaration declaration;
        if (i < bytes.size() && bytes[i] == ':') {
            const std::size_t end = bytes.find_first_of("= \t\r\n", i + 1);
            if (end == std::string_view::npos) break;
            declaration.prefix = bytes.substr(i + 1, end - i - 1);
            i = end;
        }
        i = bytes.find_first_not_of(" \t\r\n", i);
        if (i == std::string_view::npos || bytes[i] != '=') continue;
        i = bytes.find_first_not_of(" \t\r\n", i + 1);
        if (i == std::string_view::npos || (bytes[i] != '"' && bytes[i] != '\'')) continue;
        const std::size_t close = bytes.find(bytes[i], i + 1);
        if (close == std::string_view::npos) break;
        declaration.uri = bytes.substr(i + 1, close - i - 1);
        declaration.plain = declaration.uri.find('&') == std::string_view::npos;
        found.push_back(declaration);
    }
    return found;
}

// The in-scope bindings of a walk: prefix to namespace, innermost last.
class Scope {
  public:
    void bind(std::string prefix, std::string uri) {
        bindings_.emplace_back(std::move(prefix), std::move(uri));
    }
    std::size_t mark() const { return bindings_.size(); }
    void unwind(std::size_t to) { bindings_.resize(to); }
    // Whether `prefix` is bound here, and to which namespace.
    bool find(std::string_view prefix, std::string_view& uri) const {
        if (prefix == "xml") {
            uri = kXmlUri;
            return true;
        }
        for (auto it = bindings_.rbegin(); it != bindings_.rend(); ++it) {
            if (it->first == prefix) {
                uri = it->second;
                return true;
            }
        }
        return false;
    }

  private:
    std::vector<std::pair<std::string, std::string>> bindings_;
};

class Normalizer {
  public:
    explicit Normalizer(Namespaces& names) : names_(names) {}

    void walk(pugi::xml_node element) {
        const std::size_t mark = scope_.mark();
        for (pugi::xml_attribute attribute : element.attributes()) {
            const std::string_view name = attribute.name();
            if (!IsDeclaration(name)) continue;
            RefuseStrict(attribute.value());
            scope_.bind(std::string(name == "xmlns" ? "" : name.substr(6)), attribute.value());
        }
        rename(element);
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) walk(child);
        }
        scope_.unwind(mark);
    }

  private:
    // The prefix that `prefix` has in the output, or false when it is bound to nothing here.
    bool output(std::string_view prefix, std::string& out) {
        std::string_view uri;
        if (!scope_.find(prefix, uri)) return false;
        if (uri == kXmlUri) {
            out = "xml";
            return true;
        }
        RefuseStrict(uri);
        if (uri.empty()) {
            out.clear();
        } else if (prefix.empty()) {
            // An unprefixed element stays in its default namespace unless Word gives that
            // namespace a prefix of its own.
            const Known* known = KnownByUri(uri);
            out = known ? known->prefix : "";
        } else {
            out = names_.prefixFor(uri, prefix);
        }
        return true;
    }

    // The declaration of `uri` that the output makes in place of "xmlns[:prefix]".
    std::string declaration(std::string_view name, std::string_view uri) {
        if (uri.empty()) return std::string(name);  // undeclares the default namespace
        const Known* known = KnownByUri(uri);
        const std::string prefix =
            name == "xmlns" ? (known ? known->prefix : "") : names_.prefixFor(uri, name.substr(6));
        names_.markDeclared(prefix);
        return prefix.empty() ? "xmlns" : "xmlns:" + prefix;
    }

    void rename(pugi::xml_node element) {
        std::string prefix;
        const std::string name = element.name();
        if (output(PrefixOf(name), prefix)) {
            const std::string wanted = Qualified(prefix, LocalOf(name));
            if (wanted != name) element.set_name(wanted.c_str());
        }
        // Declarations are made anew, in their order, ahead of the other attributes: two of
        // them may swap prefixes, or give one namespace under two.
        std::vector<std::pair<std::string, std::string>> declared;
        for (pugi::xml_attribute attribute = element.first_attribute(); attribute;) {
            const pugi::xml_attribute next = attribute.next_attribute();
            const std::string_view attributeName = attribute.name();
            if (IsDeclaration(attributeName)) {
                declared.emplace_back(declaration(attributeName, attribute.value()),
                                      attribute.value());
                element.remove_attribute(attribute);
            } else {
                renameAttribute(element, attribute);
            }
            attribute = next;
        }
        pugi::xml_attribute last;
        for (const auto& [wanted, uri] : declared) {
            if (element.attribute(wanted.c_str())) continue;
            last = last ? element.insert_attribute_after(wanted.c_str(), last)
                        : element.prepend_attribute(wanted.c_str());
            last.set_value(uri.c_str());
        }
    }

    void renameAttribute(pugi::xml_node element, pugi::xml_attribute attribute) {
        const std::string name = attribute.name();
        std::string wanted = name, prefix;
        // An attribute without a prefix is in no namespace, whatever the default is.
        if (!PrefixOf(name).empty() && output(PrefixOf(name), prefix) && !prefix.empty()) {
            wanted = Qualified(prefix, LocalOf(name));
        }
        if (wanted != name) attribute.set_name(wanted.c_str());
        if (!NamesPrefixes(element, wanted)) return;
        const std::string value =
            MapTokens(attribute.value(), [&](std::string_view from, std::string& to) {
                return output(from, to) && !to.empty();
            });
        if (value != attribute.value()) attribute.set_value(value.c_str());
        if (wanted != "mc:Ignorable") return;
        MapTokens(value, [&](std::string_view ignorable, std::string&) {
            names_.markIgnorable(ignorable);
            return false;
        });
    }

    Namespaces& names_;
    Scope scope_;
};

// Whether every declaration already binds the prefix the comparison uses for its namespace.
bool WrittenAsNamed(std::string_view bytes, Namespaces& names) {
    const std::vector<Declaration> declarations = DeclarationsIn(bytes);
    for (const Declaration& declaration : declarations) {
        if (!declaration.plain || declaration.uri.starts_with(kStrictRoot)) return false;
        if (declaration.uri.empty()) continue;
        if (declaration.prefix.empty()) {
            const Known* known = KnownByUri(declaration.uri);
            if (known && *known->prefix) return false;
        } else if (names.prefixFor(declaration.uri, declaration.prefix) != declaration.prefix) {
            return false;
        }
    }
    for (const Declaration& declaration : declarations) names.markDeclared(declaration.prefix);
    return true;
}

// The ignorable prefixes that a part declares: only its root's matter to what it carries.
void NoteIgnorable(const pugi::xml_node& root, Namespaces& names) {
    MapTokens(root.attribute("mc:Ignorable").value(), [&](std::string_view prefix, std::string&) {
        names.markIgnorable(prefix);
        return false;
    });
}

}  // namespace

std::string Namespaces::prefixFor(std::string_view uri, std::string_view wanted) {
    if (const Known* known = KnownByUri(uri)) return known->prefix;
    std::lock_guard lock(mutex_);
    if (const auto found = prefixByUri_.find(uri); found != prefixByUri_.end()) {
        return found->second;
    }
    std::string prefix(wanted.empty() ? "ns" : wanted);
    for (int n = 1; KnownByPrefix(prefix) || uriByPrefix_.count(prefix); ++n) {
        prefix = std::string(wanted.empty() ? "ns" : wanted) + std::to_string(n);
    }
    prefixByUri_.emplace(uri, prefix);
    uriByPrefix_.emplace(prefix, uri);
    return prefix;
}

std::string Namespaces::uriOf(std::string_view prefix) const {
    if (const Known* known = KnownByPrefix(prefix)) return known->uri;
    std::lock_guard lock(mutex_);
    const auto found = uriByPrefix_.find(prefix);
    return found == uriByPrefix_.end() ? "" : found->second;
}

void Namespaces::markIgnorable(std::string_view prefix) {
    std::lock_guard lock(mutex_);
    ignorable_.emplace(prefix);
}

bool Namespaces::ignorable(std::string_view prefix) const {
    std::lock_guard lock(mutex_);
    return ignorable_.count(prefix) != 0;
}

void Namespaces::markDeclared(std::string_view prefix) {
    if (prefix.empty()) return;
    std::lock_guard lock(mutex_);
    if (!declared_.count(prefix)) declared_.emplace(prefix);
}

std::set<std::string, std::less<>> Namespaces::declared() const {
    std::lock_guard lock(mutex_);
    return declared_;
}

void NormalizeNamespaces(pugi::xml_document& document, std::string_view bytes, Namespaces& names) {
    if (!WrittenAsNamed(bytes, names)) Normalizer(names).walk(document.document_element());
    NoteIgnorable(document.document_element(), names);
}

namespace {

// Finds the prefixes a written part uses where nothing declares them.
class Undeclared {
  public:
    std::vector<std::string> in(const pugi::xml_node& root) {
        for (const pugi::xml_attribute& attribute : root.attributes()) {
            const std::string_view name = attribute.name();
            if (name.starts_with("xmlns:")) atRoot_.push_back(name.substr(6));
        }
        walk(root, true);
        return std::move(missing_);
    }

  private:
    void walk(const pugi::xml_node& element, bool root = false) {
        const std::size_t mark = inside_.size();
        // Attributes walked by hand: a result holds hundreds of thousands of them.
        if (!root) {
            for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
                const char* name = a.name();
                if (name[0] == 'x' && std::strncmp(name, "xmlns:", 6) == 0) {
                    inside_.push_back(std::string_view(name + 6));
                }
            }
        }
        use(element.name());
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
            const std::string_view name = a.name();
            if (IsDeclaration(name)) continue;
            use(name);
            if (name[0] != 'm' && name[0] != 'R') continue;
            if (NamesPrefixes(element, name) && name != "mc:Ignorable") {
                MapTokens(a.value(), [&](std::string_view prefix, std::string&) {
                    usePrefix(prefix);
                    return false;
                });
            }
        }
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) walk(child);
        }
        inside_.resize(mark);
    }

    static bool Holds(const std::vector<std::string_view>& prefixes, std::string_view prefix) {
        for (const std::string_view held : prefixes) {
            if (held == prefix) return true;
        }
        return false;
    }

    // Uses the prefix of the qualified `name`.
    void use(std::string_view name) {
        // Most names share the last one's prefix, which the root declares.
        if (!last_.empty() && name.size() > last_.size() && name[last_.size()] == ':' &&
            name.starts_with(last_)) {
            return;
        }
        usePrefix(PrefixOf(name));
    }

    void usePrefix(std::string_view prefix) {
        if (prefix.empty() || prefix == last_ || prefix == "xml") return;
        if (Holds(atRoot_, prefix)) {
            last_ = prefix;
            return;
        }
        if (Holds(inside_, prefix)) return;
        for (const std::string& seen : missing_) {
            if (seen == prefix) return;
        }
        missing_.emplace_back(prefix);
    }

    std::vector<std::string_view> atRoot_, inside_;
    std::vector<std::string> missing_;
    std::string_view last_;
};

}  // namespace

void DeclareNamespaces(pugi::xml_document& document, const Namespaces& names) {
    pugi::xml_node root = document.document_element();
    if (!root) return;
    std::vector<std::string> ignorable;
    bool declaresAll = true;
    for (const std::string& prefix : names.declared()) {
        declaresAll = declaresAll && root.attribute(("xmlns:" + prefix).c_str());
    }
    for (const std::string& prefix :
         declaresAll ? std::vector<std::string>() : Undeclared().in(root)) {
        const std::string uri = names.uriOf(prefix);
        if (uri.empty()) continue;  // the input used it undeclared: nothing better to say
        root.append_attribute(("xmlns:" + prefix).c_str()) = uri.c_str();
        if (names.ignorable(prefix)) ignorable.push_back(prefix);
    }
    pugi::xml_attribute listed = root.attribute("mc:Ignorable");
    if (!listed && ignorable.empty()) return;
    std::string value = listed.value();
    for (const std::string& prefix : ignorable) value += " " + prefix;
    value = MapTokens(value, [&](std::string_view prefix, std::string& to) {
        if (!root.attribute(("xmlns:" + std::string(prefix)).c_str())) {
            const std::string uri = names.uriOf(prefix);
            if (uri.empty()) return false;
            root.append_attribute(("xmlns:" + std::string(prefix)).c_str()) = uri.c_str();
        }
        to = prefix;
        return true;
    });
    if (!root.attribute("xmlns:mc") && !value.empty()) {
        root.append_attribute("xmlns:mc") = names.uriOf("mc").c_str();
    }
    if (!listed) listed = root.append_attribute("mc:Ignorable");
    if (value.empty()) {
        root.remove_attribute(listed);
    } else {
        listed.set_value(value.c_str());
    }
}

}  // namespace redline
