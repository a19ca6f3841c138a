// Blocks around other blocks (custom XML, a content control without a content element) and an
// imported chunk: whatever a reader sees of one that changed (a picture, an equation, a tab, its
// formatting) is marked, and both views give the documents back.
#include "KeptContent.h"
#include "support/CanonicalDocument.h"

using namespace docx;
using namespace kept;

namespace {

struct Edit {
    const char* what;
    std::string original, revised;  // a paragraph's content on each side
};

std::string Equation(const std::string& text) {
    return "<m:oMath><m:r><m:t>" + text + "</m:t></m:r></m:oMath>";
}

const Edit kEdits[] = {
    {"a tab", R("Fee") + "<w:r><w:tab/></w:r>" + R("due"), R("Fee") + R("due")},
    {"formatting", R("Fee due"), R("Fee due", "<w:b/>")},
    {"an equation", R("Fee ") + Equation("x"), R("Fee ") + Equation("y")},
    {"a picture", R("Fee ") + Picture("rIdPic0"), R("Fee ") + Picture("rIdPic1")},
    {"a symbol", R("Fee ") + Symbol("*"), R("Fee ")},
};

DocxParts Pictures() {
    DocxParts parts;
    parts.parts["word/media/image1.png"] = Png(0x40);
    parts.parts["word/media/image2.png"] = Png(0xC0);
    parts.relationships["rIdPic0"] = {"image", "media/image1.png"};
    parts.relationships["rIdPic1"] = {"image", "media/image2.png"};
    return parts;
}

class WholeBlocks : public KeptContent {
  protected:
    // Compares and checks that something is marked and that each view gives its document.
    void expectMarked(const std::string& original, const std::string& revised,
                      const DocxParts& partsA = Pictures(), const DocxParts& partsB = Pictures()) {
        const auto changes = compare(original, revised, partsA, partsB);
        EXPECT_FALSE(changes.empty());
        EXPECT_EQ(CanonicalDocument(r_, Resolution::Reject), CanonicalDocument(a_));
        EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept), CanonicalDocument(b_));
    }
};

}  // namespace

// Custom XML around paragraphs, and a control whose paragraphs stand in it without a content
// element, are compared inside, as a control's content is.
TEST_F(WholeBlocks, WrappersAroundParagraphsAreMarkedForWhateverChangedInside) {
    const std::pair<std::string, std::string> wrappers[] = {
        {"<w:customXml w:element=\"clause\">", "</w:customXml>"},
        {"<w:sdt><w:sdtPr><w:alias w:val=\"Fee\"/></w:sdtPr>", "</w:sdt>"},
    };
    for (const auto& [open, close] : wrappers) {
        for (const Edit& edit : kEdits) {
            SCOPED_TRACE(open + " " + edit.what);
            expectMarked(kFirst + open + P(edit.original) + close + kLast,
                         kFirst + open + P(edit.revised) + close + kLast);
            EXPECT_NE(part("word/document.xml").find(open), std::string::npos);
        }
    }
}

// An imported chunk holds no runs that a tracked change could mark: when what it imports
// changed, both chunks stand in the result, listed as the one deleted and the other inserted.
TEST_F(WholeBlocks, AnImportedChunkIsListedWhenWhatItImportsChanged) {
    auto chunk = [](const std::string& html) {
        DocxParts parts;
        parts.parts["word/chunk.htm"] = "<html><body><p>" + html + "</p></body></html>";
        parts.relationships["rIdChunk"] = {"aFChunk", "chunk.htm"};
        parts.contentTypes["word/chunk.htm"] = "application/xhtml+xml";
        return parts;
    };
    const std::string body = kFirst + "<w:altChunk r:id=\"rIdChunk\"/>" + kLast;
    const auto changes =
        compare(body, body, chunk("The fee is ten pounds."), chunk("The fee is nine pounds."));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].kind, redline::ChangeKind::Deletion);
    EXPECT_EQ(changes[1].kind, redline::ChangeKind::Insertion);
    EXPECT_TRUE(compare(body, body, chunk("Alike."), chunk("Alike.")).empty());
}

// Compared whole, alike ones stay as they are.
TEST_F(WholeBlocks, AlikeOnesAreNoChange) {
    const std::string body = kFirst + "<w:customXml w:element=\"clause\">" +
                             P(R("Fee ") + Picture("rIdPic0") + Equation("x")) + "</w:customXml>" +
                             kLast;
    EXPECT_TRUE(compare(body, body, Pictures(), Pictures()).empty());
}
