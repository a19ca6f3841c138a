// The comparison engine over pairs of documents that differ by one known edit each: the marks it
// writes and where they stand, the counts it reports, and that rejecting every change gives the
// original back and accepting every change the revised.
#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>
#include <random>
#include <set>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/SchemaCheck.h"

namespace {

using namespace docx;
using redline::ChangeCounts;

struct Pair {
    const char* name;
    std::string original, revised;
    // The result as Reading::Markup shows it.
    std::string markup;
    ChangeCounts counts;
    bool formatting = true;
    std::vector<std::string> resultHolds = {};  // texts the result's parts must hold
    DocxParts partsA = {}, partsB = {};
    int deletions = -1;  // when set, how many deletion marks the result's document part holds
};

// A table of a heading row and a row in a content control.
std::string TableWithControlledRow(const std::string& name, const std::string& town) {
    std::string table = Table({{"Name", "Town"}, {name, town}});
    const std::size_t second = table.find("<w:tr>", table.find("<w:tr>") + 1);
    table.insert(table.rfind("</w:tr>") + 7, "</w:sdtContent></w:sdt>");
    table.insert(second, "<w:sdt><w:sdtPr><w:tag w:val=\"row\"/></w:sdtPr><w:sdtContent>");
    return table;
}

// Two text boxes grouped in one drawing, with the group's older (VML) form.
std::string GroupOfBoxes(const std::string& first, const std::string& second) {
    auto shape = [](const std::string& blocks) {
        return "<wps:wsp><wps:cNvSpPr txBox=\"1\"/><wps:spPr/><wps:txbx><w:txbxContent>" + blocks +
               "</w:txbxContent></wps:txbx><wps:bodyPr/></wps:wsp>";
    };
    auto vml = [](const std::string& blocks) {
        return "<v:shape><v:textbox><w:txbxContent>" + blocks +
               "</w:txbxContent></v:textbox></v:shape>";
    };
    return "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:inline>"
           "<wp:extent cx=\"2000000\" cy=\"900000\"/><wp:docPr id=\"9\" name=\"Group\"/>"
           "<a:graphic><a:graphicData "
           "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\"><wpg:wgp>" +
           shape(first) + shape(second) +
           "</wpg:wgp></a:graphicData></a:graphic></wp:inline></w:drawing></mc:Choice>"
           "<mc:Fallback><w:pict><v:group>" +
           vml(first) + vml(second) +
           "</v:group></w:pict></mc:Fallback></mc:AlternateContent></w:r>";
}

// A diagram's drawing, whose content lies in the part that relationship `id` names.
std::string Diagram(const std::string& id) {
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"95250\" cy=\"95250\"/>"
           "<wp:docPr id=\"7\" name=\"Diagram\"/><a:graphic><a:graphicData "
           "uri=\"http://schemas.openxmlformats.org/drawingml/2006/diagram\"><w:dgm r:dm=\"" +
           id + "\"/></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
}

DocxParts DiagramPart(const std::string& id, const std::string& declarations) {
    return {{{"word/diagrams/data1.xml",
              "<a:dataModel " + declarations + "><a:pt a:id=\"1\">Plan</a:pt></a:dataModel>"}},
            {{id, {"diagramData", "diagrams/data1.xml"}}}};
}

DocxParts WithPicture(const std::string& id, unsigned char shade) {
    return {{{"word/media/image1.png", docx::Png(shade)}}, {{id, {"image", "media/image1.png"}}}};
}

const std::string A = Text("The first paragraph stays where it is.");
const std::string B = Text("The second paragraph has words of its own.");
const std::string C = Text("A third paragraph follows the second one.");
const std::string D = Text("The fourth paragraph is short and plain.");
const std::string E = Text("And the fifth paragraph ends the story.");
const std::string kA = "The first paragraph stays where it is.\n";
const std::string kB = "The second paragraph has words of its own.";
const std::string kC = "A third paragraph follows the second one.\n";
const std::string kD = "The fourth paragraph is short and plain.\n";
const std::string kE = "And the fifth paragraph ends the story.\n";

std::vector<Pair> Pairs() {
    const std::string link = "<w:hyperlink r:id=\"rIdLink\">";
    return {
        {"IdenticalDocuments", A + B, A + B, kA + kB + "\n", {}},
        {"AWordReplaced",
         Text("The quick brown fox jumps."),
         Text("The quick red fox jumps."),
         "The quick [-brown-][+red+] fox jumps.\n",
         {1, 1, 0, 0}},
        {"NearbyChangesJoinIntoOne",
         Text("Alpha beta gamma delta epsilon."),
         Text("Alpha one two delta epsilon."),
         "Alpha [-beta gamma-][+one two+] delta epsilon.\n",
         {1, 1, 0, 0}},
        {"AWordAdded",
         Text("The fox jumps."),
         Text("The brown fox jumps."),
         "The [+brown +]fox jumps.\n",
         {1, 0, 0, 0}},
        {"CaseNumbersAccentsAndIdeographs",
         Text("Fox ran 10 km to the café. 日本語"),
         Text("fox ran 12 km to the cafe. 日本人"),
         "[-Fox-][+fox+] ran [-10-][+12+] km to the [-café-][+cafe+]. 日本[-語-][+人+]\n",
         {4, 4, 0, 0}},
        {"AParagraphDeletedWhereItStood",
         A + B + C,
         A + C,
         kA + "[-" + kB + "-]¶-\n" + kC,
         {0, 1, 0, 0}},
        {"AParagraphInsertedWhereItStands",
         A + C,
         A + B + C,
         kA + "[+" + kB + "+]¶+\n" + kC,
         {1, 0, 0, 0}},
        {"AParagraphMoved",
         A + B + C + D + E,
         A + C + D + B + E,
         kA + "[<" + kB + "<]¶<\n" + kC + kD + "[>" + kB + ">]¶>\n" + kE,
         {0, 0, 1, 0}},
        {"TheLastParagraphDeleted",
         A + C + B,
         A + C,
         kA + "A third paragraph follows the second one.¶-\n[-" + kB + "-]\n",
         {0, 1, 0, 0}},
        {"TheLastParagraphInserted",
         A + C,
         A + C + B,
         kA + "A third paragraph follows the second one.¶+\n[+" + kB + "+]\n",
         {1, 0, 0, 0}},
        {"TheLastParagraphReplaced",
         A + B,
         A + Text("Completely unrelated words here."),
         kA + "[-" + kB + "-][+Completely unrelated words here.+]\n",
         {1, 1, 0, 0}},
        {"ACellChanged",
         A + Table({{"Name", "Town"}, {"Ada", "Paris"}}) + E,
         A + Table({{"Name", "Town"}, {"Ada", "Rome"}}) + E,
         kA + "Name\n\tTown\n\t\nAda\n\t[-Paris-][+Rome+]\n\t\n" + kE,
         {1, 1, 0, 0}},
        {"ARowInserted",
         A + Table({{"a", "b"}, {"c", "d"}}) + E,
         A + Table({{"a", "b"}, {"x", "y"}, {"c", "d"}}) + E,
         kA + "a\n\tb\n\t\n[+x+]¶+\n\t[+y+]¶+\n\t\nc\n\td\n\t\n" + kE,
         {1, 0, 0, 0}},
        {"ATableDeleted",
         A + Table({{"gone", "too"}}) + E,
         A + E,
         kA + "[-gone-]¶-\n\t[-too-]¶-\n\t\n" + kE,
         {0, 1, 0, 0}},
        {"AWordMadeBold",
         P(R("Make ") + R("this") + R(" bold.")),
         P(R("Make ") + R("this", "<w:b/>") + R(" bold.")),
         "Make [~this~] bold.\n",
         {0, 0, 0, 1},
         true,
         {"<w:rPrChange"}},
        {"AWordMadeBoldUnmarkedWithoutFormatting",
         P(R("Make ") + R("this") + R(" bold.")),
         P(R("Make ") + R("this", "<w:b/>") + R(" bold.")),
         "Make this bold.\n",
         {},
         false},
        {"ASentenceResized",
         P(R("A whole sentence.")),
         P(R("A whole sentence.", "<w:sz w:val=\"32\"/>")),
         "[~A whole sentence.~]\n",
         {0, 0, 0, 1}},
        {"AParagraphRestyled",
         Text("Title of the note"),
         P(R("Title of the note"), "<w:pStyle w:val=\"Heading1\"/>"),
         "Title of the note\n",
         {0, 0, 0, 1},
         true,
         {"<w:pPrChange"}},
        {"APictureKept",
         A + P(Picture("rIdImg1")),
         A + P(Picture("rIdOther")),
         kA + "[o]\n",
         {},
         true,
         {},
         WithPicture("rIdImg1", 0x60),
         WithPicture("rIdOther", 0x60)},
        {"APictureReplaced",
         A + P(R("See ") + Picture("rIdImg1")),
         A + P(R("See ") + Picture("rIdImg1")),
         kA + "See [-[o]-][+[o]+]\n",
         {1, 1, 0, 0},
         true,
         {"quorvane-original"},
         WithPicture("rIdImg1", 0x60),
         WithPicture("rIdImg1", 0x90)},
        {"AFieldResultChanged",
         P(R("Page ") + Field("PAGE", "3")),
         P(R("Page ") + Field("PAGE", "4")),
         "Page [-3-][+4+]\n",
         {1, 1, 0, 0},
         true,
         {"w:fldSimple"}},
        {"AHyperlinkTextChanged",
         P(link + R("our site") + "</w:hyperlink>"),
         P(link + R("our new site") + "</w:hyperlink>"),
         "our [+new +]site\n",
         {1, 0, 0, 0},
         true,
         {"<w:hyperlink r:id=\"rIdLink\"><w:r><w:t xml:space=\"preserve\">our </w:t></w:r><w:ins"},
         {{}, {{"rIdLink", {"hyperlink", "http://example.org/"}}}},
         {{}, {{"rIdLink", {"hyperlink", "http://example.org/"}}}}},
        // Every other part of a document, with the same marks as the body.
        {"EveryPartIdentical",
         A + P(R("Text") + NoteReference(1) + TextBox(Text("Boxed"))),
         A + P(R("Text") + NoteReference(1) + TextBox(Text("Boxed"))),
         kA + "Text[^A note\n][o]{Boxed\n}\n[header default]\nTop\n[footer default]\nBottom\n",
         {},
         true,
         {},
         Header(Text("Top")) + Footer(Text("Bottom")) + Notes({{1, Text("A note")}}),
         Header(Text("Top")) + Footer(Text("Bottom")) + Notes({{1, Text("A note")}})},
        {"AHeaderWordChanged",
         A,
         A,
         kA + "[header default]\nCompany report, [-draft-][+final+] edition\n",
         {1, 1, 0, 0},
         true,
         {},
         Header(Text("Company report, draft edition")),
         Header(Text("Company report, final edition"))},
        {"AFirstPageFooterLineAdded",
         A,
         A,
         kA + "[footer first]\nPage footer¶+\n[+Second footer line+]\n",
         {1, 0, 0, 0},
         true,
         {},
         Footer(Text("Page footer"), "first"),
         Footer(Text("Page footer") + Text("Second footer line"), "first")},
        {"AHeaderOnTheRevisedSideOnly",
         A,
         A,
         kA + "[header default]\n[+New header+]¶+\n",
         {1, 0, 0, 0},
         true,
         {},
         {},
         Header(Text("New header"))},
        {"AHeaderOnTheOriginalSideOnly",
         A,
         A,
         kA + "[header default]\n[-Old header-]¶-\n",
         {0, 1, 0, 0},
         true,
         {},
         Header(Text("Old header")),
         {}},
        {"AFootnoteWordChanged",
         P(R("Text") + NoteReference(1)),
         P(R("Text") + NoteReference(1)),
         "Text[^Source [-one-][+two+]\n]\n",
         {1, 1, 0, 0},
         true,
         {},
         Notes({{1, Text("Source one")}}),
         Notes({{1, Text("Source two")}})},
        {"AFootnoteAdded",
         Text("Text."),
         P(R("Text.") + NoteReference(1)),
         "Text.[+[^[+A new note+]¶+\n]+]\n",
         {2, 0, 0, 0},
         true,
         {},
         {},
         Notes({{1, Text("A new note")}})},
        {"AFootnoteRemoved",
         P(R("Text.") + NoteReference(1)),
         Text("Text."),
         "Text.[-[^[-An old note-]¶-\n]-]\n",
         {0, 2, 0, 0},
         true,
         {},
         Notes({{1, Text("An old note")}}),
         {}},
        {"AnEndnoteWordChanged",
         P(R("Text") + NoteReference(1, true)),
         P(R("Text") + NoteReference(1, true)),
         "Text[^Cited [-here-][+there+]\n]\n",
         {1, 1, 0, 0},
         true,
         {},
         Notes({{1, Text("Cited here")}}, true),
         Notes({{1, Text("Cited there")}}, true)},
        {"ATextBoxWordChanged",
         P(R("Look: ") + TextBox(Text("Inside the box old words"))),
         P(R("Look: ") + TextBox(Text("Inside the box new words"))),
         "Look: [o]{Inside the box [-old-][+new+] words\n}\n",
         {1, 1, 0, 0},
         true,
         {},
         {},
         {},
         2},
        {"ACommentWhoseTextChanged",
         P(Commented(1, "word") + R(" here.")),
         P(Commented(1, "word") + R(" here.")),
         "word[#Reader: [-First-][+Second+] thought] here.\n",
         {1, 1, 0, 0},
         true,
         {"w:commentReference"},
         Comments({{1, "First thought"}}),
         Comments({{1, "Second thought"}})},
        {"ACommentAdded",
         Text("A word here."),
         P(R("A ") + Commented(1, "word") + R(" here.")),
         "A word[+[#Reader: A thought]+] here.\n",
         {1, 0, 0, 0},
         true,
         {"w:commentRangeStart"},
         {},
         Comments({{1, "A thought"}})},
        {"ACommentRemoved",
         P(R("A ") + Commented(4, "figure") + R(" here.")),
         Text("A figure here."),
         "A figure[-[#Reader: Check this figure]-] here.\n",
         {0, 1, 0, 0},
         true,
         {"w:commentRangeStart", "Check this figure"},
         Comments({{4, "Check this figure"}})},
        {"ACommentedParagraphDeleted",
         Text("The first paragraph stays.") + P(Commented(2, "Doomed") + R(" words go.")),
         Text("The first paragraph stays."),
         "The first paragraph stays.¶-\n[-Doomed[#Reader: About this] words go.-]\n",
         {0, 2, 0, 0},
         true,
         {"About this"},
         Comments({{2, "About this"}})},
        {"ACommentOnTextThatWentAndOneThatStays",
         P(R("Keep ") + Commented(1, "this") + R(" and drop ") + Commented(2, "that") + R(".")),
         P(R("Keep ") + Commented(1, "this") + R(" and drop.")),
         "Keep this[#Reader: Stays] and drop[- that[#Reader: Goes]-].\n",
         {0, 2, 0, 0},
         true,
         {},
         Comments({{1, "Stays"}, {2, "Goes"}}),
         Comments({{1, "Stays"}})},
        {"RunsCutDifferentlyOnTheTwoSides",
         P(R("Al") + R("pha beta gamma delta.")),
         P(R("Alpha gamma delta.")),
         "Alpha [-beta -]gamma delta.\n",
         {0, 1, 0, 0}},
        {"AWordChangedAfterATab",
         P("<w:r><w:tab/></w:r>" + R("one two ") + R("November") + R(" four.")),
         P("<w:r><w:tab/></w:r>" + R("one two Meadow four.")),
         "\tone two [-November-][+Meadow+] four.\n",
         {1, 1, 0, 0}},
        {"AShortParagraphKeepsItsNoteReference",
         P(R("Net price") + NoteReference(1) + R(" applies.")),
         P(R("Gross price") + NoteReference(1) + R(" holds.")),
         "[-Net-][+Gross+] price[^A note.\n] [-applies-][+holds+].\n",
         {2, 2, 0, 0},
         true,
         {},
         Notes({{1, Text("A note.")}}),
         Notes({{1, Text("A note.")}})},
        {"AnInputsOwnDeletedParagraphMarkIsTakenAsAccepted",
         "<w:p><w:pPr><w:rPr><w:del w:id=\"1\" w:author=\"Someone\" "
         "w:date=\"2020-01-01T00:00:00Z\"/></w:rPr></w:pPr>" +
             R("First half,") + "</w:p>" + Text(" second half."),
         Text("First half, second half."),
         "First half, second half.\n",
         {}},
        {"AFieldCodeChanged",
         P(R("Page ") + Field(" PAGE ", "1")),
         P(R("Page ") + Field(" NUMPAGES ", "1")),
         "Page [-1-][+1+]\n",
         {1, 1, 0, 0}},
        {"ALinkTargetChanged",
         P(R("See ") + "<w:hyperlink r:id=\"rIdL\">" + R("the site") + "</w:hyperlink>"),
         P(R("See ") + "<w:hyperlink r:id=\"rIdL\">" + R("the site") + "</w:hyperlink>"),
         "See [-the site-][+the site+]\n",
         {1, 1, 0, 0},
         true,
         {},
         {{}, {{"rIdL", {"hyperlink", "http://one.example/"}}}},
         {{}, {{"rIdL", {"hyperlink", "http://two.example/"}}}}},
        {"AnEquationChanged",
         P(R("So ") + "<m:oMath><m:r><m:t>x+</m:t></m:r><m:r><m:t>1</m:t></m:r></m:oMath>"),
         P(R("So ") + "<m:oMath><m:r><m:t>x+2</m:t></m:r></m:oMath>"),
         "So [-x+1-][+x+2+]\n",
         {1, 1, 0, 0},
         true,
         {"<w:del", "<m:r>"}},
        {"AWordChangedInABlockControl",
         "<w:sdt><w:sdtPr><w:tag w:val=\"t\"/></w:sdtPr><w:sdtContent>" +
             Text("The parties agree today.") + "</w:sdtContent></w:sdt>" + A,
         "<w:sdt><w:sdtPr><w:tag w:val=\"t\"/></w:sdtPr><w:sdtContent>" +
             Text("The parties agree tomorrow.") + "</w:sdtContent></w:sdt>" + A,
         "The parties agree [-today-][+tomorrow+].\n" + kA,
         {1, 1, 0, 0}},
        {"AnObjectWhosePartDiffersOnlyInNamespaceDeclarations",
         P(R("Chart: ") + Diagram("rIdD")),
         P(R("Chart: ") + Diagram("rIdD")),
         "Chart: [o]\n",
         {},
         true,
         {},
         DiagramPart("rIdD", "xmlns:a=\"urn:a\" xmlns:b=\"urn:b\""),
         DiagramPart("rIdD", "xmlns:b=\"urn:b\" xmlns:a=\"urn:a\"")},
        {"AWordChangedInTheSecondBoxOfAGroup",
         P(R("Look: ") + GroupOfBoxes(Text("First box words"), Text("Second box old words"))),
         P(R("Look: ") + GroupOfBoxes(Text("First box words"), Text("Second box new words"))),
         "Look: [o]{First box words\n}\n",
         {1, 1, 0, 0}},
        {"AWordChangedInARowInAControl",
         A + TableWithControlledRow("Ada", "Paris") + D,
         A + TableWithControlledRow("Ada", "Rome") + D,
         kA + "Name\n\tTown\n\t\nAda\n\t[-Paris-][+Rome+]\n\t\n" + kD,
         {1, 1, 0, 0}},
        {"ARowInAControlDeleted",
         A + TableWithControlledRow("Ada", "Paris") + D,
         A + Table({{"Name", "Town"}}) + D,
         kA + "Name\n\tTown\n\t\n[-Ada-]¶-\n\t[-Paris-]¶-\n\t\n" + kD,
         {0, 1, 0, 0}},
        {"RunsOfTextAndATabKeptWholeAroundAChangedWord",
         P("<w:r><w:t>alpha</w:t><w:tab/></w:r><w:r><w:t xml:space=\"preserve\">beta </w:t>"
           "</w:r><w:r><w:t>old</w:t></w:r><w:r><w:tab/><w:t>end</w:t></w:r>"),
         P("<w:r><w:t>alpha</w:t><w:tab/></w:r><w:r><w:t xml:space=\"preserve\">beta </w:t>"
           "</w:r><w:r><w:t>new</w:t></w:r><w:r><w:tab/><w:t>end</w:t></w:r>"),
         "alpha\tbeta [-old-][+new+]\tend\n",
         {1, 1, 0, 0}},
        {"AFieldInAHeaderKept",
         A,
         A,
         kA + "[header default]\nPage 1\n",
         {},
         true,
         {},
         Header(P(R("Page ") + Field("PAGE", "1"))),
         Header(P(R("Page ") + Field("PAGE", "1")))},
    };
}

void PrintTo(const Pair& pair, std::ostream* out) {
    *out << pair.name;
}

class RedlinePairs : public ::testing::TestWithParam<Pair> {};

// Every change carries an id of its own, the author and the date.
void ExpectStamped(const std::string& document) {
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(document.c_str()));
    std::set<std::string> ids;
    for (const char* name : {"w:ins", "w:del", "w:moveFrom", "w:moveTo", "w:rPrChange",
                             "w:pPrChange", "w:moveFromRangeStart", "w:moveToRangeStart"}) {
        for (const pugi::xpath_node& mark : xml.select_nodes((std::string("//") + name).c_str())) {
            EXPECT_STREQ(mark.node().attribute("w:author").value(), "Tester") << name;
            EXPECT_STREQ(mark.node().attribute("w:date").value(), "2026-12-08T10:00:00Z") << name;
            EXPECT_TRUE(ids.insert(mark.node().attribute("w:id").value()).second) << name;
        }
    }
}

