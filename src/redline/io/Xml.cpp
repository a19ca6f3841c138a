#include "redline/io/Xml.h"

#include <iterator>
#include <sstream>
#include <vector>

#include "redline/io/BothAtOnce.h"
#include "redline/io/Namespaces.h"
#include "redline/io/Package.h"

namespace redline {

void ParsePart(pugi::xml_document& document, const std::string& bytes, const std::string& name,
               Namespaces& names) {
    if (bytes.size() > kLargestXmlPart) {
        throw BadDocument("the part " + name + " is too large.", kLargestXmlPart >> 20);
    }
    // pugixml reads no DTD and expands no entity that the document declares itself.
    const pugi::xml_parse_result result = document.load_buffer(
        bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!result) {
        throw BadDocument("the part " + name + " is not well-formed XML: " + result.description() +
                          " at byte " + std::to_string(result.offset));
    }
    int roots = 0;
    for (const pugi::xml_node& top : document.children()) roots += top.type() == pugi::node_element;
    if (roots != 1) {
        throw BadDocument("the part " + name + " is not well-formed XML: it holds " +
                          std::to_string(roots) + " root elements");
    }
    // Walked without recursion, so that the check itself cannot overflow the stack.
    std::vector<std::pair<pugi::xml_node, int>> pending{{document, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (depth > kDeepestXml) throw BadDocument("the part " + name + " is nested too deeply.");
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) pending.emplace_back(child, depth + 1);
        }
    }
    try {
        NormalizeNamespaces(document, bytes, names);
    } catch (const BadDocument& e) {
        if (e.strict())
            throw BadDocument::Strict("the part " + name + " is Strict Open XML: " + e.what());
        throw;
    }
}

namespace {

// Appends straight to one string: no stream buffer beside it, and no copy of it at the end.
struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

// The element alone, with its attributes, appended to `parent`.
pugi::xml_node AppendShallow(pugi::xml_node parent, const pugi::xml_node& element) {
    pugi::xml_node copy = parent.append_child(element.name());
    for (const pugi::xml_attribute& attribute : element.attributes()) copy.append_copy(attribute);
    return copy;
}

// The document's text up to its body's first block and from after its last, written from a shell
// that holds everything but the blocks.
std::pair<std::string, std::string> AroundTheBlocks(const pugi::xml_document& document,
                                                    const pugi::xml_node& body) {
    static constexpr char kMarker[] = "<!--the body's blocks-->";
    pugi::xml_document shell;
    for (const pugi::xml_node& node : document.children()) {
        if (node != body.parent()) {
            shell.append_copy(node);
            continue;
        }
        pugi::xml_node root = AppendShallow(shell, node);
        for (const pugi::xml_node& child : node.children()) {
            if (child != body) {
                root.append_copy(child);
                continue;
            }
            AppendShallow(root, body)
                .append_child(pugi::node_comment)
                .set_value("the body's blocks");
        }
    }
    StringWriter writer;
    shell.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    const std::size_t at = writer.text.find(kMarker);
    return {writer.text.substr(0, at), writer.text.substr(at + sizeof kMarker - 1)};
}

void Print(pugi::xml_node from, const pugi::xml_node& to, pugi::xml_writer& writer) {
    for (; from != to; from = from.next_sibling()) {
        from.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    }
}

}  // namespace

bool InHalves(const pugi::xml_document& document, std::size_t halvesFrom) {
    const pugi::xml_node body = document.document_element().child("w:body");
    return body && static_cast<std::size_t>(std::distance(body.begin(), body.end())) >= halvesFrom;
}

int SerializeTo(const pugi::xml_document& document, pugi::xml_writer& first,
                pugi::xml_writer& second, std::size_t halvesFrom) {
    if (!InHalves(document, halvesFrom)) {
        document.save(first, "", pugi::format_raw, pugi::encoding_utf8);
        return 1;
    }
    const pugi::xml_node body = document.document_element().child("w:body");
    const auto blocks = static_cast<std::size_t>(std::distance(body.begin(), body.end()));
    // Named, not bound: a lambda may not capture a structured binding in every compiler we use.
    const std::pair<std::string, std::string> around = AroundTheBlocks(document, body);
    const std::string& head = around.first;
    const std::string& tail = around.second;
    pugi::xml_node middle = body.first_child();
    for (std::size_t i = 0; i < blocks / 2; ++i) middle = middle.next_sibling();
    BothAtOnce(
        [&] {
            first.write(head.data(), head.size());
            Print(body.first_child(), middle, first);
        },
        [&] {
            Print(middle, pugi::xml_node(), second);
            second.write(tail.data(), tail.size());
        });
    return 2;
}

std::string SerializePart(const pugi::xml_document& document, std::size_t halvesFrom) {
    StringWriter first, second;
    SerializeTo(document, first, second, halvesFrom);
    return first.text + second.text;
}

bool HoldsAtLeast(const pugi::xml_node& node, std::size_t count) {
    std::size_t seen = 0;
    pugi::xml_node at = node.first_child();
    while (at && seen < count) {
        if (at.type() == pugi::node_element) ++seen;
        if (at.first_child()) {
            at = at.first_child();
            continue;
        }
        while (at != node && !at.next_sibling()) at = at.parent();
        if (at == node) break;
        at = at.next_sibling();
    }
    return seen >= count;
}

}  // namespace redline
