// Formatting beyond runs and paragraphs: a table's, a row's, a cell's and a section's properties
// changed alone are each marked as a change of formatting, named as a reader names it, and
// rejecting all gives the original's back while its headers stay.
#include <gtest/gtest.h>

#include <string>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/CanonicalDocument.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/SchemaCheck.h"

namespace {

using namespace docx;

// A table of one row of two cells; `table`, `row` and `cell` are the properties of the table, its
// row and its first cell, after the width and style that every cell and table has.
std::string OneRowTable(const std::string& table, const std::string& row, const std::string& cell) {
    return "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/>" + table +
           "</w:tblPr><w:tblGrid><w:gridCol w:w=\"3000\"/><w:gridCol w:w=\"3000\"/></w:tblGrid>"
           "<w:tr>" +
           (row.empty() ? "" : "<w:trPr>" + row + "</w:trPr>") +
           "<w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/>" + cell + "</w:tcPr>" +
           Text("Name") + "</w:tc><w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr>" +
           Text("Town") + "</w:tc></w:tr></w:tbl>";
}

const std::string kLandscape = "<w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>";

class TableAndSectionFormatting : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string before = Text("Before the table.");
        const std::string after = Text("After the table.");
        WriteDocx(a_, before + OneRowTable("", "", "") + after, Header(Text("Running head")));
        DocxParts revised = Header(Text("Running head"));
        revised.page = kLandscape;
        WriteDocx(b_,
                  before +
                      OneRowTable("<w:tblW w:w=\"5000\" w:type=\"pct\"/><w:jc w:val=\"center\"/>",
                                  "<w:trHeight w:val=\"900\"/>",
                                  "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"D9E2F3\"/>"
                                  "<w:vAlign w:val=\"center\"/>") +
                      after,
                  revised);
    }

    std::string Result() const { return redline::Package::Read(r_).part("word/document.xml"); }

    TemporaryFolder folder_;
    const std::string a_ = folder_.path() + "/a.docx", b_ = folder_.path() + "/b.docx",
                      r_ = folder_.path() + "/r.docx";
};

}  // namespace

TEST_F(TableAndSectionFormatting, EachIsNamedMarkedAndUndoneByRejectingAll) {
    const auto changes = CheckedCompare(a_, b_, r_);
    std::vector<std::string> told;
    for (const redline::Change& change : changes) {
        EXPECT_EQ(change.kind, redline::ChangeKind::Formatting) << change.text;
        EXPECT_NE(change.mark, 0) << change.text;
        told.push_back(std::string(redline::PartName(change.part)) + ": " + change.text);
    }
    EXPECT_EQ(told, (std::vector<std::string>{"table: table width, alignment", "table: row height",
                                              "table: cell shading, vertical alignment",
                                              "section: landscape"}));
    const std::string result = Result();
    for (const char* record :
         {"<w:tblPrChange ", "<w:trPrChange ", "<w:tcPrChange ", "<w:sectPrChange "}) {
        EXPECT_NE(result.find(record), std::string::npos) << record;
    }
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Reject), CanonicalDocument(a_));
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept), CanonicalDocument(b_));
    EXPECT_EQ(NewSchemaErrors(r_, {a_, b_}), std::vector<std::string>{});
}

TEST_F(TableAndSectionFormatting, LeftOutWithFormattingAndTheRevisedStays) {
    redline::CompareOptions options;
    options.formatting = false;
    EXPECT_TRUE(CheckedCompare(a_, b_, r_, options).empty());
    EXPECT_EQ(Result().find("PrChange"), std::string::npos);
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Reject), CanonicalDocument(b_));
}

TEST_F(TableAndSectionFormatting, AnUnchangedTableAndSectionGiveNoChange) {
    EXPECT_TRUE(CheckedCompare(b_, b_, r_).empty());
    EXPECT_EQ(Result().find("PrChange"), std::string::npos);
}

