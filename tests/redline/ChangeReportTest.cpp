// The change list: each change's kind, its text and the paragraph it stands in, counted in its
// part as a reader counts them, whatever the part holds.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "FiveParagraphs.h"
#include "redline/Compare.h"
#include "redline/MarkedResult.h"
#include "redline/io/Package.h"
#include "support/DocumentGenerator.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/SchemaCheck.h"

using namespace docx;
using namespace five;
using redline::ChangeCounts;

TEST(ChangeReport, NumbersEachCellsParagraphsOnFromTheCellsBeforeIt) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    WriteDocx(a, A + Table({{"Name", "Town", "Born"}, {"Ada", "Paris", "1815"}}));
    WriteDocx(b, A + Table({{"Name", "Town", "Born"}, {"Ada", "Rome", "1816"}}));
    std::vector<std::string> listed;
    for (const auto& change : CheckedCompare(a, b, result)) {
        listed.push_back(change.text + " " + std::to_string(change.originalParagraph) + ">" +
                         std::to_string(change.revisedParagraph));
    }
    // A, then Name, Town and Born, then Ada: the changed cells' paragraphs are the sixth and
    // seventh, on each side.
    EXPECT_EQ(listed, (std::vector<std::string>{"Paris 6>0", "Rome 0>6", "1815 7>0", "1816 0>7"}));
}

// A row that went or came is listed at its first cell's paragraph, on its side; a cell of
// another number of cells by its own paragraph.
TEST(ChangeReport, NumbersRowsThatCameOrWentByTheirFirstParagraph) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    WriteDocx(a, A + Table({{"Name", "Town"}, {"Ada", "Paris"}, {"Bo", "Rome"}}));
    WriteDocx(b, A + Table({{"Name", "Town"}, {"Bo", "Rome"}, {"Cy", "Oslo"}}) + B);
    std::vector<std::string> listed;
    for (const auto& change : CheckedCompare(a, b, result)) {
        listed.push_back(change.text + " " + std::to_string(change.originalParagraph) + ">" +
                         std::to_string(change.revisedParagraph));
    }
    // A, then Name and Town: Ada's row begins at the fourth paragraph of the original, Cy's at
    // the sixth of the revised.
    EXPECT_EQ(listed, (std::vector<std::string>{"Ada\nParis 4>0", "Cy\nOslo 0>6", kB + " 0>8"}));
}

// Tables skipped: their paragraphs are numbered as any others, a text box's not among them.
TEST(ChangeReport, NumbersTheParagraphsOfSkippedTablesAsTheStoryReaderDoes) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    auto table = [](const std::string& last) {
        return "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol/><w:gridCol/></w:tblGrid><w:tr><w:tc>" +
               P(R("Ada ") + TextBox(Text("In the box") + Text("And more"))) + "</w:tc><w:tc>" +
               Text("Paris") + "</w:tc></w:tr><w:tr><w:tc>" + Text("Grace") + "</w:tc><w:tc>" +
               Text(last) + "</w:tc></w:tr></w:tbl>";
    };
    WriteDocx(a, A + table("Arlington"));
    WriteDocx(b, A + table("Washington"));
    redline::CompareOptions skip;
    skip.skip.tables = true;
    std::vector<std::string> listed;
    for (const auto& change : CheckedCompare(a, b, result, skip)) {
        listed.push_back(change.text + " " + std::to_string(change.originalParagraph) + ">" +
                         std::to_string(change.revisedParagraph));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"Arlington 5>0", "Washington 0>5"}));
}

// A text box's paragraphs are a story of their own: the cells after the one holding it number
// theirs as if it were not there, where the row is compared cell by cell too.
TEST(ChangeReport, NumbersCellsAfterACellHoldingATextBoxAsIfItWereNotThere) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    auto table = [](const std::string& last) {
        const std::string boxed = P(R("Ada ") + TextBox(Text("In the box") + Text("And more")));
        return "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol/><w:gridCol/></w:tblGrid><w:tr><w:tc>" +
               Text("Name") + "</w:tc><w:tc>" + Text("Town") + "</w:tc></w:tr><w:tr><w:tc>" +
               boxed + "</w:tc><w:tc>" + Text(last) + "</w:tc></w:tr></w:tbl>";
    };
    WriteDocx(a, A + table("Paris"));
    WriteDocx(b, A + table("Rome"));
    const auto changes = CheckedCompare(a, b, result);
    ASSERT_EQ(changes.size(), 2u);
    for (const auto& change : changes) {
        EXPECT_EQ(std::max(change.originalParagraph, change.revisedParagraph), 5u) << change.text;
    }
}

