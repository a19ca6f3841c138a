#include "redline/parts/CommentAnchors.h"
#include "redline/io/Names.h"

#include <algorithm>
#include <vector>

#include "redline/io/Xml.h"
#include "redline/read/NestedStories.h"
#include "redline/read/Story.h"

namespace redline {

namespace {

class AnchorWalk {
  public:
    std::unordered_map<std::string, CommentAnchor> anchors;

    void story(const Story& story) {
        for (const Block& block : story.blocks) {
            for (const pugi::xml_node& marker : block.leading) mark(marker);
            this->block(block);
        }
        for (const pugi::xml_node& marker : story.trailing) mark(marker);
    }

  private:
    void block(const Block& block) {
        if (block.content) {
            paragraph(*block.content);
        } else if (block.inside) {
            story(*block.inside);
        } else {
            for (const Row& row : block.rows) {
                for (const Cell& cell : row.cells) story(cell.story);
            }
        }
    }

    void paragraph(const Paragraph& content) {
        for (const Inline& piece : content.inlines) {
            // What rejecting takes away is not there to be annotated.
            const bool taken =
                piece.mark.kind == MarkKind::Inserted || piece.mark.kind == MarkKind::MovedTo;
            if (piece.place == Place::Marker) {
                mark(piece.node);
            } else if ((piece.kind == InlineKind::Drawing || piece.kind == InlineKind::Object) &&
                       piece.place == Place::RunChild && HoldsTextBox(piece.node)) {
                if (!taken) boxes(piece.node);
            } else if (!taken) {
                text(content.textOf(piece));
            }
        }
    }

    void boxes(const pugi::xml_node& shape) {
        for (const pugi::xml_node& content : BoxContents(shape, ShapeForms::Shown)) {
            KeyTable keys;
            NoObjectKeys objects;
            story(StoryReader(keys, objects).withoutHashes().read(content));
        }
    }

    void text(std::string_view shown) {
        offset_ += shown.size();
        for (const auto& range : open_) range.second->text += shown;
    }

    void mark(const pugi::xml_node& marker) {
        const std::string id = Attribute(marker, "w:id");
        if (Named(marker, w::commentRangeStart)) {
            CommentAnchor& anchor = anchors[id];
            anchor.offset = offset_;
            // A range opened twice is one range.
            close(id);
            open_.emplace_back(id, &anchor);
        } else if (Named(marker, w::commentRangeEnd)) {
            close(id);
        } else if (Named(marker, w::commentReference)) {
            // A comment without a range annotates the place of its reference.
            anchors.try_emplace(id, CommentAnchor{offset_, ""});
        }
    }

    void close(const std::string& id) {
        std::erase_if(open_, [&](const auto& range) { return range.first == id; });
    }

    std::size_t offset_ = 0;
    std::vector<std::pair<std::string, CommentAnchor*>> open_;
};

}  // namespace

std::unordered_map<std::string, CommentAnchor> CommentAnchors(const Story& story) {
    AnchorWalk walk;
    walk.story(story);
    return std::move(walk.anchors);
}

}  // namespace redline
