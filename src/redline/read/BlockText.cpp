#include "redline/read/BlockText.h"

#include <algorithm>
#include <string_view>

#include "redline/read/Paragraph.h"
#include "redline/read/ShownText.h"
#include "redline/read/Words.h"

namespace redline {

namespace {

// A thing that is not text, as a word of its own that says what it is.
const char* ObjectWord(InlineKind kind) {
    switch (kind) {
        case InlineKind::NoteReference:
            return " object_note ";
        case InlineKind::Field:
            return " object_field ";
        case InlineKind::Drawing:
        case InlineKind::Object:
            return " object_drawing ";
        case InlineKind::Equation:
            return " object_equation ";
        default:
            return " ";
    }
}

// Whether the words a thing shows count as the paragraph's: a field's result, a control's
// content and the words of a shape's text boxes do; an equation is one thing.
bool ShowsWords(InlineKind kind) {
    return kind != InlineKind::Equation;
}

// The paragraph's words: words run on across runs, as a writer cuts runs anywhere, inside words
// too; each thing that is not text is a word of its own.
void AppendBagText(const Paragraph& paragraph, std::string& text) {
    for (const Inline& piece : paragraph.inlines) {
        if (piece.place == Place::Text) {
            text += paragraph.textOf(piece);
        } else if (piece.place != Place::Marker) {
            text += ObjectWord(piece.kind);
            if (ShowsWords(piece.kind)) {
                text += paragraph.textOf(piece);
                text += ' ';
            }
        }
    }
}

void AppendBagText(const Story& story, std::string& text);

void AppendBagText(const Block& block, std::string& text) {
    if (block.content) {
        AppendBagText(*block.content, text);
    } else if (block.inside) {
        AppendBagText(*block.inside, text);
    } else if (!block.rows.empty()) {
        for (const Row& row : block.rows) {
            for (const Cell& cell : row.cells) AppendBagText(cell.story, text);
        }
    } else {
        AppendShownText(block.node, text);
    }
}

// Paragraphs of a cell or a control are words apart.
void AppendBagText(const Story& story, std::string& text) {
    for (const Block& block : story.blocks) {
        AppendBagText(block, text);
        text += ' ';
    }
}

Bag BagOfText(std::string text, bool caseless) {
    if (caseless) text = FoldCase(text);
    Bag bag;
    for (const WordSpan& span : SplitWords(text)) {
        const std::string_view word(text.data() + span.begin, span.end - span.begin);
        if (HoldsLetters(word)) bag.push_back(std::hash<std::string_view>{}(word));
    }
    std::sort(bag.begin(), bag.end());
    return bag;
}

void AppendLine(const std::string& line, std::string& text) {
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += line;
}

void AppendReaderText(const Story& story, std::string& text);

void AppendReaderText(const Block& block, std::string& text) {
    if (block.content) {
        AppendLine(ReaderText(*block.content), text);
    } else if (block.inside) {
        AppendReaderText(*block.inside, text);
    } else if (!block.rows.empty()) {
        for (const Row& row : block.rows) AppendLine(ReaderText(row), text);
    } else {
        AppendLine(ShownText(block.node), text);
    }
}

void AppendReaderText(const Story& story, std::string& text) {
    for (const Block& block : story.blocks) AppendReaderText(block, text);
}

}  // namespace

Bag BagOf(const Block& block, bool caseless) {
    std::string text;
    AppendBagText(block, text);
    return BagOfText(std::move(text), caseless);
}

Bag BagOf(const Row& row, bool caseless) {
    std::string text;
    for (const Cell& cell : row.cells) AppendBagText(cell.story, text);
    return BagOfText(std::move(text), caseless);
}

Bag BagOf(const Story& story, bool caseless) {
    std::string text;
    AppendBagText(story, text);
    return BagOfText(std::move(text), caseless);
}

bool ShowsAnything(const Block& block) {
    if (block.content) {
        return std::any_of(block.content->inlines.begin(), block.content->inlines.end(),
                           [](const Inline& piece) { return piece.place != Place::Marker; });
    }
    if (block.inside) {
        return std::any_of(block.inside->blocks.begin(), block.inside->blocks.end(),
                           [](const Block& inner) { return ShowsAnything(inner); });
    }
    return true;
}

double Shared(const Bag& a, const Bag& b) {
    // Without branches: which side steps on is as good as random, and this is asked for every
    // pair of paragraphs a changed stretch may pair.
    std::size_t common = 0;
    for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        const std::uint64_t x = a[i], y = b[j];
        common += x == y;
        i += x <= y;
        j += y <= x;
    }
    const std::size_t total = a.size() + b.size();
    return total ? 2.0 * static_cast<double>(common) / static_cast<double>(total) : 1.0;
}

std::string ReaderText(const Block& block) {
    std::string text;
    AppendReaderText(block, text);
    return text;
}

std::string ReaderText(const Row& row) {
    std::string text;
    for (const Cell& cell : row.cells) AppendReaderText(cell.story, text);
    return text;
}

std::string ReaderText(const Story& story) {
    std::string text;
    AppendReaderText(story, text);
    return text;
}

}  // namespace redline