// A paragraph moved to the top of the story, beside a paragraph inserted further down: both
// are listed, each at its place.
TEST(ChangeReport, ListsAMoveToTheTopAndAnInsertionBesideIt) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    WriteDocx(a, A + B + C);
    WriteDocx(b, C + A + D + B);
    std::vector<std::string> listed;
    for (const auto& change : CheckedCompare(a, b, result)) {
        listed.push_back(std::string(redline::KindName(change.kind)) + " " +
                         std::to_string(change.originalParagraph) + ">" +
                         std::to_string(change.revisedParagraph) + " " + change.text);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"insertion 0>3 " + kD.substr(0, kD.size() - 1),
                                                "move 3>1 " + kC.substr(0, kC.size() - 1)}));
}

// A phrase rewritten between its punctuation is one deletion and one insertion, not a patchwork
// of its words and commas.
TEST(ChangeReport, ListsAShortPhraseRewrittenAsOneReplacement) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    WriteDocx(a, Text("a, b"));
    WriteDocx(b, Text("c, d"));
    std::vector<std::string> listed;
    for (const auto& change : CheckedCompare(a, b, result)) listed.push_back(change.text);
    EXPECT_EQ(listed, (std::vector<std::string>{"a, b", "c, d"}));
}

// Punctuation of any script holds no word: a long run of dashes and guillemets between two
// rewritten words still reads as one replacement.
TEST(ChangeReport, ListsWordsRewrittenAroundPunctuationOfAnyScriptAsOneReplacement) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    const std::string between = " \u2014\u2014 \u00ab\u00bb \u2026 \u2014\u2014 ";
    WriteDocx(a, Text("a" + between + "b"));
    WriteDocx(b, Text("c" + between + "d"));
    std::vector<std::string> listed;
    for (const auto& change : CheckedCompare(a, b, result)) listed.push_back(change.text);
    EXPECT_EQ(listed, (std::vector<std::string>{"a" + between + "b", "c" + between + "d"}));
}

// A text box's words are listed once, though the shape keeps them in two forms.
TEST(ChangeReport, ListsADeletedTextBoxsWordsOnce) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    WriteDocx(a, A + P(R("Before the box ") + TextBox(Text("Boxed words"))) + B);
    WriteDocx(b, A + B);
    const auto changes = CheckedCompare(a, b, result);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].text, "Before the box \nBoxed words");
}

// A content control's paragraphs are numbered on from the paragraphs before it, on each side.
TEST(ChangeReport, NumbersAControlsParagraphsOnFromTheStory) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    auto control = [](const std::string& days) {
        return "<w:sdt><w:sdtPr><w:tag w:val=\"terms\"/></w:sdtPr><w:sdtContent>" +
               Text("The terms are these.") + Text("Payment in " + days + " days.") +
               "</w:sdtContent></w:sdt>";
    };
    WriteDocx(a, A + B + control("30") + C);
    WriteDocx(b, A + control("60") + C);
    std::vector<std::string> listed;
    for (const auto& change : CheckedCompare(a, b, result)) {
        listed.push_back(change.text + " " + std::to_string(change.originalParagraph) + ">" +
                         std::to_string(change.revisedParagraph));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{kB + " 2>0", "30 4>0", "60 0>3"}));
}

