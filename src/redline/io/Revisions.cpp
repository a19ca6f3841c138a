#include "redline/io/Revisions.h"

#include <algorithm>
#include <regex>
#include <string_view>
#include <vector>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

bool IsMark(const char* name) {
    const ElementKind kind = KindOfName(name);
    return kind == ElementKind::Adding || kind == ElementKind::Removing;
}

bool IsMark(const pugi::xml_node& node) {
    return IsMark(node.name());
}

// Whether content under the mark leaves the document when it is accepted.
bool Goes(const pugi::xml_node& mark) {
    return KindOf(mark) == ElementKind::Removing;
}

// Property elements: a mark inside one marks its owner (a run, a paragraph mark, a row, a math
// object), it holds no content.
bool IsProperties(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    return name == "w:rPr" || name == "w:trPr" || name == "m:ctrlPr" || name == "w:tcPr";
}

bool IsPropertyChange(std::string_view name) {
    return name.ends_with("PrChange") || name == "w:tblGridChange" || name == "w:numberingChange";
}

bool IsRange(std::string_view name) {
    return name.starts_with("w:moveFromRange") || name.starts_with("w:moveToRange") ||
           name.starts_with("w:customXmlInsRange") || name.starts_with("w:customXmlDelRange") ||
           name.starts_with("w:customXmlMoveFromRange") ||
           name.starts_with("w:customXmlMoveToRange");
}

// The owner that a mark in properties marks: the run, the row, the cell or the math object.
pugi::xml_node OwnerOf(const pugi::xml_node& properties) {
    return properties.parent();
}

// The math object whose control properties `control` are: the fraction of a fraction's
// properties, or the argument that holds them.
pugi::xml_node MathObjectOf(const pugi::xml_node& control) {
    const pugi::xml_node holder = control.parent();
    return std::string_view(holder.name()).ends_with("Pr") ? holder.parent() : holder;
}

void Unwrap(pugi::xml_node node) {
    pugi::xml_node parent = node.parent();
    while (pugi::xml_node child = node.first_child()) parent.insert_move_before(child, node);
    parent.remove_child(node);
}

// What goes is renamed first and removed in a second pass, so that no handle ever points into a
// subtree already freed.
constexpr const char* kGone = "quorvane:gone";
constexpr const char* kUnwrapped = "quorvane:unwrap";
constexpr const char* kJoins = "quorvane:join";

void Decide(const pugi::xml_node& root) {
    std::vector<pugi::xml_node> pending{root};
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const std::string_view name = child.name();
            if (IsMark(child) && IsProperties(node)) {
                pugi::xml_node owner = OwnerOf(node);
                if (Goes(child)) {
                    if (Named(owner, "w:pPr")) {
                        // The paragraph's mark goes: the paragraph joins the next.
                        owner.parent().append_attribute(kJoins) = "1";
                    } else {
                        const pugi::xml_node control = Named(node, "m:ctrlPr") ? node
                                                       : Named(owner, "m:ctrlPr")
                                                           ? owner
                                                           : pugi::xml_node();
                        (control ? MathObjectOf(control) : owner).set_name(kGone);
                    }
                }
                // A math control's mark holds its formatting, which stays where the control does.
                child.set_name(Named(node, "m:ctrlPr") ? kUnwrapped : kGone);
            } else if (IsMark(child)) {
                const bool goes = Goes(child);
                child.set_name(goes ? kGone : kUnwrapped);
                if (!goes) pending.push_back(child);
            } else if (name == "w:cellIns" || name == "w:cellDel") {
                // A deleted cell goes; an inserted one stays, without its mark.
                (name == "w:cellDel" ? OwnerOf(node) : child).set_name(kGone);
            } else if (IsPropertyChange(name)) {
                child.set_name(kGone);  // the properties are those now
            } else if (IsRange(name)) {
                child.set_name(kGone);
            } else {
                pending.push_back(child);
            }
        }
    }
}

