#include "redline/Xml.h"

#include <sstream>
#include <vector>

#include "redline/Package.h"

namespace redline {

void ParsePart(pugi::xml_document& document, const std::string& bytes, const std::string& name) {
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
}

namespace {

// Appends straight to one string: no stream buffer beside it, and no copy of it at the end.
struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

}  // namespace

std::string SerializePart(const pugi::xml_document& document) {
    StringWriter writer;
    document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(writer.text);
}

}  // namespace redline
