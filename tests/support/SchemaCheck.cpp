#include "support/SchemaCheck.h"

#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "redline/io/Package.h"
#include "support/Files.h"
#include "support/Programs.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarkupCompatibility =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";

// The namespaces the schemas define: what a reader of exactly these schemas understands.
const std::set<std::string>& Understood() {
    static const std::set<std::string> namespaces = [] {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(SchemaFolder())) {
            if (entry.path().extension() != ".xsd") continue;
            pugi::xml_document schema;
            if (!schema.load_file(entry.path().c_str())) continue;
            found.insert(schema.document_element().attribute("targetNamespace").value());
        }
        return found;
    }();
    return namespaces;
}

class Compatibility {
  public:
    explicit Compatibility(const std::set<std::string>& understood) : understood_(understood) {}

    void apply(pugi::xml_node element) {
        declare(element);
        for (const std::string& prefix : words(Attribute(element, "Ignorable"))) {
            ignorable_.insert(uri(prefix));
        }
        std::vector<pugi::xml_attribute> dropped;
        for (pugi::xml_attribute attribute : element.attributes()) {
            const std::string name = attribute.name();
            const std::string space = uri(PrefixOf(name));
            if (space == kMarkupCompatibility ||
                (ignorable_.count(space) && !understood_.count(space)))
                dropped.push_back(attribute);
        }
        for (const pugi::xml_attribute& attribute : dropped) element.remove_attribute(attribute);
        for (pugi::xml_node child = element.first_child(); child;) {
            const pugi::xml_node next = child.next_sibling();
            if (child.type() == pugi::node_element) visit(element, child);
            child = next;
        }
    }

  private:
    void visit(pugi::xml_node parent, pugi::xml_node child) {
        const std::string space = uri(PrefixOf(child.name()));
        if (space == kMarkupCompatibility && LocalOf(child.name()) == "AlternateContent") {
            declare(child);
            const pugi::xml_node chosen = choose(child);
            std::vector<pugi::xml_node> moved;
            for (pugi::xml_node inner : chosen.children()) moved.push_back(inner);
            for (pugi::xml_node inner : moved) {
                pugi::xml_node placed = parent.insert_move_before(inner, child);
                if (placed.type() == pugi::node_element) apply(placed);
            }
            parent.remove_child(child);
        } else if (ignorable_.count(space) && !understood_.count(space)) {
            parent.remove_child(child);
        } else {
            apply(child);
        }
    }

    pugi::xml_node choose(const pugi::xml_node& alternate) {
        for (const pugi::xml_node& option : alternate.children()) {
            if (LocalOf(option.name()) == "Choice") {
                bool all = true;
                for (const std::string& prefix : words(option.attribute("Requires").value()))
                    all = all && understood_.count(uri(prefix));
                if (all) return option;
            } else if (LocalOf(option.name()) == "Fallback") {
                return option;
            }
        }
        return {};
    }

    void declare(const pugi::xml_node& element) {
        for (const pugi::xml_attribute& attribute : element.attributes()) {
            const std::string name = attribute.name();
            if (name == "xmlns") prefixes_[""] = attribute.value();
            if (name.rfind("xmlns:", 0) == 0) prefixes_[name.substr(6)] = attribute.value();
        }
    }

    std::string uri(const std::string& prefix) const {
        const auto found = prefixes_.find(prefix);
        return found == prefixes_.end() ? std::string() : found->second;
    }

    std::string Attribute(const pugi::xml_node& element, const char* local) const {
        for (const pugi::xml_attribute& attribute : element.attributes()) {
            if (LocalOf(attribute.name()) == local &&
                uri(PrefixOf(attribute.name())) == kMarkupCompatibility)
                return attribute.value();
        }
        return {};
    }

    static std::string PrefixOf(const std::string& name) {
        const auto colon = name.find(':');
        return colon == std::string::npos ? std::string() : name.substr(0, colon);
    }
    static std::string LocalOf(const std::string& name) {
        const auto colon = name.find(':');
        return colon == std::string::npos ? name : name.substr(colon + 1);
    }
    static std::vector<std::string> words(const std::string& text) {
        std::istringstream in(text);
        std::vector<std::string> out;
        for (std::string word; in >> word;) out.push_back(word);
        return out;
    }

    const std::set<std::string>& understood_;
    std::map<std::string, std::string> prefixes_;  // one document's prefixes are one set
    std::set<std::string> ignorable_;
};

// What story the part holds, by its root's local name ("document", "hdr", "comments"), whatever
// the part is called (a result names the headers it copies its own way), or "" for none: the
// result's third header may be the original's first, so errors are told by kind.
std::string StoryKind(const std::string& xml) {
    static const std::regex root(
        R"(<(?:[\w.-]+:)?(document|hdr|ftr|footnotes|endnotes|comments)[\s>/])");
    std::smatch match;
    const std::string head = xml.substr(0, 4096);
    return std::regex_search(head, match, root) ? match[1].str() : "";
}

}  // namespace

std::string SchemaFolder() {
    return std::string(QUORVANE_SOURCE_DIR) + "/tests/data/ooxml-schemas/ISO-IEC29500-4_2016";
}

std::string ApplyMarkupCompatibility(const std::string& xml,
                                     const std::set<std::string>& understood) {
    pugi::xml_document document;
    if (!document.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata))
        return xml;
    Compatibility(understood).apply(document.document_element());
    std::ostringstream out;
    document.save(out, "", pugi::format_raw);
    return out.str();
}

std::set<std::string> SchemaErrors(const std::string& docx) {
    const redline::Package package = redline::Package::Read(docx);
    const TemporaryFolder folder;
    // One xmllint for every part: it reads the schemas once.
    std::vector<std::string> command{"xmllint", "--noout", "--schema", SchemaFolder() + "/wml.xsd"};
    std::map<std::string, std::string> partOfFile;
    for (const std::string& name : package.names()) {
        const std::string& xml = package.part(name);
        if (!name.starts_with("word/") || !name.ends_with(".xml") || StoryKind(xml).empty())
            continue;
        const std::string file = folder.path() + "/" + std::to_string(partOfFile.size()) + ".xml";
        WriteFile(file, ApplyMarkupCompatibility(xml, Understood()));
        partOfFile[file] = StoryKind(xml);
        command.push_back(file);
    }
    std::set<std::string> errors;
    if (partOfFile.empty()) return errors;
    const ProgramRun run = RunCapturing(command);
    std::istringstream lines(run.err);
    static const std::regex located(R"(^(\S+\.xml):\d+: (.*)$)");
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_match(line, match, located) || !partOfFile.count(match[1])) continue;
        errors.insert(partOfFile[match[1]] + ": " + match[2].str());
    }
    if (run.exit != 0 && run.exit != 3)  // 3: a part broke the schema, told above
        errors.insert("xmllint ended with " + std::to_string(run.exit) + ": " + run.err);
    return errors;
}

std::vector<std::string> NewSchemaErrors(const std::string& result,
                                         const std::vector<std::string>& inputs) {
    std::vector<std::string> added;
    const std::set<std::string> errors = SchemaErrors(result);
    if (errors.empty()) return added;  // the inputs need no reading then
    std::set<std::string> known;
    for (const std::string& input : inputs) known.merge(SchemaErrors(input));
    for (const std::string& error : errors) {
        if (!known.count(error)) added.push_back(error);
    }
    return added;
}
