// Sections and their headers, paragraph ids, long paragraphs, moves and the marks' author: what
// a comparison keeps of a document's structure, each checked in both views.
#include <gtest/gtest.h>

#include <random>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/SchemaCheck.h"

using namespace docx;
using redline::ChangeCounts;

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

// A paragraph of thousands of words from a handful, as pasted lists and converters make: no word
// occurs once, so runs of words anchor the comparison; each changed word is marked alone.
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

namespace {

// A header part of its own, `name`.xml, and the section properties that name it.
DocxParts NamedHeader(const std::string& name, const std::string& text) {
    DocxParts parts = Header(Text(text));
    parts.parts = {{"word/" + name + ".xml", parts.parts.begin()->second}};
    parts.relationships = {{"rId" + name, {"header", name + ".xml"}}};
    parts.contentTypes = {{"word/" + name + ".xml", parts.contentTypes.begin()->second}};
    parts.section = "<w:headerReference w:type=\"default\" r:id=\"rId" + name + "\"/>";
    return parts;
}

// A paragraph of `text` that ends a section with the header of `withHeader`.
std::string EndingSection(const std::string& text, const DocxParts& withHeader) {
    return P(R(text), "<w:sectPr>" + withHeader.section + "</w:sectPr>");
}

}  // namespace

// The original has three sections, each with its own header; the revised has dropped the middle
// one. The last sections still pair, so the last header's changed word is marked alone, and the
// middle section comes along with its deleted paragraph, its header as it was: rejecting the
// deletion gives the section back.
TEST(Sections, ASectionDroppedFromTheMiddleLeavesTheLastHeadersPaired) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    DocxParts alpha = NamedHeader("alpha", "Alpha chapter heading"),
              beta = NamedHeader("beta", "Beta chapter heading"),
              gamma = NamedHeader("gamma", "Gamma chapter heading, draft"),
              gammaFinal = NamedHeader("gamma", "Gamma chapter heading, final");
    DocxParts lastOfA = alpha + beta + gamma, lastOfB = alpha + gammaFinal;
    lastOfA.section = gamma.section;  // the last section's own header; the others end paragraphs
    lastOfB.section = gammaFinal.section;
    WriteDocx(a,
              EndingSection("The alpha chapter.", alpha) +
                  EndingSection("The beta chapter.", beta) + Text("The gamma chapter."),
              lastOfA);
    WriteDocx(b, EndingSection("The alpha chapter.", alpha) + Text("The gamma chapter."), lastOfB);
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

// A table row has an id as a paragraph has: a row replaced whole keeps its id in the revised
// copy, and the original's copy beside it gets another.
TEST(ParagraphIds, ARowReplacedWholeKeepsItsIdOnce) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    auto row = [](const char* id, const std::string& name, const std::string& town) {
        return "<w:tr w14:paraId=\"" + std::string(id) + "\" w14:textId=\"77777777\"><w:tc>" +
               Text(name) + "</w:tc><w:tc>" + Text(town) + "</w:tc></w:tr>";
    };
    auto table = [](const std::string& rows) {
        return "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol/><w:gridCol/></w:tblGrid>" + rows +
               "</w:tbl>" + Text("After the table.");
    };
    const std::string heading = row("0B000001", "Name", "Town"),
                      stays = row("0B000003", "Lin", "Oslo");
    WriteDocx(a, table(heading + row("0B000002", "Ada", "Paris") + stays));
    WriteDocx(b, table(heading + stays + row("0B000002", "Grace", "Arlington")));
    CheckedCompare(a, b, result);  // which finds every id twice
    const std::string xml = redline::Package::Read(result).part("word/document.xml");
    const std::size_t first = xml.find("w14:paraId=\"0B000002\"");
    ASSERT_NE(first, std::string::npos) << xml;
    EXPECT_EQ(xml.find("w14:paraId=\"0B000002\"", first + 1), std::string::npos);
}

// Two sections added in the middle, each with a header of its own: both headers are new.
TEST(Sections, SectionsAddedInTheMiddleBringTheirHeadersInserted) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    const DocxParts alpha = NamedHeader("alpha", "Alpha chapter heading"),
                    beta = NamedHeader("beta", "Beta chapter heading"),
                    delta = NamedHeader("delta", "Delta chapter heading"),
                    gamma = NamedHeader("gamma", "Gamma chapter heading");
    DocxParts lastOfA = alpha + gamma, lastOfB = alpha + beta + delta + gamma;
    lastOfA.section = lastOfB.section = gamma.section;
    WriteDocx(a, EndingSection("The alpha chapter.", alpha) + Text("The gamma chapter."), lastOfA);
    WriteDocx(b,
              EndingSection("The alpha chapter.", alpha) +
                  EndingSection("The beta chapter.", beta) +
                  EndingSection("The delta chapter.", delta) + Text("The gamma chapter."),
              lastOfB);
    std::vector<std::string> headers;
    for (const auto& change : CheckedCompare(a, b, result)) {
        if (change.part == redline::Part::Header) headers.push_back(change.text);
    }
    EXPECT_EQ(headers, (std::vector<std::string>{"Beta chapter heading", "Delta chapter heading"}));
}