// Removes what goes and unwraps what stays without its mark, outermost first.
void Sweep(pugi::xml_node node) {
    for (pugi::xml_node child = node.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (Named(child, kGone)) {
            node.remove_child(child);
        } else if (child.type() == pugi::node_element) {
            Sweep(child);
            if (Named(child, kUnwrapped)) {
                Unwrap(child);
            } else if ((Named(child, "m:oMath") || Named(child, "m:oMathPara")) &&
                       !child.find_child([](const pugi::xml_node& n) {
                           return n.type() == pugi::node_element && !Named(n, "m:oMathParaPr");
                       })) {
                node.remove_child(child);  // an equation whose every part went
            }
        }
        child = next;
    }
}

void CollectJoins(const pugi::xml_node& node, std::vector<pugi::xml_node>& joins) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        if (child.attribute(kJoins)) {
            child.remove_attribute(kJoins);
            joins.push_back(child);
        }
        CollectJoins(child, joins);
    }
}

// A bookmark's, a comment's or a permission's range mark, or a proofing mark: it takes no place.
bool IsRangeMark(const pugi::xml_node& node) {
    return NamedOneOf(node, {"w:bookmarkStart", "w:bookmarkEnd", "w:commentRangeStart",
                             "w:commentRangeEnd", "w:permStart", "w:permEnd", "w:proofErr"});
}

bool HoldsElements(const pugi::xml_node& node) {
    return node.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; });
}

// The paragraph that a paragraph whose mark goes joins: the next of its story, else the one
// before it.
pugi::xml_node JoinTarget(const pugi::xml_node& paragraph, bool& atEnd) {
    for (pugi::xml_node next = paragraph.next_sibling(); next; next = next.next_sibling()) {
        if (Named(next, "w:p")) return atEnd = false, next;
        if (Named(next, "w:tbl") || Named(next, "w:sdt")) break;
    }
    for (pugi::xml_node before = paragraph.previous_sibling(); before;
         before = before.previous_sibling()) {
        if (Named(before, "w:p")) return atEnd = true, before;
        if (Named(before, "w:tbl") || Named(before, "w:sdt")) break;
    }
    return {};
}

void Join(pugi::xml_node paragraph) {
    if (!paragraph.parent()) return;
    bool atEnd = false;
    pugi::xml_node target = JoinTarget(paragraph, atEnd);
    if (!target) {
        // Between tables or controls, a paragraph that nothing is left of goes; the only block
        // of a story keeps its place, unless the story is a content control's, which then goes
        // with it.
        // Range marks (bookmarks, comments' ranges) are not content: they stay, beside it.
        const bool empty = !paragraph.find_child([](const pugi::xml_node& n) {
            return n.type() == pugi::node_element && !Named(n, "w:pPr") && !IsRangeMark(n);
        });
        pugi::xml_node container = paragraph.parent();
        const bool others = container.find_child([&](const pugi::xml_node& n) {
            return n != paragraph && (Named(n, "w:p") || Named(n, "w:tbl") || Named(n, "w:sdt"));
        });
        if (empty && (others || Named(container, "w:sdtContent"))) {
            while (pugi::xml_node mark = paragraph.find_child(IsRangeMark)) {
                container.insert_move_before(mark, paragraph);
            }
            container.remove_child(paragraph);
            // A control left with range marks alone goes too, its marks before it.
            const bool onlyMarks = !container.find_child([](const pugi::xml_node& n) {
                return n.type() == pugi::node_element && !IsRangeMark(n);
            });
            if (Named(container, "w:sdtContent") && onlyMarks) {
                pugi::xml_node control = container.parent();
                while (pugi::xml_node mark = container.first_child()) {
                    control.parent().insert_move_before(mark, control);
                }
                control.parent().remove_child(control);
            }
        }
        return;
    }
    if (atEnd) {
        for (pugi::xml_node child = paragraph.first_child(); child;) {
            pugi::xml_node next = child.next_sibling();
            if (!Named(child, "w:pPr")) target.append_move(child);
            child = next;
        }
    } else {
        pugi::xml_node first =
            target.child("w:pPr") ? target.child("w:pPr").next_sibling() : target.first_child();
        for (pugi::xml_node child = paragraph.first_child(); child;) {
            pugi::xml_node next = child.next_sibling();
            if (!Named(child, "w:pPr")) {
                if (first) {
                    target.insert_move_before(child, first);
                } else {
                    target.append_move(child);
                }
            }
            child = next;
        }
    }
    paragraph.parent().remove_child(paragraph);
}

