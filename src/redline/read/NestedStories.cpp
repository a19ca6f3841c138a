#include "redline/read/NestedStories.h"

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

bool IsBoxContent(const pugi::xml_node& node) {
    return Named(node, "w:txbxContent");
}

void CollectBoxes(const pugi::xml_node& node, std::vector<pugi::xml_node>& out) {
    if (Named(node.parent(), "w:r") && HoldsTextBox(node)) {
        out.push_back(node);
        return;
    }
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element) CollectBoxes(child, out);
    }
}

void CollectReferences(const pugi::xml_node& node, const char* name,
                       std::vector<std::string>& out) {
    if (Named(node, name)) out.push_back(Attribute(node, "w:id"));
    if (IsBoxContent(node)) return;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element) CollectReferences(child, name, out);
    }
}

}  // namespace

bool HoldsNestedStories(const pugi::xml_node& node) {
    auto nested = [](const pugi::xml_node& n) {
        return KindOf(n) == ElementKind::NoteReference || IsBoxContent(n);
    };
    return nested(node) || node.find_node(nested);
}

bool HoldsTextBox(const pugi::xml_node& node) {
    return node.find_node(IsBoxContent);
}

std::vector<pugi::xml_node> TextBoxesIn(const pugi::xml_node& node) {
    std::vector<pugi::xml_node> boxes;
    CollectBoxes(node, boxes);
    return boxes;
}

std::vector<pugi::xml_node> BoxContents(const pugi::xml_node& box, ShapeForms forms) {
    std::vector<pugi::xml_node> contents;
    std::vector<pugi::xml_node> pending{box};
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        // Last child first onto the stack, so that the contents come out in document order.
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling()) {
            if (IsBoxContent(child)) {
                contents.push_back(child);
            } else if (child.type() == pugi::node_element &&
                       (forms == ShapeForms::Both || !Named(child, "mc:Fallback"))) {
                pending.push_back(child);
            }
        }
    }
    return contents;
}

bool InOlderForm(pugi::xml_node node, const pugi::xml_node& shape) {
    for (; node && node != shape; node = node.parent()) {
        if (Named(node, "mc:Fallback")) return true;
    }
    return false;
}

std::vector<std::string> NoteReferencesIn(const pugi::xml_node& node, const char* name) {
    std::vector<std::string> ids;
    CollectReferences(node, name, ids);
    return ids;
}

}  // namespace redline
