// Objects are equal when what a reader sees of them is equal: a picture whose XML another writer
// serialised again, a chart whose axes a conversion numbered anew, an embedded workbook zipped
// again in another order or at another time. A real change of any of them is still one.
#include <gtest/gtest.h>

#include <string>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/CanonicalDocument.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ResultCheck.h"

namespace {

using namespace docx;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

class SameObjects : public ::testing::Test {
  protected:
    // A workbook as a package of its own, its entries written in the order given.
    std::string Workbook(const std::vector<std::pair<std::string, std::string>>& entries) {
        redline::Package package;
        for (const auto& [name, bytes] : entries) package.put(name, bytes);
        const std::string path = folder_.path() + "/workbook.xlsx";
        package.write(path);
        return ReadFile(path);
    }

    void Write(const std::string& path, const std::string& body, const std::string& chart,
               const std::string& workbook) {
        DocxParts parts;
        parts.parts["word/media/image1.png"] = Png(0x40);
        parts.relationships["rIdPic0"] = {"image", "media/image1.png"};
        parts.parts["word/charts/chart1.xml"] = chart;
        parts.relationships["rIdChart"] = {"chart", "charts/chart1.xml"};
        parts.parts["word/embeddings/Microsoft_Excel_Worksheet.xlsx"] = workbook;
        parts.relationships["rIdSheet"] = {"package", "embeddings/Microsoft_Excel_Worksheet.xlsx"};
        parts.contentTypes["word/embeddings/Microsoft_Excel_Worksheet.xlsx"] =
            "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
        WriteDocx(path, body, parts);
    }

    TemporaryFolder folder_;
    const std::string a_ = folder_.path() + "/a.docx", b_ = folder_.path() + "/b.docx",
                      r_ = folder_.path() + "/r.docx";
    const std::string sheet_ =
        "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>42</v></c>"
        "</row></sheetData></worksheet>";
    const std::string book_ = "<workbook><sheets><sheet name=\"Sheet1\"/></sheets></workbook>";
    const std::string body_ = P(R("A picture: ") + Picture("rIdPic0")) +
                              P(R("A chart: ") + ChartDrawing()) +
                              P(R("A workbook: ") + EmbeddedObject());
};

}  // namespace