// Content controls and links whose whole content went, and tables whose every row went.
void RemoveEmptyContainers(pugi::xml_node node) {
    for (pugi::xml_node child = node.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (child.type() == pugi::node_element) {
            RemoveEmptyContainers(child);
            const pugi::xml_node content = child.child("w:sdtContent");
            const bool emptyControl = Named(child, "w:sdt") && content && !HoldsElements(content);
            const bool emptyTable = Named(child, "w:tbl") && !child.child("w:tr") &&
                                    !child.child("w:sdt") && !child.child("w:customXml");
            const bool emptyWrapper = (Named(child, "w:hyperlink") || Named(child, "w:smartTag")) &&
                                      !HoldsElements(child);
            if (emptyControl || emptyTable || emptyWrapper) node.remove_child(child);
        }
        child = next;
    }
}

}  // namespace

bool IsRevisionMark(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    return IsMark(node) || IsPropertyChange(name) || IsRange(name) || name == "w:cellIns" ||
           name == "w:cellDel" || name == "w:cellMerge";
}

void CountRevisions(const pugi::xml_node& root, std::map<std::string, int>& byAuthor) {
    struct Counter : pugi::xml_tree_walker {
        std::map<std::string, int>& byAuthor;
        explicit Counter(std::map<std::string, int>& counts) : byAuthor(counts) {}
        bool for_each(pugi::xml_node& node) override {
            if (IsRevisionMark(node) && !IsRange(node.name()))
                ++byAuthor[node.attribute("w:author").value()];
            return true;
        }
    } counter(byAuthor);
    pugi::xml_node(root).traverse(counter);
}

int HighestRevisionId(const pugi::xml_node& root) {
    int highest = 0;
    root.find_node([&](const pugi::xml_node& node) {
        if (IsRevisionMark(node)) highest = std::max(highest, node.attribute("w:id").as_int());
        return false;
    });
    return highest;
}

int HighestRevisionId(const std::string& xml) {
    if (xml.find(":ins ") == std::string::npos && xml.find(":del ") == std::string::npos &&
        xml.find("Change ") == std::string::npos && xml.find(":move") == std::string::npos) {
        return 0;  // most parts: no change of any kind
    }
    static const std::regex mark(
        R"re(<(?:\w+:)?(?:ins|del|moveFrom|moveTo|\w+Change|cellIns|cellDel|cellMerge)\s[^>]*?\b(?:\w+:)?id="(\d{1,9})")re");
    int highest = 0;
    for (auto at = std::sregex_iterator(xml.begin(), xml.end(), mark); at != std::sregex_iterator();
         ++at) {
        highest = std::max(highest, std::stoi((*at)[1]));
    }
    return highest;
}

bool HoldsRevisions(const pugi::xml_node& root) {
    return root.find_node([](const pugi::xml_node& n) { return IsRevisionMark(n); });
}

void AcceptRevisions(pugi::xml_node root) {
    if (!HoldsRevisions(root)) return;  // most documents: one look, and nothing to do
    Decide(root);
    Sweep(root);
    RemoveEmptyContainers(root);
    std::vector<pugi::xml_node> joins;
    CollectJoins(root, joins);
    // From the end, so that a control emptied by its own joins is gone before the paragraph
    // ahead of it looks past it for the paragraph it joins.
    for (auto at = joins.rbegin(); at != joins.rend(); ++at) Join(*at);
    RemoveEmptyContainers(root);
}

}  // namespace redline
