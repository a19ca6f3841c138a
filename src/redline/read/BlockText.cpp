#include "redline/read/BlockText.h"

#include <algorithm>
#include <string_view>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"
#include "redline/read/Words.h"

namespace redline {

namespace {

// A thing that is not text, as a word of its own: its name without its prefix, so that it reads
// as one word.
void AddObjectWord(const pugi::xml_node& element, std::string& text) {
    text += " object_";
    text += element.name() + 2;
    text += ' ';
}

// The text of the block, and a word of its own for each thing that is not text (a note's
// reference, a field, a picture, an equation): short paragraphs are alike by those too.
std::string BagText(const pugi::xml_node& node) {
    std::string text;
    WalkContent(node, [&](const pugi::xml_node& element, ElementKind kind) {
        switch (kind) {
            case ElementKind::Text:
                // Words run on across runs: a writer cuts runs anywhere, inside words too.
                text += element.text().get();
                return false;
            case ElementKind::Tab:
            case ElementKind::Break:
                text += ' ';
                return false;
            case ElementKind::NoteReference:
            case ElementKind::FieldCode:
                AddObjectWord(element, text);
                return false;
            case ElementKind::Object:
                // A picture is a word; an older form or an alternative is walked into, for
                // the words of the text box it may hold and the picture it holds.
                if (!Named(element, "w:drawing") && !Named(element, "w:object")) return true;
                AddObjectWord(element, text);
                return false;
            case ElementKind::Equation:
                if (Named(element, "m:oMathPara")) return true;  // one word per equation
                AddObjectWord(element, text);
                return false;
            default:
                if (Named(element, "w:fldSimple")) AddObjectWord(element, text);
                if (Named(element, "w:p")) text += ' ';  // paragraphs of a cell or a box
                return true;
        }
    });
    return text;
}

// The text of a block as a change report gives it, appended to `text`.
void AppendText(const pugi::xml_node& node, std::string& text) {
    for (const pugi::xml_node& child : node.children()) {
        const ElementKind kind = KindOf(child);
        if (kind == ElementKind::Text || kind == ElementKind::Tab || kind == ElementKind::Break ||
            kind == ElementKind::NoBreakHyphen) {
            text += ShownText(child);
        } else if (Named(child, "w:p")) {
            if (!text.empty() && text.back() != '\n') text += '\n';
            AppendText(child, text);
        } else if (Named(child, "mc:Fallback")) {
            continue;  // the same content in an older form, which a reader is not shown
        } else if (child.type() == pugi::node_element && kind != ElementKind::FieldCode) {
            AppendText(child, text);
        }
    }
}

}  // namespace

Bag WordsOf(const pugi::xml_node& node, bool caseless) {
    std::string text = BagText(node);
    if (caseless) text = FoldCase(text);
    Bag bag;
    for (const WordSpan& span : SplitWords(text)) {
        const std::string_view word(text.data() + span.begin, span.end - span.begin);
        if (HoldsLetters(word)) bag.push_back(std::hash<std::string_view>{}(word));
    }
    std::sort(bag.begin(), bag.end());
    return bag;
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

std::string ReportText(const pugi::xml_node& node) {
    std::string text;
    AppendText(node, text);
    return text;
}

}  // namespace redline