// A line break in a change's text is a line break; a bookmark or a range left open to editing
// is nothing a reader sees: in a paragraph deleted, and in one whose words are compared (the
// last, replaced).
TEST(ChangeReport, GivesALineBreakAsOneAndABookmarkAsNothing) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    const std::string marked =
        P(R("First line") +
          "<w:r><w:br/></w:r><w:bookmarkStart w:id=\"0\" w:name=\"here\"/><w:permStart "
          "w:id=\"4\" w:edGrp=\"everyone\"/>" +
          R("second line") + "<w:permEnd w:id=\"4\"/><w:bookmarkEnd w:id=\"0\"/>");
    WriteDocx(a, A + marked + B);
    WriteDocx(b, A + B);
    const auto changes = CheckedCompare(a, b, result);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].text, "First line\nsecond line");
    WriteDocx(a, A + marked);
    WriteDocx(b, A + Text("Other words"));
    std::vector<std::string> listed;
    for (const auto& change : CheckedCompare(a, b, result)) listed.push_back(change.text);
    EXPECT_EQ(listed, (std::vector<std::string>{"First line\nsecond line", "Other words"}));
}

// What a reader sees is what every list shows: a symbol its character (a symbol font's own code
// point), one that names no character a square, a tab a tab, an equation its text; in the change
// list and the report alike.
TEST(ChangeReport, ShowsSymbolsTabsPicturesAndEquationsAsAReaderSeesThem) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    const std::string things =
        "<w:r><w:sym w:font=\"Wingdings\" w:char=\"F0FC\"/></w:r>"
        "<w:r><w:sym w:font=\"Symbol\" w:char=\"nonsense\"/></w:r>"
        "<w:r><w:tab/></w:r><m:oMath><m:r><m:t>x+1</m:t></m:r></m:oMath>";
    const std::string shown = "\uF0FC\u25A1\tx+1";
    WriteDocx(a, A + P(R("Done ") + things) + P(R("Plain words")));
    WriteDocx(b, A + P(R("Done ") + things, "") + P(R("Plain words")) + P(R("New ") + things));
    const auto changes = CheckedCompare(a, b, result);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].text, "New " + shown);
    std::string report;
    for (const auto& story : redline::ReadMarked(result)) {
        for (const auto& block : story.blocks) {
            for (const auto& span : block.paragraph.spans) {
                if (span.kind != redline::SpanKind::Plain) report += span.text;
            }
        }
    }
    EXPECT_EQ(report, "New " + shown);
}

namespace {

// The stories as one text: titles, blocks, spans with their kinds, marks and numbers.
std::string Shown(const std::vector<redline::MarkedStory>& stories) {
    std::string out;
    std::function<void(const std::vector<redline::MarkedBlock>&)> blocks =
        [&](const std::vector<redline::MarkedBlock>& list) {
            for (const auto& block : list) {
                for (const auto& r : block.reformatted) out += "{" + r.what + "}";
                for (const auto& row : block.rows) {
                    out += "<row " + std::to_string(int(row.kind)) + ">";
                    for (const auto& cell : row.cells) blocks(cell);
                }
                const auto& p = block.paragraph;
                for (const auto& span : p.spans) {
                    out += "[" + std::to_string(int(span.kind)) + ":" + span.text + ":" +
                           std::to_string(span.mark) + "]";
                }
                out += "(" + std::to_string(p.original) + ">" + std::to_string(p.revised) + ")\n";
            }
        };
    for (const auto& story : stories) {
        out += "== " + story.title + "\n";
        blocks(story.blocks);
    }
    return out;
}

}  // namespace

// The change list's reports read the comparison's own result in memory, as they read the file
// it writes: the same stories, spans and authors.
TEST(ChangeReport, ReadsTheResultInMemoryAsTheFileWritten) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        generated::Random random(seed * 31u);
        const auto original = generated::RandomDocument(random, 8);
        generated::WriteGenerated(original, a, random);
        generated::WriteGenerated(generated::Edit(original, random, 4), b, random);
        redline::MarkedDocument marked;
        redline::CompareOptions options;
        options.author = seed % 2 ? "Ann" : "Bo";
        redline::CompareDocuments(a, b, result, options, &marked);
        EXPECT_EQ(Shown(marked.stories), Shown(redline::ReadMarked(result))) << "seed " << seed;
        for (const auto& [mark, author] : marked.authors) {
            EXPECT_EQ(author, options.author) << "seed " << seed << ", mark " << mark;
        }
    }
}
