#include "redline/read/Fields.h"

#include <string_view>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"
#include "redline/read/Paragraph.h"
#include "redline/read/ShownText.h"

namespace redline {

namespace {

int FieldDepthChange(const pugi::xml_node& run, bool& began) {
    int change = 0;
    for (const pugi::xml_node& mark : run.children("w:fldChar")) {
        const std::string_view type = mark.attribute("w:fldCharType").value();
        if (type == "begin") {
            ++change;
            began = true;
        } else if (type == "end") {
            --change;
        }
    }
    return change;
}

}  // namespace

pugi::xml_node FieldEnd(const pugi::xml_node& run) {
    bool began = false;
    int depth = FieldDepthChange(run, began);
    if (!began || depth <= 0) return {};
    for (pugi::xml_node next = run.next_sibling(); next; next = next.next_sibling()) {
        if (!Named(next, "w:r")) {
            if (next.find_node([](const pugi::xml_node& n) { return Named(n, "w:fldChar"); })) {
                return {};
            }
            continue;
        }
        depth += FieldDepthChange(next, began);
        if (depth <= 0) return next;
    }
    return {};
}

std::string FieldInstruction(const pugi::xml_node& first, const pugi::xml_node& last) {
    std::string code;
    for (pugi::xml_node run = first;; run = run.next_sibling()) {
        for (const pugi::xml_node& text : run.children("w:instrText")) code += text.text().get();
        if (run == last) break;
    }
    std::string folded;
    for (const char c : code) {
        if (c != ' ' || (!folded.empty() && folded.back() != ' ')) folded += c;
    }
    while (!folded.empty() && folded.back() == ' ') folded.pop_back();
    return folded;
}

std::string FieldResult(const pugi::xml_node& first, const pugi::xml_node& last) {
    std::string result;
    bool showing = false;
    for (pugi::xml_node run = first;; run = run.next_sibling()) {
        for (const pugi::xml_node& child : run.children()) {
            if (KindOf(child) == ElementKind::FieldCharacter) {
                showing = std::string_view(child.attribute("w:fldCharType").value()) == "separate";
            } else if (showing && ShowsCharacters(child)) {
                AppendShownText(child, result);
            }
        }
        if (run == last) break;
    }
    return result;
}

std::string FieldExtras(const pugi::xml_node& first, const pugi::xml_node& last,
                        ObjectKeys& objects) {
    std::string extras;
    for (pugi::xml_node run = first;; run = run.next_sibling()) {
        for (const pugi::xml_node& child : run.children()) {
            if (child.type() != pugi::node_element ||
                NamedOneOf(child, {"w:rPr", "w:fldChar", "w:instrText", "w:t",
                                   "w:lastRenderedPageBreak"})) {
                continue;
            }
            extras += "|" + objects.describe(child);
        }
        if (run == last) break;
    }
    return extras;
}

}  // namespace redline