TEST_F(SameObjects, WrittenAgainByAnotherWriterOrConversionShowNoChange) {
    Write(a_, body_, Chart("111", "222", "7"),
          Workbook({{"xl/workbook.xml", book_}, {"xl/worksheets/sheet1.xml", sheet_}}));
    // Empty elements written out in full, namespaces declared where the element stands, the
    // drawings numbered and named anew, new axis ids, the workbook's entries in another order.
    std::string again = Replaced(body_, "<a:avLst/>", "<a:avLst></a:avLst>");
    again = Replaced(again, "<wp:docPr id=\"1\" name=\"Picture\"/>",
                     "<wp:docPr id=\"12\" name=\"Picture 12\"/>");
    again = Replaced(again, "<pic:cNvPicPr/>", "<pic:cNvPicPr></pic:cNvPicPr>");
    again =
        Replaced(again, "<a:graphic>",
                 "<a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">");
    again = Replaced(
        again, "<pic:pic>",
        "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">");
    Write(b_, again, Chart("98765", "43210", "7"),
          Workbook({{"xl/worksheets/sheet1.xml", sheet_}, {"xl/workbook.xml", book_}}));
    const auto changes = CheckedCompare(a_, b_, r_);
    EXPECT_TRUE(changes.empty()) << changes.size() << " changes, the first " << changes[0].text;
}

TEST_F(SameObjects, AChangedChartOrWorkbookIsStillAChange) {
    const std::string workbook =
        Workbook({{"xl/workbook.xml", book_}, {"xl/worksheets/sheet1.xml", sheet_}});
    Write(a_, body_, Chart("111", "222", "7"), workbook);
    Write(b_, body_, Chart("111", "222", "8"), workbook);
    EXPECT_EQ(redline::Count(CheckedCompare(a_, b_, r_)).insertions, 1);
    Write(b_, body_, Chart("111", "222", "7"),
          Workbook({{"xl/workbook.xml", book_},
                    {"xl/worksheets/sheet1.xml", Replaced(sheet_, "42", "43")}}));
    EXPECT_EQ(redline::Count(CheckedCompare(a_, b_, r_)).insertions, 1);
}

// An embedded package that would inflate past what one may cost is compared by its bytes: the
// comparison neither inflates it nor fails, and a document with it equals itself.
TEST_F(SameObjects, AnEmbeddedPackageThatInflatesTooFarIsComparedByItsBytes) {
    const std::string bomb = Workbook(
        {{"xl/workbook.xml", book_}, {"xl/worksheets/sheet1.xml", std::string(100u << 20, ' ')}});
    ASSERT_LT(bomb.size(), 1u << 20);
    Write(a_, body_, Chart("111", "222", "7"), bomb);
    Write(b_, body_, Chart("111", "222", "7"), bomb);
    EXPECT_TRUE(CheckedCompare(a_, b_, r_).empty());
    Write(b_, body_, Chart("111", "222", "7"),
          Workbook({{"xl/workbook.xml", book_}, {"xl/worksheets/sheet1.xml", sheet_}}));
    EXPECT_EQ(redline::Count(CheckedCompare(a_, b_, r_)).insertions, 1);
}

// A text box's bookmarks, numbered anew by another writer, leave the box the same.
TEST_F(SameObjects, ATextBoxWhoseBookmarksAreNumberedAnewIsTheSame) {
    const auto boxed = [](int id) {
        const std::string n = std::to_string(id);
        return P(R("Look: ") +
                 TextBox(P("<w:bookmarkStart w:id=\"" + n + "\" w:name=\"inside\"/>" +
                           R("Inside the box") + "<w:bookmarkEnd w:id=\"" + n + "\"/>")));
    };
    WriteDocx(a_, boxed(1));
    WriteDocx(b_, boxed(7));
    EXPECT_TRUE(CheckedCompare(a_, b_, r_).empty());
}

// A picture that links elsewhere is a change, though the picture is the same: rejecting gives
// the old link back.
TEST_F(SameObjects, APictureThatLinksElsewhereIsAChange) {
    const auto linked = [&](const std::string& path, const std::string& address) {
        DocxParts parts;
        parts.parts["word/media/image1.png"] = Png(0x40);
        parts.relationships["rIdPic0"] = {"image", "media/image1.png"};
        parts.relationships["rIdLink"] = {"hyperlink", address};
        WriteDocx(path,
                  P(R("See ") + "<w:hyperlink r:id=\"rIdLink\">" + Picture("rIdPic0") +
                    "</w:hyperlink>" + R(" here.")),
                  parts);
    };
    linked(a_, "https://example.org/old");
    linked(b_, "https://example.org/new");
    EXPECT_FALSE(CheckedCompare(a_, b_, r_).empty());
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Reject), CanonicalDocument(a_));
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept), CanonicalDocument(b_));
}

// A picture named by an absolute target, as some writers name parts, is compared by what its
// part holds.
TEST_F(SameObjects, APictureNamedFromThePackagesRootIsComparedByItsPart) {
    const auto pictured = [&](const std::string& path, char shade) {
        DocxParts parts;
        parts.parts["word/media/image1.png"] = Png(shade);
        parts.relationships["rIdPic0"] = {"image", "/word/media/image1.png"};
        WriteDocx(path, P(R("See ") + Picture("rIdPic0") + R(" here.")), parts);
    };
    pictured(a_, 0x40);
    pictured(b_, 0x40);
    EXPECT_TRUE(CheckedCompare(a_, b_, r_).empty());
    pictured(b_, 0x60);
    EXPECT_EQ(redline::Count(CheckedCompare(a_, b_, r_)).insertions, 1);
}