// A row that gains one cell and one that loses one: the cells are marked, not the rows.
TEST(TableCells, InsertedAndDeletedAreMarkedAsCellsAndUndoneByRejectingAll) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    const std::string before = Text("Before the table.");
    WriteDocx(a, before + Table({{"Name", "Town", "Year"},
                                 {"Ada", "Paris", "1843"},
                                 {"Grace", "Arlington", "1906"}}));
    WriteDocx(b, before + Table({{"Name", "Town", "Year"},
                                 {"Ada", "London", "Paris", "1843"},
                                 {"Grace", "1906"}}));
    std::vector<std::string> told;
    for (const redline::Change& change : CheckedCompare(a, b, r)) {
        told.push_back(std::string(redline::KindName(change.kind)) + " " + change.text + " " +
                       std::to_string(change.originalParagraph) + ">" +
                       std::to_string(change.revisedParagraph));
    }
    // Before, then Name, Town and Year, then Ada: London is the revised document's sixth
    // paragraph, Arlington the original's ninth.
    EXPECT_EQ(told, (std::vector<std::string>{"insertion London 0>6", "deletion Arlington 9>0"}));
    const std::string result = redline::Package::Read(r).part("word/document.xml");
    EXPECT_NE(result.find("<w:cellIns "), std::string::npos);
    EXPECT_NE(result.find("<w:cellDel "), std::string::npos);
    EXPECT_EQ(CanonicalDocument(r, Resolution::Reject), CanonicalDocument(a));
    EXPECT_EQ(CanonicalDocument(r, Resolution::Accept), CanonicalDocument(b));
    EXPECT_EQ(NewSchemaErrors(r, {a, b}), std::vector<std::string>{});
}

TEST(TableCells, MergedAcrossOrDownAreMarkedAndRejectingAllSplitsThemAgain) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    const auto cell = [](const std::string& blocks, const std::string& properties = "",
                         int width = 2000) {
        return "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(width) + "\" w:type=\"dxa\"/>" +
               properties + "</w:tcPr>" + blocks + "</w:tc>";
    };
    const auto table = [](const std::vector<std::string>& rows) {
        std::string xml =
            "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/></w:tblPr><w:tblGrid>"
            "<w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"2000\"/>"
            "<w:gridCol w:w=\"2000\"/></w:tblGrid>";
        for (const std::string& row : rows) xml += "<w:tr>" + row + "</w:tr>";
        return xml + "</w:tbl>";
    };
    const std::string head = cell(Text("Name")) + cell(Text("Town")) + cell(Text("Year"));
    WriteDocx(a, Text("Before.") +
                     table({head, cell(Text("Ada")) + cell(Text("Paris")) + cell(Text("1843")),
                            cell(Text("Grace")) + cell(Text("Arlington")) + cell(Text("1906")),
                            cell(Text("Alan")) + cell(Text("London")) + cell(Text("1912"))}));
    // As a word processor merges: the cells' paragraphs gathered in the first, the cell below
    // a merge down left empty.
    WriteDocx(
        b, Text("Before.") +
               table({head,
                      cell(Text("Ada") + Text("Paris"), "<w:gridSpan w:val=\"2\"/>", 4000) +
                          cell(Text("1843")),
                      cell(Text("Grace") + Text("Alan"), "<w:vMerge w:val=\"restart\"/>") +
                          cell(Text("Arlington")) + cell(Text("1906")),
                      cell("<w:p/>", "<w:vMerge/>") + cell(Text("London")) + cell(Text("1912"))}));
    const auto changes = CheckedCompare(a, b, r);
    EXPECT_FALSE(changes.empty());
    EXPECT_EQ(CanonicalDocument(r, Resolution::Reject), CanonicalDocument(a));
    EXPECT_EQ(CanonicalDocument(r, Resolution::Accept), CanonicalDocument(b));
    EXPECT_EQ(NewSchemaErrors(r, {a, b}), std::vector<std::string>{});
    // Each merge is a change of its cells' formatting, named so, and only the words that went
    // into the merged cell move; the cell a merge across took is marked as a cell gone.
    int merges = 0;
    for (const redline::Change& change : changes) {
        if (change.kind == redline::ChangeKind::Formatting) {
            merges += change.text.find("merged cells") != std::string::npos;
        } else {
            EXPECT_TRUE(change.text == "Ada" || change.text == "Paris" || change.text == "Alan")
                << redline::KindName(change.kind) << " " << change.text;
        }
    }
    EXPECT_EQ(merges, 3);
    EXPECT_NE(redline::Package::Read(r).part("word/document.xml").find("<w:cellDel "),
              std::string::npos);
}

// Rows of a changed stretch pair when a quarter of their words stayed: their cells are marked,
// not the rows deleted and inserted whole.
TEST(TableRows, PairWhenAQuarterOfTheirWordsStayed) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    WriteDocx(a, Table({{"Name", "Town", "Born", "Known as"},
                        {"Ada", "London", "1815", "poet"},
                        {"Grace", "Arlington", "1906", "admiral"}}));
    WriteDocx(b, Table({{"Name", "Town", "Born", "Known as"},
                        {"Ada", "Paris", "1816", "mathematician"},
                        {"Grace", "Washington", "1907", "programmer"}}));
    const auto changes = CheckedCompare(a, b, r);
    EXPECT_EQ(changes.size(), 12u);
    const std::string result = redline::Package::Read(r).part("word/document.xml");
    EXPECT_EQ(result.find("<w:trPr><w:del"), std::string::npos) << "a row was deleted whole";
    EXPECT_EQ(result.find("<w:trPr><w:ins"), std::string::npos) << "a row was inserted whole";
    EXPECT_EQ(CanonicalDocument(r, Resolution::Reject), CanonicalDocument(a));
}

// A paragraph that changed its alignment, whose mark has formatting of its own and which ends a
// section: the change record holds the paragraph's properties alone, as the schema wants them,
// and rejecting gives the original's alignment back with the mark's formatting and the section.
TEST(ParagraphFormatting, TheChangeRecordHoldsTheParagraphsPropertiesAlone) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    auto paragraph = [](const char* alignment) {
        return docx::P(docx::R("A paragraph that ends the first section."),
                       std::string("<w:jc w:val=\"") + alignment +
                           "\"/><w:rPr><w:b/></w:rPr><w:sectPr><w:pgSz w:w=\"11906\" "
                           "w:h=\"16838\"/></w:sectPr>");
    };
    WriteDocx(a, paragraph("left") + docx::Text("The second section."));
    WriteDocx(b, paragraph("center") + docx::Text("The second section."));
    const auto changes = CheckedCompare(a, b, r);
    EXPECT_EQ(redline::Count(changes).formatting, 1);
    EXPECT_EQ(NewSchemaErrors(r, {a, b}), std::vector<std::string>{});
    EXPECT_EQ(CanonicalDocument(r, Resolution::Reject), CanonicalDocument(a));
}

// A cell of two paragraphs that went: both are marked deleted, so that every reading of the
// result shows all it held.
TEST(TableCells, ACellOfSeveralParagraphsThatWentIsMarkedWhole) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    auto table = [](const std::string& extra) {
        return "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol/><w:gridCol/><w:gridCol/></w:tblGrid>"
               "<w:tr><w:tc>" +
               docx::Text("Ada") + "</w:tc>" + extra + "<w:tc>" + docx::Text("London") +
               "</w:tc></w:tr></w:tbl>";
    };
    WriteDocx(a, table("<w:tc>" + docx::Text("Born in") + docx::Text("December 1815") + "</w:tc>"));
    WriteDocx(b, table(""));
    CheckedCompare(a, b, r);
    const std::string markup = redline::ReadText(r, redline::Reading::Markup);
    EXPECT_NE(markup.find("[-Born in-]"), std::string::npos) << markup;
    EXPECT_NE(markup.find("[-December 1815-]"), std::string::npos) << markup;
}
