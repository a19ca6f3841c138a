#include "redline/read/Story.h"

#include <functional>
#include <string>

#include "redline/io/Xml.h"
#include "redline/read/Canonical.h"
#include "redline/read/ShownText.h"

namespace redline {

namespace {

std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) {
    return (hash ^ value) * 1099511628211ull + 0x9E3779B97F4A7C15ull;
}

// A table's, row's or cell's properties, for how it looks.
std::uint64_t PropertiesHash(const pugi::xml_node& properties) {
    return properties ? std::hash<std::string>{}(CanonicalProperties(properties)) : 0;
}

// The mark that every one of the rows carries alike (the first's), or none.
Revision RowMark(const std::vector<pugi::xml_node>& rows) {
    Revision first;
    for (const pugi::xml_node& row : rows) {
        Revision own;
        for (const pugi::xml_node& mark : row.child("w:trPr").children()) {
            if (const Revision revision = RevisionOf(mark); revision.kind != MarkKind::None) {
                own = revision;
            }
        }
        if (own.kind == MarkKind::None || (first.kind != MarkKind::None && own.kind != first.kind))
            return {};
        if (first.kind == MarkKind::None) first = own;
    }
    return first;
}

bool IsBlock(const pugi::xml_node& node) {
    return NamedOneOf(node, {"w:p", "w:tbl", "w:sdt", "w:customXml", "w:altChunk"});
}

// The properties of the container itself, rather than of a block it holds.
bool IsOwnProperties(const pugi::xml_node& node) {
    return NamedOneOf(node, {"w:tcPr", "w:sdtPr", "w:sdtEndPr", "w:customXmlPr"});
}

// What a block-level control or custom XML element holds its blocks in.
pugi::xml_node ContentOf(const pugi::xml_node& control) {
    const pugi::xml_node content = control.child("w:sdtContent");
    return content ? content : control;
}

}  // namespace

std::uint32_t ParagraphsIn(const pugi::xml_node& node) {
    std::uint32_t count = 0;
    for (const pugi::xml_node& child : node.children()) {
        if (Named(child, "w:p")) ++count;
        if (child.type() == pugi::node_element && !Named(child, "w:txbxContent") &&
            !Named(child, "w:rPr") && !Named(child, "w:pPr")) {
            count += ParagraphsIn(child);
        }
    }
    return count;
}

Story StoryReader::read(const pugi::xml_node& container, std::uint32_t firstParagraph) {
    paragraph_ = firstParagraph;
    Story story;
    story.container = container;
    story.paragraphs = arena_;
    // As many blocks as it has children, at most: one allocation for a long story's blocks.
    std::size_t children = 0;
    for (pugi::xml_node child = container.first_child(); child; child = child.next_sibling()) {
        ++children;
    }
    story.blocks.reserve(children);
    std::vector<pugi::xml_node> pending;
    for (pugi::xml_node child = container.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (!IsBlock(child)) {
            // Bookmarks, section properties and the like; a cell's or a control's own
            // properties stay first, where they are.
            if (!IsOwnProperties(child)) pending.push_back(child);
            continue;
        }
        Block block = Named(child, "w:p")          ? paragraph(child)
                      : Named(child, "w:tbl")      ? table(child)
                      : Named(child, "w:altChunk") ? other(child)
                                                   : control(child);
        block.leading = std::move(pending);
        pending.clear();
        story.blocks.push_back(std::move(block));
    }
    story.trailing = std::move(pending);
    return story;
}

Block StoryReader::paragraph(const pugi::xml_node& node) {
    const Paragraph* content =
        &arena_->paragraphs.add(ReadParagraph(node, keys_, objects_, arena_.get()));
    Block block{BlockKind::Paragraph, node};
    block.weight = static_cast<std::uint32_t>(content->stream.size());
    block.paragraph = paragraph_++;
    if (hashed_) {
        block.text = TextHash(*content, keys_);
        // A paragraph that ends a section is that paragraph only where it still does: so an
        // empty one pairs with the empty one that ends the same section, not with any other.
        if (node.child("w:pPr").child("w:sectPr")) block.text = Mix(block.text, 0x5EC7104);
        block.look = LookHash(*content, block.text);
    }
    block.content = content;
    return block;
}

// An imported chunk: compared whole, by what it imports.
Block StoryReader::other(const pugi::xml_node& node) {
    Block block{BlockKind::Other, node};
    block.text = std::hash<std::string>{}(objects_.describe(node)) ^ 0x5A5A;
    block.weight = static_cast<std::uint32_t>(ShownText(node).size());
    block.look = std::hash<std::string>{}(node.path()) ^ block.text;
    block.paragraph = paragraph_;
    paragraph_ += ParagraphsIn(node);
    return block;
}