TEST_P(RedlinePairs, MarksEachEditInPlaceAndRejectingOrAcceptingAllGivesEachSideBack) {
    const Pair& pair = GetParam();
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    WriteDocx(a, pair.original, pair.partsA);
    WriteDocx(b, pair.revised, pair.partsB);
    redline::CompareOptions options;
    options.author = "Tester";
    options.date = "2026-12-08T10:00:00Z";
    options.formatting = pair.formatting;
    const auto changes = CheckedCompare(a, b, result, options);

    EXPECT_EQ(redline::ReadText(result, redline::Reading::Markup), pair.markup);
    const ChangeCounts counts = redline::Count(changes);
    EXPECT_EQ(counts.insertions, pair.counts.insertions);
    EXPECT_EQ(counts.deletions, pair.counts.deletions);
    EXPECT_EQ(counts.moves, pair.counts.moves);
    EXPECT_EQ(counts.formatting, pair.counts.formatting);
    EXPECT_EQ(redline::ReadText(result, redline::Reading::RejectAll),
              redline::ReadText(a, redline::Reading::AcceptAll));
    EXPECT_EQ(redline::ReadText(result, redline::Reading::AcceptAll),
              redline::ReadText(b, redline::Reading::AcceptAll));
    const redline::Package package = redline::Package::Read(result);
    const std::string& document = package.part("word/document.xml");
    ExpectStamped(document);
    if (pair.deletions >= 0) {
        std::size_t marks = 0;
        for (std::size_t at = 0; (at = document.find("<w:del ", at)) != std::string::npos; ++at)
            ++marks;
        EXPECT_EQ(marks, static_cast<std::size_t>(pair.deletions));
    }
    for (const std::string& held : pair.resultHolds) {
        std::string everything;
        for (const std::string& name : package.names())
            everything += name + "\n" + package.part(name);
        EXPECT_NE(everything.find(held), std::string::npos) << held;
    }
}

