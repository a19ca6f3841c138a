// A document that holds tracked changes of its own is compared as it reads now: each of its
// changes accepted first, of every kind, leaving nothing empty behind (no table without rows, no
// link or content control without content, no equation without parts).
#include <gtest/gtest.h>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ResultCheck.h"

namespace {

using namespace docx;

const char* kStamp = " w:author=\"Someone\" w:date=\"2026-01-01T00:00:00Z\"";

std::string Mark(const char* name, int id, const std::string& content) {
    return std::string("<w:") + name + " w:id=\"" + std::to_string(id) + "\"" + kStamp + ">" +
           content + "</w:" + name + ">";
}

std::string Deleted(int id, const std::string& text) {
    return Mark("del", id, "<w:r><w:delText xml:space=\"preserve\">" + text + "</w:delText></w:r>");
}

std::string Inserted(int id, const std::string& text) {
    return Mark("ins", id, R(text));
}

struct Held {
    const char* name;
    std::string withChanges, accepted;
};

void PrintTo(const Held& held, std::ostream* out) {
    *out << held.name;
}

// A table whose second row, and the words in it, were inserted with changes tracked.
std::string InsertedRow() {
    std::string table = Table({{"Name", "Town"}, {"Ada", "Paris"}});
    const std::size_t second = table.find("<w:tr>", table.find("<w:tr>") + 1);
    table.insert(second + 6, "<w:trPr>" + Mark("ins", 9, "") + "</w:trPr>");
    for (const char* word : {"Ada", "Paris"}) {
        const std::size_t run = table.rfind("<w:r>", table.find(std::string(">") + word + "<"));
        const std::size_t end = table.find("</w:r>", run) + 6;
        table.replace(run, end - run,
                      Mark("ins", word[0] == 'A' ? 10 : 11, table.substr(run, end - run)));
    }
    return table;
}

std::vector<Held> Cases() {
    const std::string plain = Text("A plain paragraph stays as it is.");
    const std::string link = "<w:hyperlink r:id=\"rIdLink\">";
    return {
        {"WordsInsertedAndDeleted",
         P(R("The ") + Deleted(1, "quick ") + R("brown ") + Inserted(2, "lazy ") + R("fox.")) +
             plain,
         Text("The brown lazy fox.") + plain},
        {"WordsOneReviewerInsertedAndAnotherDeleted",
         P(R("Keep ") +
           Mark("ins", 18,
                R("these ") + Mark("del", 19,
                                   "<w:r><w:delText>"
                                   "not these </w:delText>"
                                   "</w:r>")) +
           R("words.")) +
             plain,
         Text("Keep these words.") + plain},
        {"AParagraphBetweenTablesWhoseMarkWasDeleted",
         Table({{"One", "Two"}}) +
             P(R("Words between the tables."), "<w:rPr>" + Mark("del", 20, "") + "</w:rPr>") +
             Table({{"Three", "Four"}}) + plain,
         Table({{"One", "Two"}}) + Text("Words between the tables.") + Table({{"Three", "Four"}}) +
             plain},
        {"AnEmptyParagraphBetweenTablesWhoseMarkWasDeleted",
         Table({{"One", "Two"}}) + P("", "<w:rPr>" + Mark("del", 21, "") + "</w:rPr>") +
             Table({{"Three", "Four"}}) + plain,
         Table({{"One", "Two"}}) + Table({{"Three", "Four"}}) + plain},
        {"TheLastParagraphAfterATableWhoseMarkWasDeleted",
         plain + Table({{"One", "Two"}}) +
             P(R("Words after the table."), "<w:rPr>" + Mark("del", 22, "") + "</w:rPr>"),
         plain + Table({{"One", "Two"}}) + Text("Words after the table.")},
        {"AControlWhoseOnlyParagraphWasDeleted",
         plain + "<w:sdt><w:sdtPr><w:tag w:val=\"block\"/></w:sdtPr><w:sdtContent>" +
             P(Deleted(23, "All of it."), "<w:rPr>" + Mark("del", 24, "") + "</w:rPr>") +
             "</w:sdtContent></w:sdt>" + Text("After the control."),
         plain + Text("After the control.")},
        {"TheLastParagraphWhoseMarkWasDeletedJoinsTheOneBefore",
         plain + Text("First part, ") +
             P(R("second part."), "<w:rPr>" + Mark("del", 25, "") + "</w:rPr>"),
         plain + P(R("First part, ") + R("second part."))},
        {"AnEquationBesideAChange",
         P(R("Sum ") + "<m:oMath><m:r><m:t>x+1</m:t></m:r></m:oMath>") +
             P(R("Keep ") + Deleted(26, "not ") + R("this.")),
         P(R("Sum ") + "<m:oMath><m:r><m:t>x+1</m:t></m:r></m:oMath>") + Text("Keep this.")},
        {"ATableWhoseRowsWereAllDeleted",
         plain + "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol/></w:tblGrid><w:tr><w:trPr>" +
             Mark("del", 3, "") + "</w:trPr><w:tc><w:p><w:pPr><w:rPr>" + Mark("del", 4, "") +
             "</w:rPr></w:pPr>" + Deleted(5, "gone") + "</w:p></w:tc></w:tr></w:tbl>" +
             Text("After the table."),
         plain + Text("After the table.")},
        {"ALinkWhoseWordsWereDeleted",
         P(R("Read ") + link + Deleted(6, "the notes") + "</w:hyperlink>" + R("here.")) + plain,
         P(R("Read ") + R("here.")) + plain},
        {"AControlWhoseWordsWereDeleted",
         P(R("Name: ") + "<w:sdt><w:sdtPr><w:tag w:val=\"name\"/></w:sdtPr><w:sdtContent>" +
           Deleted(7, "Ada") + "</w:sdtContent></w:sdt>" + R(" signed.")) +
             plain,
         P(R("Name: ") + R(" signed.")) + plain},
        {"AnEquationWhosePartsWereDeleted",
         P(R("Sum ") + "<m:oMath>" + Mark("del", 8, "<m:r><m:t>x+1</m:t></m:r>") + "</m:oMath>" +
           R(" end.")) +
             plain,
         P(R("Sum ") + R(" end.")) + plain},
        {"ARowInserted", InsertedRow() + plain,
         Table({{"Name", "Town"}, {"Ada", "Paris"}}) + plain},
        {"FormattingChanged",
         P("<w:r><w:rPr><w:b/><w:rPrChange w:id=\"12\"" + std::string(kStamp) +
               "><w:rPr/></w:rPrChange></w:rPr><w:t>Bold now.</w:t></w:r>",
           "<w:jc w:val=\"center\"/><w:pPrChange w:id=\"13\"" + std::string(kStamp) +
               "><w:pPr/></w:pPrChange>") +
             plain,
         P(R("Bold now.", "<w:b/>"), "<w:jc w:val=\"center\"/>") + plain},
        {"AParagraphMoved",
         "<w:p><w:moveFromRangeStart w:id=\"14\" w:name=\"m1\"" + std::string(kStamp) + "/>" +
             Mark("moveFrom", 15, R("Moving words.")) + "<w:moveFromRangeEnd w:id=\"14\"/></w:p>" +
             plain + "<w:p><w:moveToRangeStart w:id=\"16\" w:name=\"m1\"" + kStamp + "/>" +
             Mark("moveTo", 17, R("Moving words.")) + "<w:moveToRangeEnd w:id=\"16\"/></w:p>",
         P("") + plain + Text("Moving words.")},
    };
}

class InputRevisions : public ::testing::TestWithParam<Held> {};

}  // namespace

TEST_P(InputRevisions, AreAcceptedBeforeComparingAndLeaveNothingEmpty) {
    const Held& held = GetParam();
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    DocxParts parts;
    parts.relationships["rIdLink"] = {"hyperlink", "https://example.org/notes"};
    WriteDocx(a, held.withChanges, parts);
    WriteDocx(b, held.accepted, parts);
    for (const auto& [original, revised] : {std::pair{a, b}, std::pair{b, a}}) {
        const auto changes = CheckedCompare(original, revised, r);
        EXPECT_TRUE(changes.empty())
            << changes.size() << " changes, the first " << (changes.empty() ? "" : changes[0].text);
        const std::string xml = redline::Package::Read(r).part("word/document.xml");
        for (const char* empty : {"<w:hyperlink r:id=\"rIdLink\"/>", "<w:sdtContent/>",
                                  "<m:oMath/>", "<w:tblGrid><w:gridCol/></w:tblGrid></w:tbl>"}) {
            EXPECT_EQ(xml.find(empty), std::string::npos) << empty;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, InputRevisions, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });
