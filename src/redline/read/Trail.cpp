#include "redline/read/Trail.h"

#include <functional>
#include <string_view>

#include "redline/io/Names.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

constexpr std::uint32_t kFieldCode = 0x200000;  // above every code point: a field's code
constexpr std::uint32_t kChild = 0x400000;      // a run's child that is not text, by its name
constexpr std::uint32_t kParagraphEnd = 0x600001;
constexpr std::uint32_t kRowEnd = 0x600002;
constexpr std::uint32_t kEquation = 0x600003;
constexpr std::uint32_t kWholeText = 0x80000000;  // a whole text's key: its hash

// Properties take no place in the reading: w:rPr, w:pPr, w:tblPr, w:sdtPr, w:tblPrEx, w:tblGrid.
bool IsProperties(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    return name.ends_with("Pr") || name.ends_with("PrEx") || name == "w:tblGrid";
}

// The bytes of the UTF-8 code point that starts with `lead`; a stray byte stands alone.
std::uint32_t CodePointLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    return lead < 0xF0 ? 3 : 4;
}

std::uint32_t CodePoint(std::string_view bytes) {
    auto lead = static_cast<unsigned char>(bytes[0]);
    if (bytes.size() == 1) return lead;
    std::uint32_t value = lead & (0x7F >> bytes.size());
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        value = (value << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
    }
    return value;
}

struct Context {
    pugi::xml_node mark{};
    bool removed = false;
    pugi::xml_node paragraph{};
};

class TrailReader {
  public:
    explicit TrailReader(bool coarse) : coarse_(coarse) {}
    std::vector<TrailStep> steps;

    void children(const pugi::xml_node& node, const Context& context) {
        for (pugi::xml_node child : node.children()) element(child, context);
    }

    // The steps a code point of a whole text's step.
    void fine(const TrailStep& whole) {
        const bool field = Named(whole.node, w::instrText) || Named(whole.node, w::delInstrText);
        text(whole.node, field ? kFieldCode : 0, {whole.mark, whole.removed, whole.paragraph});
    }

  private:
    void element(const pugi::xml_node& node, Context context) {
        if (node.type() != pugi::node_element || IsProperties(node)) return;
        if (Named(node, w::p)) return paragraph(node, context);
        if (Named(node, w::tr)) return row(node, context);
        if (Named(node, w::r)) return run(node, context);
        if (Named(node, m::oMathPara) || Named(node, m::oMath)) return equation(node, context);
        if (Named(node, w::ins) || Named(node, w::moveTo)) {
            context.mark = node;
        } else if (Named(node, w::del) || Named(node, w::moveFrom)) {
            context.mark = node;
            context.removed = true;
        }
        children(node, context);
    }

    void paragraph(const pugi::xml_node& node, Context context) {
        context.paragraph = node;
        children(node, context);
        pugi::xml_node own;
        for (pugi::xml_node mark : node.child(w::pPr).child(w::rPr).children()) {
            if (NamedOneOf(mark, {w::ins, w::del, w::moveFrom, w::moveTo})) own = mark;
        }
        // A story's only paragraph stays when its mark is deleted: a note, a cell, a text box
        // keeps one.
        const bool kept = own && Removes(own) && !context.removed && Alone(node);
        steps.push_back({TrailKind::ParagraphEnd, context.removed || (own && Removes(own) && !kept),
                         kParagraphEnd, 0, 0, node, own ? own : context.mark, node});
    }

    static bool Alone(const pugi::xml_node& paragraph) {
        for (pugi::xml_node other : paragraph.parent().children()) {
            if (other != paragraph && NamedOneOf(other, {w::p, w::tbl, w::sdt})) return false;
        }
        return true;
    }

    void row(const pugi::xml_node& node, Context context) {
        pugi::xml_node own;
        for (pugi::xml_node mark : node.child(w::trPr).children()) {
            if (NamedOneOf(mark, {w::ins, w::del})) own = mark;
        }
        if (own) {
            context.mark = own;
            context.removed = context.removed || Removes(own);
        }
        children(node, context);
        steps.push_back({TrailKind::RowEnd, context.removed, kRowEnd, 0, 0, node, own, {}});
    }