INSTANTIATE_TEST_SUITE_P(Edits, RedlinePairs, ::testing::ValuesIn(Pairs()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

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

// A paragraph of thousands of words from a handful, as pasted lists and converters make: no word
// occurs once, so runs of words anchor the comparison; each changed word is marked alone.
TEST(Sections, AHeaderThatOnlyARewrittenParagraphsSectionNamesStays) {
    // The original's first section ends in a paragraph that is rewritten; that section alone
    // has a header. Rejecting every change must bring the header back with it.
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    DocxParts header = Header(Text("Top of the first section"));
    const std::string sectionBreak = "<w:sectPr>" + header.section + "</w:sectPr>";
    header.section.clear();
    WriteDocx(a, P(R("The first section ends here."), sectionBreak) + Text("The second one."),
              header);
    WriteDocx(b, Text("Quite another opening.") + Text("The second one."));
    CheckedCompare(a, b, result);
    EXPECT_EQ(redline::ReadText(result, redline::Reading::RejectAll),
              redline::ReadText(a, redline::Reading::AcceptAll));
    EXPECT_EQ(redline::ReadText(result, redline::Reading::AcceptAll),
              redline::ReadText(b, redline::Reading::AcceptAll));
}

// The revised document has one section, of another page, where the original has two, the second
// with a header: the header comes along, deleted, in a section of the result, never inside the
// record of the section's earlier properties, where the schema has no place for it.
TEST(Sections, AHeaderOfASectionTheRevisedLacksGoesIntoASectionNotIntoAChangeRecord) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    const std::string a4 = "<w:pgSz w:w=\"11906\" w:h=\"16838\"/>";
    WriteDocx(a,
              P(R("The first section ends here."), "<w:sectPr>" + a4 + "</w:sectPr>") +
                  Text("The second one."),
              Header(Text("Top of the second section")));
    DocxParts landscape;
    landscape.page = "<w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>";
    WriteDocx(b, Text("The first section ends here.") + Text("The second one."), landscape);
    CheckedCompare(a, b, result);
    EXPECT_EQ(NewSchemaErrors(result, {a, b}), std::vector<std::string>{});
    EXPECT_EQ(redline::ReadText(result, redline::Reading::RejectAll),
              redline::ReadText(a, redline::Reading::AcceptAll));
    EXPECT_EQ(redline::ReadText(result, redline::Reading::AcceptAll),
              redline::ReadText(b, redline::Reading::AcceptAll));
}

// Word gives each paragraph an id that a copy keeps: where a paragraph moved, the revised one keeps
// its id where it arrived, and the place it left gets one of its own.
TEST(ParagraphIds, AMovedParagraphKeepsItsIdWhereItArrivesAndItsOldPlaceGetsAnother) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    auto with = [](const char* id, const std::string& text) {
        return "<w:p w14:paraId=\"" + std::string(id) + "\" w14:textId=\"77777777\">" + R(text) +
               "</w:p>";
    };
    const std::string moved = with("0A000001", "A paragraph long enough to be seen as moved away.");
    const std::string stays = with("0A000002", "Another paragraph that stays where it is.");
    const std::string last = with("0A000003", "The closing words of the document.");
    WriteDocx(a, moved + stays + last);
    WriteDocx(b, stays + last + moved);
    ASSERT_EQ(redline::Count(CheckedCompare(a, b, result)).moves, 1);
    const std::string xml = redline::Package::Read(result).part("word/document.xml");
    const std::size_t arrived = xml.find("<w:moveTo "), left = xml.find("<w:moveFrom ");
    ASSERT_NE(arrived, std::string::npos);
    ASSERT_NE(left, std::string::npos);
    const std::size_t keptAt = xml.find("w14:paraId=\"0A000001\"");
    EXPECT_GT(keptAt, xml.rfind("<w:p ", arrived) - 1) << "the arrived paragraph lost its id";
    EXPECT_EQ(xml.find("w14:paraId=\"0A000001\"", keptAt + 1), std::string::npos);
}

