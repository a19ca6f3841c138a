#include "support/TrackedChanges.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool Is(const pugi::xml_node& node, std::string_view name) {
    return name == node.name();
}

bool IsElement(const pugi::xml_node& node) {
    return node.type() == pugi::node_element;
}

// The four marks of content; "adds" tells the two that add it from the two that take it away.
bool IsContentMark(const pugi::xml_node& node, bool& adds) {
    adds = Is(node, "w:ins") || Is(node, "w:moveTo");
    return adds || Is(node, "w:del") || Is(node, "w:moveFrom");
}

// Whether what a mark marks stays in this view.
bool Stays(bool adds, Resolution resolution) {
    return adds == (resolution == Resolution::Accept);
}

void Splice(pugi::xml_node wrapper) {
    pugi::xml_node parent = wrapper.parent();
    while (pugi::xml_node child = wrapper.first_child()) parent.insert_move_before(child, wrapper);
    parent.remove_child(wrapper);
}

class Resolver {
  public:
    Resolver(Resolution resolution, std::string author)
        : resolution_(resolution), author_(std::move(author)) {}

    void run(pugi::xml_node root) {
        content(root);
        for (const auto& [change, resolution] : propertyChanges_) restore(change, resolution);
        removeEmpty(root);
        // From the last, so that each paragraph joins what the ones after it already became.
        for (auto it = joining_.rbegin(); it != joining_.rend(); ++it) join(*it);
        removeEmpty(root);
    }

  private:
    // Resolves everything below `node`.
    void content(pugi::xml_node node) {
        for (pugi::xml_node child = node.first_child(); child;) {
            const pugi::xml_node next = child.next_sibling();
            if (IsElement(child)) element(node, child);
            child = next;
        }
    }

    void element(pugi::xml_node parent, pugi::xml_node child) {
        const std::string_view name = child.name();
        bool adds = false;
        if (IsContentMark(child, adds)) {
            if (!Stays(adds, of(child))) {
                parent.remove_child(child);
                return;
            }
            content(child);
            if (!adds) undelete(child);
            Splice(child);
            return;
        }
        if (name.starts_with("w:moveFromRange") || name.starts_with("w:moveToRange") ||
            (name.starts_with("w:customXml") && name.find("Range") != std::string_view::npos)) {
            parent.remove_child(child);
            return;
        }
        if (name == "w:tr" && rowGoes(child)) {
            parent.remove_child(child);
            return;
        }
        if (name == "w:tc" && cellGoes(child)) {
            parent.remove_child(child);
            return;
        }
        if (name.starts_with("m:") && mathObjectGoes(child)) {
            parent.remove_child(child);
            return;
        }
        if (name == "w:p") paragraphMark(child);
        if (name.ends_with("PrChange") || name == "w:tblGridChange" ||
            name == "w:numberingChange") {
            // Decided now: restoring one change may take away what names another's author.
            propertyChanges_.emplace_back(child, of(child));
            return;
        }
        content(child);
    }

    // Deleted text that stays reads as text again.
    static void undelete(pugi::xml_node node) {
        for (pugi::xml_node child : node.children()) {
            if (!IsElement(child)) continue;
            if (Is(child, "w:delText")) child.set_name("w:t");
            if (Is(child, "w:delInstrText")) child.set_name("w:instrText");
            undelete(child);
        }
    }

    // Takes the mark off a property element; answers whether what it marks goes.
    bool markedGone(pugi::xml_node properties) {
        bool gone = false;
        for (pugi::xml_node mark = properties.first_child(); mark;) {
            const pugi::xml_node next = mark.next_sibling();
            bool adds = false;
            if (IsContentMark(mark, adds)) {
                gone = gone || !Stays(adds, of(mark));
                properties.remove_child(mark);
            }
            mark = next;
        }
        return gone;
    }

    bool rowGoes(pugi::xml_node row) { return markedGone(row.child("w:trPr")); }

