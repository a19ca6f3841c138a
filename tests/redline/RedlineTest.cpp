// The comparison engine over pairs of documents that differ by one known edit each: the marks it
// writes and where they stand, the counts it reports, and that rejecting every change gives the
// original back and accepting every change the revised.
#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>
#include <random>
#include <set>

#include "FiveParagraphs.h"
#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/SchemaCheck.h"

namespace {

using namespace docx;
using namespace five;
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