std::string ControlKey(const pugi::xml_node& control) {
    if (Named(control, "w:customXml")) {
        return "xml:" + Attribute(control, "w:uri") + "|" + Attribute(control, "w:element") + "|" +
               CanonicalProperties(control.child("w:customXmlPr"));
    }
    const pugi::xml_node properties = control.child("w:sdtPr");
    return Attribute(properties.child("w:tag"), "w:val") + "|" +
           Attribute(properties.child("w:alias"), "w:val");
}

Block StoryReader::control(const pugi::xml_node& node) {
    Block block{BlockKind::Control, node};
    block.paragraph = paragraph_;
    block.control = std::hash<std::string>{}(ControlKey(node));
    block.text = block.look = std::hash<std::string>{}("control:" + ControlKey(node));
    // Its paragraphs are numbered on as the story's own.
    auto inside = std::make_shared<Story>(read(ContentOf(node), paragraph_));
    for (const Block& inner : inside->blocks) {
        block.text = Mix(block.text, inner.text);
        block.look = Mix(block.look, inner.look);
        block.weight += inner.weight;
    }
    block.inside = std::move(inside);
    return block;
}

Block StoryReader::table(const pugi::xml_node& node) {
    Block block{BlockKind::Table, node};
    block.paragraph = paragraph_;
    block.text = 0x7AB1E;
    // How it looks: its own properties and columns, and each row's.
    block.look = Mix(Mix(0x7AB1E, PropertiesHash(node.child("w:tblPr"))),
                     PropertiesHash(node.child("w:tblGrid")));
    for (const pugi::xml_node& child : node.children()) {
        // A row, or a content control around rows: one unit, with the cells of its rows.
        if (!NamedOneOf(child, {"w:tr", "w:sdt", "w:customXml"})) continue;
        Row row = this->row(child);
        if (!row.tr) continue;
        block.text = Mix(block.text, row.text);
        block.look = Mix(block.look, row.look);
        block.weight += 1;
        block.rows.push_back(std::move(row));
    }
    return block;
}

std::vector<pugi::xml_node> WrappedChildren(const pugi::xml_node& parent, const char* name) {
    std::vector<pugi::xml_node> found;
    for (const pugi::xml_node& child : parent.children()) {
        if (Named(child, name)) {
            found.push_back(child);
        } else if (Named(child, "w:sdt") || Named(child, "w:customXml")) {
            const pugi::xml_node inside =
                Named(child, "w:sdt") ? child.child("w:sdtContent") : child;
            for (const pugi::xml_node& wrapped : WrappedChildren(inside, name)) {
                found.push_back(wrapped);
            }
        }
    }
    return found;
}

Row StoryReader::row(const pugi::xml_node& node) {
    const bool wrapper = !Named(node, "w:tr");
    const std::vector<pugi::xml_node> trs =
        wrapper ? WrappedChildren(Named(node, "w:sdt") ? node.child("w:sdtContent") : node, "w:tr")
                : std::vector<pugi::xml_node>{node};
    if (trs.empty()) return {};
    const std::uint64_t seed =
        wrapper ? std::hash<std::string>{}("control:" + ControlKey(node)) : 0x12345;
    Row row{node, trs.front(), seed, Mix(seed, PropertiesHash(trs.front().child("w:trPr")))};
    row.paragraph = paragraph_;
    row.mark = RowMark(trs);
    std::vector<std::pair<pugi::xml_node, pugi::xml_node>> cells;  // each cell, and its row
    for (const pugi::xml_node& tr : trs) {
        for (const pugi::xml_node& tc : WrappedChildren(tr, "w:tc")) cells.emplace_back(tc, tr);
    }
    std::string shape = std::to_string(cells.size()) + (wrapper ? "|" + ControlKey(node) : "");
    for (const auto& [tc, tr] : cells) {
        shape += Named(tc.parent(), "w:sdtContent") ? "c" + ControlKey(tc.parent().parent()) : "-";
    }
    row.shape = static_cast<int>(std::hash<std::string>{}(shape)&0x7FFFFFFF);
    for (const auto& [tc, tr] : cells) {
        const std::uint32_t first = paragraph_;
        Cell cell{tc, tr, read(tc, first), first};
        std::uint64_t text = 0xCE11, look = Mix(0xCE11, PropertiesHash(tc.child("w:tcPr")));
        for (const Block& block : cell.story.blocks) {
            text = Mix(text, block.text);
            look = Mix(look, block.look);
        }
        row.text = Mix(row.text, text);
        row.look = Mix(row.look, look);
        row.cells.push_back(std::move(cell));
    }
    return row;
}

}  // namespace redline