    bool cellGoes(pugi::xml_node cell) {
        pugi::xml_node properties = cell.child("w:tcPr");
        bool gone = false;
        for (const char* name : {"w:cellIns", "w:cellDel"}) {
            if (pugi::xml_node mark = properties.child(name)) {
                const bool adds = std::strcmp(name, "w:cellIns") == 0;
                gone = gone || !Stays(adds, of(mark));
                properties.remove_child(mark);
            }
        }
        return gone;
    }

    // A math object (or an argument) goes with the mark on its control properties, its own
    // (m:f's in m:fPr) or an argument's; a mark that stays gives its formatting back to them.
    bool mathObjectGoes(pugi::xml_node object) {
        const std::string own = std::string(object.name()) + "Pr";
        for (pugi::xml_node control :
             {object.child(own.c_str()).child("m:ctrlPr"), object.child("m:ctrlPr")}) {
            for (pugi::xml_node mark = control.first_child(); mark;) {
                const pugi::xml_node next = mark.next_sibling();
                bool adds = false;
                if (IsContentMark(mark, adds)) {
                    if (!Stays(adds, of(mark))) return true;
                    Splice(mark);
                }
                mark = next;
            }
        }
        return false;
    }

    void paragraphMark(pugi::xml_node paragraph) {
        if (markedGone(paragraph.child("w:pPr").child("w:rPr"))) joining_.push_back(paragraph);
    }

    // A property change rejected puts its record's properties in place of the present ones,
    // keeping what a record never holds: a paragraph mark's formatting and its section, a
    // section's headers and footers.
    void restore(pugi::xml_node change, Resolution resolution) {
        pugi::xml_node owner = change.parent();
        const std::string_view name = change.name();
        if (resolution == Resolution::Accept || name == "w:numberingChange") {
            owner.remove_child(change);
            return;
        }
        const pugi::xml_node old = change.first_child();
        if (name == "w:tblGridChange") {
            while (pugi::xml_node column = owner.child("w:gridCol")) owner.remove_child(column);
            for (pugi::xml_node column : old.children()) owner.append_copy(column);
            owner.remove_child(change);
            return;
        }
        pugi::xml_document kept;
        for (pugi::xml_node child : owner.children()) {
            const std::string_view childName = child.name();
            const bool keep =
                (Is(owner, "w:pPr") && (childName == "w:rPr" || childName == "w:sectPr")) ||
                (Is(owner, "w:sectPr") &&
                 (childName == "w:headerReference" || childName == "w:footerReference"));
            if (keep) kept.append_copy(child);
        }
        pugi::xml_document record;
        for (pugi::xml_node child : old.children()) record.append_copy(child);
        while (pugi::xml_node child = owner.first_child()) owner.remove_child(child);
        for (pugi::xml_node child : kept.children()) owner.append_copy(child);
        for (pugi::xml_node child : record.children()) owner.append_copy(child);
    }

    static bool IsBlock(const pugi::xml_node& node) {
        return Is(node, "w:p") || Is(node, "w:tbl") || Is(node, "w:sdt");
    }

    // The paragraph goes into the next paragraph of its story, ahead of that one's content, or
    // else at the end of the one before; with neither, it goes if nothing is left of it and
    // something else is, or it stood alone in a content control, which then goes too.
    void join(pugi::xml_node paragraph) {
        pugi::xml_node container = paragraph.parent();
        if (!container) return;
        pugi::xml_node next, before;
        for (pugi::xml_node at = paragraph.next_sibling(); at && !next; at = at.next_sibling()) {
            if (Is(at, "w:p")) next = at;
            if (Is(at, "w:tbl") || Is(at, "w:sdt")) break;
        }
        for (pugi::xml_node at = paragraph.previous_sibling(); at && !next && !before;
             at = at.previous_sibling()) {
            if (Is(at, "w:p")) before = at;
            if (Is(at, "w:tbl") || Is(at, "w:sdt")) break;
        }
        std::vector<pugi::xml_node> moving;
        for (pugi::xml_node child : paragraph.children()) {
            if (IsElement(child) && !Is(child, "w:pPr")) moving.push_back(child);
        }
        if (next) {
            pugi::xml_node first =
                next.child("w:pPr") ? next.child("w:pPr").next_sibling() : next.first_child();
            for (pugi::xml_node child : moving) {
                first ? next.insert_move_before(child, first) : next.append_move(child);
            }
        } else if (before) {
            for (pugi::xml_node child : moving) before.append_move(child);
        } else {
            bool others = false;
            for (pugi::xml_node child : container.children()) {
                others = others || (child != paragraph && IsBlock(child));
            }
            const bool control = Is(container, "w:sdtContent");
            // Range marks (of comments, bookmarks) are no content of their own.
            const bool content = std::any_of(moving.begin(), moving.end(), [](const auto& child) {
                return !Is(child, "w:commentRangeStart") && !Is(child, "w:commentRangeEnd") &&
                       !Is(child, "w:bookmarkStart") && !Is(child, "w:bookmarkEnd");
            });
            if (content || (!others && !control)) return;
        }
        container.remove_child(paragraph);
        // A control left empty goes at once: the paragraphs before it join what follows it.
        if (Is(container, "w:sdtContent") && !holdsElements(container)) {
            pugi::xml_node control = container.parent();
            control.parent().remove_child(control);
        }
    }

    // Controls, links and tables that nothing is left of, and equations without a part.
    static void removeEmpty(pugi::xml_node node) {
        for (pugi::xml_node child = node.first_child(); child;) {
            const pugi::xml_node next = child.next_sibling();
            if (IsElement(child)) {
                removeEmpty(child);
                if (empty(child)) node.remove_child(child);
            }
            child = next;
        }
    }

    static bool holdsElements(const pugi::xml_node& node, const char* besides = "") {
        for (pugi::xml_node child : node.children()) {
            if (IsElement(child) && !Is(child, besides)) return true;
        }
        return false;
    }

    static bool empty(const pugi::xml_node& node) {
        if (Is(node, "w:sdt")) {
            return node.child("w:sdtContent") && !holdsElements(node.child("w:sdtContent"));
        }
        if (Is(node, "w:tbl")) {
            return !node.child("w:tr") && !node.child("w:sdt") && !node.child("w:customXml");
        }
        if (Is(node, "w:hyperlink") || Is(node, "w:smartTag")) return !holdsElements(node);
        if (Is(node, "m:oMath") || Is(node, "m:oMathPara")) {
            return !holdsElements(node, "m:oMathParaPr");
        }
        return false;
    }

    // How the mark is resolved: as asked, or when only one author's changes are, the other way
    // for everyone else's.
    Resolution of(const pugi::xml_node& mark) const {
        if (author_.empty() || author_ == AuthorOf(mark)) return resolution_;
        return resolution_ == Resolution::Accept ? Resolution::Reject : Resolution::Accept;
    }

    // A table's grid change names no author: it is the author's whose change of the table's
    // properties or cells it goes with.
    static std::string AuthorOf(const pugi::xml_node& mark) {
        if (pugi::xml_attribute author = mark.attribute("w:author")) return author.value();
        pugi::xml_node table = mark.parent();
        while (table && !Is(table, "w:tbl")) table = table.parent();
        const pugi::xml_node authored = table.find_node([](const pugi::xml_node& node) {
            return std::string_view(node.name()).ends_with("PrChange") &&
                   node.attribute("w:author");
        });
        return authored.attribute("w:author").value();
    }

    Resolution resolution_;
    std::string author_;
    std::vector<std::pair<pugi::xml_node, Resolution>> propertyChanges_;
    std::vector<pugi::xml_node> joining_;
};

}  // namespace

void ResolveTrackedChanges(pugi::xml_node root, Resolution resolution, const std::string& author) {
    Resolver(resolution, author).run(root);
}
