#include "redline/combine/MarkIds.h"
#include "redline/io/Names.h"

#include <map>
#include <string_view>

#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

bool IsRangeStart(const pugi::xml_node& node) {
    return NamedOneOf(node, {w::moveFromRangeStart, w::moveToRangeStart});
}

bool IsRangeEnd(const pugi::xml_node& node) {
    return NamedOneOf(node, {w::moveFromRangeEnd, w::moveToRangeEnd});
}

template <class Visit>
void EachMark(const pugi::xml_node& root, Visit&& visit) {
    root.find_node([&](const pugi::xml_node& node) {
        if (node.type() == pugi::node_element && IsRevisionMark(node)) visit(node);
        return false;
    });
}

}  // namespace

void OffsetMarks(pugi::xml_node root, int offset, const std::string& suffix) {
    EachMark(root, [&](pugi::xml_node mark) {
        if (pugi::xml_attribute id = mark.attribute("w:id")) id.set_value(id.as_int() + offset);
        if (IsRangeStart(mark)) {
            pugi::xml_attribute name = mark.attribute("w:name");
            if (name) name.set_value((std::string(name.value()) + suffix).c_str());
        }
    });
}

void CollectMarkIds(const pugi::xml_node& root, std::set<int>& ids) {
    EachMark(root, [&](const pugi::xml_node& mark) {
        if (pugi::xml_attribute id = mark.attribute("w:id")) ids.insert(id.as_int());
    });
}

namespace {

class MoveSettler {
  public:
    explicit MoveSettler(std::set<std::string> unpaired) : unpairedIds_(std::move(unpaired)) {}

    void walk(pugi::xml_node node) {
        for (pugi::xml_node child = node.first_child(); child;) {
            const pugi::xml_node next = child.next_sibling();
            if (Named(child, w::p)) {
                paragraph(child);
            } else if (child.type() == pugi::node_element) {
                walk(child);
            }
            child = next;
        }
    }

  private:
    bool unpaired(const pugi::xml_node& node) const {
        return unpairedIds_.count(Attribute(node, "w:id")) != 0;
    }

    // A paragraph that an unpaired range touches has its moved text turned into changed text.
    void paragraph(pugi::xml_node paragraph) {
        bool touched = open_ > 0;
        std::vector<pugi::xml_node> ranges;
        paragraph.find_node([&](const pugi::xml_node& node) {
            if ((IsRangeStart(node) || IsRangeEnd(node)) && unpaired(node)) {
                ranges.push_back(node);
                touched = true;
                open_ += IsRangeStart(node) ? 1 : -1;
            }
            return false;
        });
        if (!touched) return;
        for (pugi::xml_node range : ranges) range.parent().remove_child(range);
        paragraph.find_node([](pugi::xml_node node) {
            if (Named(node, w::moveFrom)) node.set_name(w::del);
            if (Named(node, w::moveTo)) node.set_name(w::ins);
            return false;
        });
        if (open_ < 0) open_ = 0;
    }

    std::set<std::string> unpairedIds_;
    int open_ = 0;
};

}  // namespace

void SettleUnpairedMoves(const std::vector<pugi::xml_node>& roots) {
    std::map<std::string, int> halves;         // a move's name -> 1 from, 2 to, 3 both
    std::map<std::string, std::string> names;  // a range's id -> its move's name
    for (const pugi::xml_node& root : roots) {
        root.find_node([&](const pugi::xml_node& node) {
            if (IsRangeStart(node)) {
                const std::string name = Attribute(node, "w:name");
                halves[name] |= Named(node, w::moveFromRangeStart) ? 1 : 2;
                names[Attribute(node, "w:id")] = name;
            }
            return false;
        });
    }
    std::set<std::string> unpaired;
    for (const auto& [id, name] : names) {
        if (halves[name] != 3) unpaired.insert(id);
    }
    if (unpaired.empty()) return;
    for (const pugi::xml_node& root : roots) MoveSettler(unpaired).walk(root);
}

}  // namespace redline
