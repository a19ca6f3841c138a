#include "redline/read/Story.h"
#include "redline/io/Xml.h"
#include "redline/read/Canonical.h"

#include <cstring>
#include <string>

namespace redline {

namespace {

std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) {
    return (hash ^ value) * 1099511628211ull + 0x9E3779B97F4A7C15ull;
}

// The text of every w:t below `node`, for blocks compared only as a whole.
std::uint64_t TextOfOther(const pugi::xml_node& node, std::uint32_t& weight) {
    std::string text;
    for (const pugi::xpath_node& t : node.select_nodes(".//w:t")) text += t.node().text().get();
    weight = static_cast<std::uint32_t>(text.size());
    return std::hash<std::string>{}(text) ^ 0x5A5A;
}

// A table's, row's or cell's properties, for how it looks.
std::uint64_t PropertiesHash(const pugi::xml_node& properties) {
    return properties ? std::hash<std::string>{}(CanonicalProperties(properties)) : 0;
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
    std::vector<pugi::xml_node> pending;
    for (pugi::xml_node child = container.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (Named(child, "w:p")) {
            ParagraphContent content = ReadParagraph(child, keys_, objects_);
            std::uint64_t text = TextHash(content, keys_);
            // A paragraph that ends a section is that paragraph only where it still does: so an
            // empty one pairs with the empty one that ends the same section, not with any other.
            if (child.child("w:pPr").child("w:sectPr")) text = Mix(text, 0x5EC7104);
            Block block{BlockKind::Paragraph,
                        child,
                        text,
                        LookHash(content, text),
                        static_cast<std::uint32_t>(content.stream.size()),
                        paragraph_++};
            if (content.stream.size() >= kKeptFrom) {
                kept_.insert_or_assign(child.internal_object(), std::move(content));
            }
            block.leading = std::move(pending);
            pending.clear();
            story.blocks.push_back(std::move(block));
        } else if (Named(child, "w:tbl")) {
            Block block = table(child);
            block.leading = std::move(pending);
            pending.clear();
            story.blocks.push_back(std::move(block));
        } else if (Named(child, "w:sdt") && child.child("w:sdtContent")) {
            Block block = control(child);
            block.leading = std::move(pending);
            pending.clear();
            story.blocks.push_back(std::move(block));
        } else if (Named(child, "w:sdt") || Named(child, "w:customXml") ||
                   Named(child, "w:altChunk")) {
            Block block{BlockKind::Other, child};
            block.text = TextOfOther(child, block.weight);
            block.look = std::hash<std::string>{}(child.path()) ^ block.text;
            block.paragraph = paragraph_;
            paragraph_ += ParagraphsIn(child);
            block.leading = std::move(pending);
            pending.clear();
            story.blocks.push_back(std::move(block));
        } else if (!Named(child, "w:tcPr")) {
            pending.push_back(child);  // bookmarks, section properties and the like
        }
    }
    story.trailing = std::move(pending);
    return story;
}

ParagraphContent StoryReader::content(const Block& paragraph) {
    if (const auto found = kept_.find(paragraph.node.internal_object()); found != kept_.end()) {
        ParagraphContent content = std::move(found->second);
        kept_.erase(found);
        return content;
    }
    return ReadParagraph(paragraph.node, keys_, objects_);
}

std::string ControlKey(const pugi::xml_node& control) {
    const pugi::xml_node properties = control.child("w:sdtPr");
    return Attribute(properties.child("w:tag"), "w:val") + "|" +
           Attribute(properties.child("w:alias"), "w:val");
}

Block StoryReader::control(const pugi::xml_node& node) {
    Block block{BlockKind::Control, node};
    block.paragraph = paragraph_;
    block.text = block.look = std::hash<std::string>{}("control:" + ControlKey(node));
    // Read for its hashes; its paragraphs are numbered on as the story's own.
    const std::uint32_t first = paragraph_;
    const Story inside = read(node.child("w:sdtContent"), first);
    for (const Block& inner : inside.blocks) {
        block.text = Mix(block.text, inner.text);
        block.look = Mix(block.look, inner.look);
        block.weight += inner.weight;
    }
    return block;
}

Block StoryReader::table(const pugi::xml_node& node) {
    Block block{BlockKind::Table, node};
    block.paragraph = paragraph_;
    block.text = 0x7AB1E;
    // How it looks: its own properties and columns, and each row's.
    block.look = Mix(Mix(0x7AB1E, PropertiesHash(node.child("w:tblPr"))),
                     PropertiesHash(node.child("w:tblGrid")));
    for (const Row& row : rows(block)) {
        block.text = Mix(block.text, row.text);
        block.look = Mix(block.look, row.look);
        block.weight += 1;
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

std::vector<Row> StoryReader::rows(const Block& table) {
    std::vector<Row> rows;
    paragraph_ = table.paragraph;
    for (const pugi::xml_node& child : table.node.children()) {
        // A row, or a content control around rows: one unit, with the cells of its rows.
        const bool wrapper = Named(child, "w:sdt") || Named(child, "w:customXml");
        if (!Named(child, "w:tr") && !wrapper) continue;
        const std::vector<pugi::xml_node> trs =
            wrapper ? WrappedChildren(Named(child, "w:sdt") ? child.child("w:sdtContent") : child,
                                      "w:tr")
                    : std::vector<pugi::xml_node>{child};
        if (trs.empty()) continue;
        const std::uint64_t seed =
            wrapper ? std::hash<std::string>{}("control:" + ControlKey(child)) : 0x12345;
        Row row{child, trs.front(), seed, Mix(seed, PropertiesHash(trs.front().child("w:trPr")))};
        row.paragraph = paragraph_;
        std::vector<pugi::xml_node> cells;
        for (const pugi::xml_node& tr : trs) {
            for (const pugi::xml_node& tc : WrappedChildren(tr, "w:tc")) cells.push_back(tc);
        }
        std::string shape = std::to_string(cells.size()) + (wrapper ? "|" + ControlKey(child) : "");
        for (const pugi::xml_node& tc : cells) {
            shape +=
                Named(tc.parent(), "w:sdtContent") ? "c" + ControlKey(tc.parent().parent()) : "-";
        }
        row.shape = static_cast<int>(std::hash<std::string>{}(shape)&0x7FFFFFFF);
        for (const pugi::xml_node& tc : cells) {
            row.cells.push_back(tc);
            StoryReader cellReader(keys_, objects_);
            const Story cell = cellReader.read(tc, paragraph_);
            paragraph_ = cellReader.paragraph_;
            std::uint64_t text = 0xCE11, look = Mix(0xCE11, PropertiesHash(tc.child("w:tcPr")));
            for (const Block& block : cell.blocks) {
                text = Mix(text, block.text);
                look = Mix(look, block.look);
            }
            row.text = Mix(row.text, text);
            row.look = Mix(row.look, look);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace redline