TEST(LongParagraphs, OfFewWordsMarkEachChangedWordAlone) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    const char* words[] = {"red", "green", "blue", "amber", "grey"};
    std::mt19937 random(7);
    std::string runsA, runsB;
    for (int i = 0; i < 3000; ++i) {
        const std::string word = words[random() % 5];
        runsA += R(word + " ");
        runsB += R((i % 50 == 25 ? std::string("violet") : word) + " ");
    }
    WriteDocx(a, P(runsA));
    WriteDocx(b, P(runsB));
    const ChangeCounts counts = redline::Count(CheckedCompare(a, b, result));
    EXPECT_EQ(counts.insertions, 60);
    EXPECT_EQ(counts.deletions, 60);
    EXPECT_EQ(redline::ReadText(result, redline::Reading::RejectAll),
              redline::ReadText(a, redline::Reading::AcceptAll));
    EXPECT_EQ(redline::ReadText(result, redline::Reading::AcceptAll),
              redline::ReadText(b, redline::Reading::AcceptAll));
}

// A paragraph moved past lines that repeat is the one move, the repeated lines kept.
TEST(Moves, AParagraphMovedPastRepeatedOnesIsOneMove) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    const std::string moved = Text("A paragraph that will move further down in the document.");
    std::string repeated;
    for (int i = 0; i < 4; ++i) repeated += Text("Repeated line of the form.");
    const std::string closing = Text("The closing paragraph stays where it is.");
    WriteDocx(a, moved + repeated + closing);
    WriteDocx(b, repeated + moved + closing);
    const auto changes = CheckedCompare(a, b, result);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, redline::ChangeKind::Move);
    EXPECT_EQ(changes[0].text, "A paragraph that will move further down in the document.");
}

// Every mark shares its author's name within its document: a name that XML must escape, or
// cannot hold at all, is still each mark's as given.
TEST(Marks, CarryTheAuthorsNameAsGivenWhateverItHolds) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    WriteDocx(a, Text("The office moves in spring.") + Text("Boxes go first."));
    WriteDocx(b, Text("The office moves in autumn.") + Text("Crates go first."));
    for (const std::string& author :
         std::vector<std::string>{"Ann & \"Bo\" <QA>", "tab\there", "line\nbreak"}) {
        redline::CompareOptions options;
        options.author = author;
        options.date = "2026-12-08T10:00:00Z";
        CheckedCompare(a, b, result, options);
        pugi::xml_document xml;
        ASSERT_TRUE(
            xml.load_string(redline::Package::Read(result).part("word/document.xml").c_str()));
        int marks = 0;
        for (const char* name : {"w:ins", "w:del"}) {
            for (const pugi::xpath_node& mark :
                 xml.select_nodes((std::string("//") + name).c_str())) {
                EXPECT_EQ(mark.node().attribute("w:author").value(), author) << name;
                ++marks;
            }
        }
        EXPECT_EQ(marks, 4) << author;
    }
}

// The original has three sections, each with its own header; the revised has dropped the middle
// one. The last sections still pair, so the last header's changed word is marked alone, and the
// middle section comes along with its deleted paragraph, its header as it was: rejecting the
// deletion gives the section back.
TEST(Sections, ASectionDroppedFromTheMiddleLeavesTheLastHeadersPaired) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    auto header = [](const std::string& name, const std::string& text) {
        DocxParts parts = Header(Text(text));
        parts.parts = {{"word/" + name + ".xml", parts.parts.begin()->second}};
        parts.relationships = {{"rId" + name, {"header", name + ".xml"}}};
        parts.contentTypes = {{"word/" + name + ".xml", parts.contentTypes.begin()->second}};
        parts.section = "<w:headerReference w:type=\"default\" r:id=\"rId" + name + "\"/>";
        return parts;
    };
    auto ending = [](const std::string& text, const DocxParts& withHeader) {
        return P(R(text), "<w:sectPr>" + withHeader.section + "</w:sectPr>");
    };
    DocxParts alpha = header("alpha", "Alpha chapter heading"),
              beta = header("beta", "Beta chapter heading"),
              gamma = header("gamma", "Gamma chapter heading, draft"),
              gammaFinal = header("gamma", "Gamma chapter heading, final");
    DocxParts lastOfA = alpha + beta + gamma, lastOfB = alpha + gammaFinal;
    lastOfA.section = gamma.section;  // the last section's own header; the others end paragraphs
    lastOfB.section = gammaFinal.section;
    WriteDocx(a,
              ending("The alpha chapter.", alpha) + ending("The beta chapter.", beta) +
                  Text("The gamma chapter."),
              lastOfA);
    WriteDocx(b, ending("The alpha chapter.", alpha) + Text("The gamma chapter."), lastOfB);
    CheckedCompare(a, b, result);
    EXPECT_EQ(NewSchemaErrors(result, {a, b}), std::vector<std::string>{});
    const std::string markup = redline::ReadText(result, redline::Reading::Markup);
    EXPECT_NE(markup.find("Gamma chapter heading, [-draft-][+final+]"), std::string::npos)
        << markup;
    EXPECT_NE(markup.find("[header default]\nBeta chapter heading\n"), std::string::npos) << markup;
    EXPECT_EQ(redline::ReadText(result, redline::Reading::RejectAll),
              redline::ReadText(a, redline::Reading::AcceptAll));
    EXPECT_EQ(redline::ReadText(result, redline::Reading::AcceptAll),
              redline::ReadText(b, redline::Reading::AcceptAll));
}
