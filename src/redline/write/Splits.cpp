#include "redline/write/Splits.h"

#include <string>
#include <string_view>

#include "redline/io/Names.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

bool IsRunProperties(const pugi::xml_node& node) {
    return std::string_view(node.name()).ends_with("rPr");
}

// A new element like `element` (its name, attributes and properties) just after it; a record
// of changed properties copied with it gets an id of its own.
pugi::xml_node EmptyTwinAfter(pugi::xml_node element, Stamp& stamp) {
    pugi::xml_node twin = element.parent().insert_child_after(element.name(), element);
    for (pugi::xml_attribute attribute : element.attributes()) twin.append_copy(attribute);
    for (pugi::xml_node child : element.children()) {
        if (!IsRunProperties(child)) break;
        pugi::xml_node properties = twin.append_copy(child);
        if (pugi::xml_node change = properties.child(w::rPrChange))
            change.attribute("w:id").set_value(stamp.nextId());
    }
    return twin;
}

// Moves `first` and every sibling after it to the end of `to`.
void MoveFrom(pugi::xml_node first, pugi::xml_node to) {
    while (first) {
        pugi::xml_node next = first.next_sibling();
        to.append_move(first);
        first = next;
    }
}

void Preserve(pugi::xml_node text) {
    if (!text.attribute("xml:space")) text.append_attribute("xml:space") = "preserve";
}

// Cuts `element` before its child `first`: `first` and what follows go to a twin after it.
// Answers the place before that content.
Point CutBefore(pugi::xml_node element, pugi::xml_node first, Stamp& stamp, bool newId) {
    if (!first) return {element.parent(), element.next_sibling()};
    bool headEmpty = true;
    for (pugi::xml_node child = element.first_child(); child != first; child = child.next_sibling())
        headEmpty = headEmpty && IsRunProperties(child);
    if (headEmpty) return {element.parent(), element};
    pugi::xml_node twin = EmptyTwinAfter(element, stamp);
    if (newId) twin.attribute("w:id").set_value(stamp.nextId());
    MoveFrom(first, twin);
    return {element.parent(), twin};
}

}  // namespace

Point CutRunBefore(pugi::xml_node node, std::uint32_t offset, Stamp& stamp) {
    pugi::xml_node first = node;
    if (offset > 0) {
        const std::string value = node.text().get();
        if (offset >= value.size()) {
            first = node.next_sibling();
        } else {
            first = node.parent().insert_copy_after(node, node);
            first.text().set(value.substr(offset).c_str());
            node.text().set(value.substr(0, offset).c_str());
            Preserve(first);
            Preserve(node);
        }
    }
    return CutBefore(node.parent(), first, stamp, false);
}

pugi::xml_node IsolateRun(pugi::xml_node first, std::uint32_t begin, pugi::xml_node last,
                          std::uint32_t end, Stamp& stamp) {
    // The end first: the cut before it leaves `first` where it is.
    if (end > 0) {
        CutRunBefore(last, end, stamp);
    } else if (last.next_sibling()) {
        CutRunBefore(last.next_sibling(), 0, stamp);
    }
    const Point at = CutRunBefore(first, begin, stamp);
    return at.before;
}

bool IsContentMark(const pugi::xml_node& node) {
    return NamedOneOf(node, {w::ins, w::del, w::moveFrom, w::moveTo});
}

Point OutOfMarks(Point point, Stamp& stamp) {
    while (IsContentMark(point.parent)) point = CutBefore(point.parent, point.before, stamp, true);
    return point;
}

pugi::xml_node MarkAroundAlone(pugi::xml_node node, Stamp& stamp) {
    pugi::xml_node mark = node.parent();
    if (!IsContentMark(mark)) return {};
    if (node.next_sibling()) CutBefore(mark, node.next_sibling(), stamp, true);
    const Point at = CutBefore(mark, node, stamp, true);
    return at.before;
}

void TakeAuthor(pugi::xml_node mark, const pugi::xml_node& from) {
    for (const char* name : {"w:author", "w:date"}) {
        const pugi::xml_attribute source = from.attribute(name);
        pugi::xml_attribute own = mark.attribute(name);
        if (!source) {
            mark.remove_attribute(own);
            continue;
        }
        if (!own) own = mark.append_attribute(name);
        own.set_value(source.value());
    }
}

}  // namespace redline