    // An equation's changes are marks around its runs or in their properties: all inserted,
    // all deleted, or some of them.
    void equation(const pugi::xml_node& node, const Context& context) {
        int runs = 0, inserted = 0, deleted = 0;
        pugi::xml_node mark;
        auto count = [&](const pugi::xml_node& own) {
            if (Named(own, w::ins)) ++inserted, mark = own;
            if (Named(own, w::del)) ++deleted, mark = own;
        };
        for (const pugi::xpath_node& found : node.select_nodes(".//m:r")) {
            ++runs;
            for (pugi::xml_node own : found.node().child(w::rPr).children()) count(own);
            for (pugi::xml_node up = found.node().parent(); up && up != node; up = up.parent())
                count(up);
        }
        TrailStep step{TrailKind::Equation,
                       context.removed || (deleted > 0 && deleted == runs),
                       kEquation,
                       0,
                       0,
                       node,
                       context.mark,
                       context.paragraph};
        if (!context.mark && mark) step.mark = mark;
        step.partly = (inserted || deleted) && inserted != runs && deleted != runs;
        steps.push_back(step);
    }

    void run(const pugi::xml_node& node, const Context& context) {
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element || IsProperties(child)) continue;
            if (NamedOneOf(child, {w::t, w::delText})) {
                text(child, 0, context);
            } else if (Named(child, w::instrText) || Named(child, w::delInstrText)) {
                text(child, kFieldCode, context);
            } else {
                object(child, context);
            }
        }
    }

    void text(const pugi::xml_node& node, std::uint32_t base, const Context& context) {
        const std::string_view value = node.text().get();
        if (coarse_ && !context.mark && !context.removed && !value.empty() &&
            !node.parent().child(w::rPr).child(w::rPrChange)) {
            const auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(value));
            TrailStep step{TrailKind::Text,
                           false,
                           kWholeText | ((hash ^ base) & ~kWholeText),
                           0,
                           static_cast<std::uint32_t>(value.size()),
                           node,
                           {},
                           context.paragraph};
            step.whole = true;
            steps.push_back(step);
            return;
        }
        for (std::size_t at = 0; at < value.size();) {
            const std::uint32_t length = std::min<std::uint32_t>(
                CodePointLength(static_cast<unsigned char>(value[at])), value.size() - at);
            steps.push_back(
                {TrailKind::Text, context.removed, base + CodePoint(value.substr(at, length)),
                 static_cast<std::uint32_t>(at), length, node, context.mark, context.paragraph});
            at += length;
        }
    }

    void object(const pugi::xml_node& node, const Context& context) {
        std::string_view name = node.name();
        if (name == "w:delInstrText") name = "w:instrText";
        std::string identity(name);
        // A symbol is its character; a note's reference is a note, whichever.
        if (const char* symbol = node.attribute("w:char").value(); *symbol) identity += symbol;
        const auto key = static_cast<std::uint32_t>(std::hash<std::string>{}(identity)&0xFFFFF);
        steps.push_back({TrailKind::Child, context.removed, kChild + key, 0, 0, node, context.mark,
                         context.paragraph});
        // A drawing's text boxes are read where the drawing stands, in each of its forms.
        boxes(node, {context.removed ? context.mark : pugi::xml_node{}, context.removed, {}});
    }

    bool coarse_;

    void boxes(const pugi::xml_node& node, const Context& context) {
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            if (Named(child, w::txbxContent)) {
                children(child, context);
            } else {
                boxes(child, context);
            }
        }
    }
};

}  // namespace

std::vector<TrailStep> TrailOf(const pugi::xml_node& root, bool coarse) {
    TrailReader reader(coarse);
    reader.children(root, {});
    return std::move(reader.steps);
}

void AppendFineSteps(const TrailStep& whole, std::vector<TrailStep>& steps) {
    TrailReader reader(false);
    reader.fine(whole);
    for (const TrailStep& step : reader.steps) steps.push_back(step);
}

std::uint64_t AcceptedDigest(const std::vector<TrailStep>& steps) {
    std::uint64_t digest = 14695981039346656037ull;
    auto feed = [&](unsigned char byte) { digest = (digest ^ byte) * 1099511628211ull; };
    for (const TrailStep& step : steps) {
        if (step.removed) continue;
        if (step.kind == TrailKind::Text) {
            const char* text = step.node.text().get() + step.offset;
            for (std::uint32_t i = 0; i < step.length; ++i)
                feed(static_cast<unsigned char>(text[i]));
            continue;
        }
        for (int shift = 0; shift < 32; shift += 8)
            feed(static_cast<unsigned char>(step.key >> shift));
    }
    return digest;
}

bool Removes(const pugi::xml_node& mark) {
    return Named(mark, w::del) || Named(mark, w::moveFrom);
}

pugi::xml_node FormatChangeOf(const TrailStep& step) {
    if (step.kind != TrailKind::Text && step.kind != TrailKind::Child) return {};
    return step.node.parent().child(w::rPr).child(w::rPrChange);
}

}  // namespace redline
