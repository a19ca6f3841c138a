// What a comparison keeps that no reading of text shows: bookmarks, notes cited twice, styles
// that deleted content brings along, the marks' authors whatever their names, words inside
// smart tags and custom XML, shapes that converters number anew; and the variants of the
// comparison: for the office (changed block controls unwrapped), and with tables skipped.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "redline/Compare.h"
#include "redline/MarkedResult.h"
#include "redline/io/Package.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/Zip.h"

namespace {

using namespace docx;

class KeptContent : public ::testing::Test {
  protected:
    std::vector<redline::Change> compare(const std::string& original, const std::string& revised,
                                         const DocxParts& partsA = {}, const DocxParts& partsB = {},
                                         const redline::CompareOptions& options = {}) {
        WriteDocx(a_, original, partsA);
        WriteDocx(b_, revised, partsB);
        auto changes = CheckedCompare(a_, b_, r_, options);
        EXPECT_EQ(redline::ReadText(r_, redline::Reading::AcceptAll),
                  redline::ReadText(b_, redline::Reading::AcceptAll));
        return changes;
    }
    std::string part(const std::string& name) { return redline::Package::Read(r_).part(name); }
    static int Count(const std::string& text, const std::string& what) {
        int count = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1))
            ++count;
        return count;
    }

    TemporaryFolder folder_;
    std::string a_ = folder_.path() + "/a.docx", b_ = folder_.path() + "/b.docx",
                r_ = folder_.path() + "/r.docx";
};

const std::string kFirstText = "The first paragraph stays where it is.";
const std::string kFirst = Text(kFirstText);
const std::string kLast = Text("The last paragraph stays where it is too.");

}  // namespace

// A bookmark of the revised document between two paragraphs, and one that begins before a
// changed paragraph, stay where they stand: links and cross references lead to them.
TEST_F(KeptContent, BookmarksBetweenParagraphsStay) {
    const std::string between =
        "<w:bookmarkStart w:id=\"7\" w:name=\"Between\"/>"
        "<w:bookmarkEnd w:id=\"7\"/>";
    compare(kFirst + Text("Old words here.") + kLast,
            kFirst + between + Text("New words here.") + between + kLast);
    const std::string xml = part("word/document.xml");
    EXPECT_EQ(Count(xml, "w:name=\"Between\""), 2) << xml;
    EXPECT_EQ(Count(xml, "<w:bookmarkEnd w:id=\"7\"/>"), 2);
}

// A new paragraph citing a note its document lacks (a writer's slip) is the one change: no
// empty note is listed beside it.
TEST_F(KeptContent, ANewReferenceToAMissingNoteListsNoNote) {
    const auto changes = compare(kFirst + kLast, kFirst + P(R("Cited ") + NoteReference(7)) + kLast,
                                 {}, Notes({{1, Text("The only note there is.")}}));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].part, redline::Part::Body);
}

// A bookmark inside a paragraph whose words changed stays around the words it marks.
TEST_F(KeptContent, ABookmarkInAChangedParagraphStaysAroundItsWords) {
    auto paragraph = [](const std::string& word) {
        return P(R("The fee is ") + "<w:bookmarkStart w:id=\"3\" w:name=\"Fee\"/>" +
                 R("ten pounds") + "<w:bookmarkEnd w:id=\"3\"/>" + R(" paid " + word + "."));
    };
    compare(kFirst + paragraph("monthly"), kFirst + paragraph("yearly"));
    const std::string xml = part("word/document.xml");
    const std::size_t start = xml.find("w:name=\"Fee\""),
                      end = xml.find("<w:bookmarkEnd w:id=\"3\"/>");
    ASSERT_NE(start, std::string::npos) << xml;
    ASSERT_NE(end, std::string::npos) << xml;
    EXPECT_NE(xml.substr(start, end - start).find("ten pounds"), std::string::npos) << xml;
}

// An inserted paragraph that cites one note twice brings the note in once.
TEST_F(KeptContent, ANoteCitedTwiceByAnInsertedParagraphComesInOnce) {
    const DocxParts note = Notes({{1, Text("The note's own words.")}});
    const auto changes = compare(
        kFirst + kLast,
        kFirst + P(R("Cited ") + NoteReference(1) + R(" and cited again ") + NoteReference(1)) +
            kLast,
        {}, note);
    const std::string notes = part("word/footnotes.xml");
    EXPECT_EQ(Count(notes, "The note's own words."), 1) << notes;
    EXPECT_EQ(Count(notes, "<w:footnote w:id=\"1\""), 1) << notes;
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
              redline::ReadText(a_, redline::Reading::AcceptAll));
}

// Deleted content in a style only the original has brings that style, with the styles it is
// based on, once each; a style both have stays the revised one's.
TEST_F(KeptContent, DeletedContentBringsItsStyleOnce) {
    DocxParts styles;
    styles.parts["word/styles.xml"] =
        "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name "
        "w:val=\"Normal\"/></w:style><w:style w:type=\"paragraph\" w:styleId=\"Quote\">"
        "<w:name w:val=\"Quote\"/><w:basedOn w:val=\"Plain\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Plain\"><w:name w:val=\"Plain\"/>"
        "<w:basedOn w:val=\"Normal\"/><w:rPr><w:i/></w:rPr></w:style>"
        "<w:style w:type=\"character\" w:styleId=\"Strong\"><w:name w:val=\"Strong\"/>"
        "<w:rPr><w:b/></w:rPr></w:style></w:styles>";
    // The control's own formatting, in a paragraph that stays, names a style too.
    const std::string control =
        "<w:sdt><w:sdtPr><w:rPr><w:rStyle w:val=\"Strong\"/></w:rPr></w:sdtPr><w:sdtContent>" +
        R("a signed clause") + "</w:sdtContent></w:sdt>";
    compare(kFirst + P(R("Quoted words that go."), "<w:pStyle w:val=\"Quote\"/>") +
                P(R("Plain words that go."), "<w:pStyle w:val=\"Normal\"/>") +
                P(R("It ends with ") + control) + kLast,
            kFirst + Text("It ends with ") + kLast, styles);
    const std::string result = part("word/styles.xml");
    for (const char* id : {"Quote", "Plain", "Normal", "Strong"}) {
        EXPECT_EQ(Count(result, std::string("w:styleId=\"") + id + "\""), 1) << id << "\n"
                                                                             << result;
    }
}

// Whatever the author's name holds, every mark carries it and the date, and the result is a
// well-formed document (the check that CheckedCompare makes).
TEST_F(KeptContent, EveryMarkCarriesItsAuthorAndDateWhateverTheName) {
    for (const std::string author :
         {"Ada Lovelace", "O'Brien & \"Sons\" <legal>", "Zoë 😀 Ångström", "Tab\there"}) {
        redline::CompareOptions options;
        options.author = author;
        options.date = "2026-12-08T10:00:00Z";
        compare(kFirst + Text("Old words.") + kLast, kFirst + Text("New words.") + kLast, {}, {},
                options);
        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_string(part("word/document.xml").c_str()));
        int marks = 0;
        for (const char* name : {"//w:ins", "//w:del"}) {
            for (const pugi::xpath_node& mark : xml.select_nodes(name)) {
                ++marks;
                EXPECT_EQ(std::string(mark.node().attribute("w:author").value()), author);
                EXPECT_STREQ(mark.node().attribute("w:date").value(), "2026-12-08T10:00:00Z");
            }
        }
        EXPECT_GT(marks, 0) << author;
    }
}

// Words inside a smart tag or inline custom XML are compared as words: a changed one is marked,
// and the word diff and the report see it.
TEST_F(KeptContent, WordsInsideSmartTagsAndCustomXmlAreCompared) {
    for (const char* wrapper : {"w:smartTag", "w:customXml"}) {
        auto wrapped = [&](const std::string& city) {
            return P(R("Meet in ") + "<" + wrapper + " w:element=\"place\">" + R(city) + "</" +
                     wrapper + ">" + R(" on Monday."));
        };
        const auto changes = compare(kFirst + wrapped("Paris"), kFirst + wrapped("Rome"));
        ASSERT_EQ(changes.size(), 2u) << wrapper;
        EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
                  redline::ReadText(a_, redline::Reading::AcceptAll))
            << wrapper;
        std::string shown;
        for (const auto& story : redline::ReadMarked(r_)) {
            for (const auto& block : story.blocks) {
                for (const auto& span : block.paragraph.spans) {
                    if (span.kind != redline::SpanKind::Plain) shown += span.text + ";";
                }
            }
        }
        EXPECT_EQ(shown, "Paris;Rome;") << wrapper;
    }
}

// A block of custom XML around paragraphs is one unit: changed, it is deleted and inserted whole,
// and the change list, the word diff and the report all show it.
TEST_F(KeptContent, ABlockOfCustomXmlChangedIsMarkedWholeAndShown) {
    auto block = [](const std::string& word) {
        return "<w:customXml w:element=\"clause\">" + Text("The fee is " + word + " pounds.") +
               "</w:customXml>";
    };
    const auto changes = compare(kFirst + block("ten") + kLast, kFirst + block("twelve") + kLast);
    std::string listed;
    for (const auto& change : changes) listed += change.text + ";";
    EXPECT_EQ(listed, "The fee is ten pounds.;The fee is twelve pounds.;");
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
              redline::ReadText(a_, redline::Reading::AcceptAll));
    std::string shown;
    for (const auto& story : redline::ReadMarked(r_)) {
        for (const auto& block : story.blocks) {
            for (const auto& span : block.paragraph.spans) {
                if (span.kind != redline::SpanKind::Plain) shown += span.text + ";";
            }
        }
    }
    EXPECT_EQ(shown, "The fee is ten pounds.;The fee is twelve pounds.;");
}

// Shapes and objects that a converter numbers anew (VML shape ids, o:spid, wp14 ids) are the
// same shapes.
TEST_F(KeptContent, ShapesNumberedAnewAreTheSame) {
    auto shape = [](const std::string& id, const std::string& spid) {
        return P(
            R("A line: ") + "<w:r><w:pict><v:line id=\"" + id + "\" o:spid=\"" + spid +
            "\" from=\"0,0\" to=\"100pt,0\" xmlns:o=\"urn:schemas-microsoft-com:office:office\"/>"
            "</w:pict></w:r>");
    };
    EXPECT_TRUE(compare(kFirst + shape("_x0000_s1026", "_x0000_s1026"),
                        kFirst + shape("_x0000_s2049", "_x0000_s2049"))
                    .empty());
}

// For the office, a block-level content control that holds changes gives way to its content
// (the office shows no change inside one); an unchanged control stays.
TEST_F(KeptContent, ForTheOfficeChangedBlockControlsGiveWayToTheirContent) {
    auto control = [](const std::string& tag, const std::string& words) {
        return "<w:sdt><w:sdtPr><w:tag w:val=\"" + tag + "\"/></w:sdtPr><w:sdtContent>" +
               Text(words) + "</w:sdtContent></w:sdt>";
    };
    redline::CompareOptions forWriter;
    forWriter.forWriter = true;
    compare(kFirst + control("changed", "Old words inside.") + control("kept", "Same words."),
            kFirst + control("changed", "New words inside.") + control("kept", "Same words."),
            Header(control("changed", "An old heading.")),
            Header(control("changed", "A new heading.")), forWriter);
    for (const char* name : {"word/document.xml", "word/header-default.xml"}) {
        const std::string xml = part(name);
        EXPECT_EQ(xml.find("w:val=\"changed\""), std::string::npos) << xml;
    }
    EXPECT_NE(part("word/document.xml").find("w:val=\"kept\""), std::string::npos);
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
              redline::ReadText(a_, redline::Reading::AcceptAll));
}

// Tables skipped: their paragraphs are still compared, each as a plain paragraph, the first
// cell's as any other's, and the table stays the revised one's.
TEST_F(KeptContent, SkippedTablesStillCompareEveryCellsWords) {
    redline::CompareOptions skip;
    skip.skip.tables = true;
    const auto changes = compare(
        kFirst + Table({{"Ada Lovelace", "Paris"}, {"Grace Hopper", "Arlington, Virginia"}}),
        kFirst + Table({{"Adah Lovelace", "Paris"}, {"Grace Hopper", "Washington, Virginia"}}), {},
        {}, skip);
    std::string listed;
    for (const auto& change : changes) {
        listed += change.text + ";";
        EXPECT_EQ(change.part, redline::Part::Table) << change.text;
    }
    EXPECT_EQ(listed, "Ada;Adah;Arlington;Washington;");
}

// A picture the original alone shows, named as some writers name it (in capitals), keeps a
// picture's content type in the result: a word processor shows no part typed otherwise.
TEST_F(KeptContent, APictureBroughtAlongKeepsItsTypeWhateverTheCaseOfItsName) {
    DocxParts picture;
    picture.parts["word/media/Image1.PNG"] = Png(0x40);
    picture.relationships["rIdPic0"] = {"image", "media/Image1.PNG"};
    compare(kFirst + P(R("A picture: ") + Picture("rIdPic0")) + kLast, kFirst + kLast, picture);
    pugi::xml_document types;
    ASSERT_TRUE(types.load_string(part("[Content_Types].xml").c_str()));
    std::string carried;
    const redline::Package result = redline::Package::Read(r_);
    for (const std::string& name : result.names()) {
        if (name.ends_with(".PNG")) carried = name;
    }
    ASSERT_FALSE(carried.empty());
    std::string type;
    for (const pugi::xml_node& node : types.document_element().children()) {
        std::string key = node.attribute("Extension").value();
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (std::string(node.name()) == "Default" && key == "png" && type.empty()) {
            type = node.attribute("ContentType").value();
        }
        if (std::string(node.attribute("PartName").value()) == "/" + carried) {
            type = node.attribute("ContentType").value();
        }
    }
    EXPECT_EQ(type, "image/png");
}

// A revised document written without a styles part (as scripts write them): deleted content in
// a style of the original still compares, and rejecting gives its words back.
TEST_F(KeptContent, DeletedStyledContentComparesWhereTheRevisedHasNoStyles) {
    WriteDocx(a_, kFirst + P(R("A heading that goes"), "<w:pStyle w:val=\"Heading1\"/>") + kLast);
    WriteDocx(b_, kFirst + kLast);
    ZipEntries entries = ReadZip(b_), kept;
    for (const auto& entry : entries) {
        if (entry.first != "word/styles.xml") kept.push_back(entry);
    }
    for (auto& [name, bytes] : kept) {
        if (name == "word/_rels/document.xml.rels") {
            bytes.erase(bytes.find("<Relationship Id=\"rIdStyles\""),
                        bytes.find("/>", bytes.find("rIdStyles")) + 2 -
                            bytes.find("<Relationship Id=\"rIdStyles\""));
        }
    }
    WriteZip(b_, kept);
    EXPECT_EQ(redline::Count(CheckedCompare(a_, b_, r_)).deletions, 1);
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
              redline::ReadText(a_, redline::Reading::AcceptAll));
}

// What makes no visible difference is no change: a run's language, proofing marks, revision
// sessions.
TEST_F(KeptContent, LanguageProofingAndSessionsAreNoChange) {
    const auto changes = compare(
        kFirst + P(R("Bonjour tout le monde.", "<w:lang w:val=\"fr-FR\"/>")),
        kFirst +
            "<w:p w:rsidR=\"00AB12CD\"><w:r w:rsidRPr=\"00CD34EF\"><w:rPr><w:noProof/>"
            "<w:lang w:val=\"en-GB\"/></w:rPr><w:t>Bonjour tout le monde.</w:t></w:r></w:p>");
    EXPECT_TRUE(changes.empty()) << changes.size() << " changes, the first "
                                 << (changes.empty() ? "" : changes[0].text);
}

// A field is one unit, how it looks part of what it is: made bold, it goes and comes whole, and
// rejecting gives the plain one back.
TEST_F(KeptContent, AFieldMadeBoldGoesAndComesWhole) {
    const auto changes =
        compare(kFirst + P(R("Page ") + Field("PAGE", "3")),
                kFirst + P(R("Page ") + Field("PAGE", "3")
                                            .insert(Field("PAGE", "3").find("<w:r>") + 5,
                                                    "<w:rPr><w:b/></w:rPr>")));
    const redline::ChangeCounts counts = redline::Count(changes);
    EXPECT_EQ(counts.insertions, 1);
    EXPECT_EQ(counts.deletions, 1);
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::Markup), kFirstText + "\nPage [-3-][+3+]\n");
}

// In a row that gains a cell and loses another, the cell that went comes back where it stood.
TEST_F(KeptContent, ACellThatWentComesBackWhereItStood) {
    compare(kFirst + Table({{"Name", "Born", "Town"}, {"Ada", "1815", "London"}}),
            kFirst + Table({{"Name", "Town", "Died"}, {"Ada", "London", "1852"}}));
    EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
              redline::ReadText(a_, redline::Reading::AcceptAll));
    const std::string markup = redline::ReadText(r_, redline::Reading::Markup);
    EXPECT_LT(markup.find("1815"), markup.find("London")) << markup;
    EXPECT_LT(markup.find("London"), markup.find("1852")) << markup;
}

// In a stretch that changed, a paragraph inserted ahead of one whose words changed: the
// changed one is marked word by word, the new one inserted whole.
TEST_F(KeptContent, AnInsertedParagraphAheadOfAChangedOneLeavesItMarkedWordByWord) {
    const auto changes =
        compare(kFirst + Text("The committee will meet on Monday in the small hall.") + kLast,
                kFirst + Text("An entirely new paragraph, with nothing in common.") +
                    Text("The committee will meet on Tuesday in the small hall.") + kLast);
    std::vector<std::string> listed;
    for (const auto& change : changes) listed.push_back(change.text);
    EXPECT_EQ(listed,
              (std::vector<std::string>{"An entirely new paragraph, with nothing in common.",
                                        "Monday", "Tuesday"}));
}

// An inline text control is compared inside, but one that holds a field is one unit, changed
// whole: marks inside it could split the field from its code.
TEST_F(KeptContent, AnInlineControlHoldingAFieldIsOneUnit) {
    auto control = [](const std::string& word, const std::string& inside) {
        return P(R("Signed: ") + "<w:sdt><w:sdtPr><w:tag w:val=\"sign\"/></w:sdtPr><w:sdtContent>" +
                 R(word + " on ") + inside + "</w:sdtContent></w:sdt>" + R(" here."));
    };
    const std::string field =
        "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>"
        " DATE </w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/>"
        "</w:r><w:r><w:t>today</w:t></w:r><w:r><w:fldChar "
        "w:fldCharType=\"end\"/></w:r>";
    std::vector<std::string> listed;
    for (const auto& change :
         compare(kFirst + control("Ada", field), kFirst + control("Grace", field)))
        listed.push_back(change.text);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_NE(listed[0].find("Ada on"), std::string::npos) << listed[0];
    EXPECT_NE(listed[1].find("Grace on"), std::string::npos) << listed[1];
    // Without the field, the control is compared inside: the name alone is marked.
    listed.clear();
    for (const auto& change :
         compare(kFirst + control("Ada", R("Monday")), kFirst + control("Grace", R("Monday")))) {
        listed.push_back(change.text);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"Ada", "Grace"}));
}

// A field of the complex kind (begin, code, separate, what it shows, end) whose result changed is
// changed; one that shows the same is not.
TEST_F(KeptContent, AComplexFieldIsComparedByItsCodeAndWhatItShows) {
    auto field = [](const std::string& shown, const std::string& look = "") {
        return P(R("Page ") +
                 "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>"
                 " PAGE </w:instrText></w:r><w:r><w:fldChar "
                 "w:fldCharType=\"separate\"/></w:r><w:r>" +
                 look + "<w:t>" + shown +
                 "</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r>" + R(" of ten."));
    };
    EXPECT_EQ(compare(kFirst + field("3"), kFirst + field("3", "<w:rPr><w:b/></w:rPr>")).size(), 2u)
        << "what it shows made bold";
    EXPECT_EQ(compare(kFirst + field("3"), kFirst + field("4")).size(), 2u);
    EXPECT_TRUE(compare(kFirst + field("3"), kFirst + field("3")).empty());
}

// A part the original alone holds, which neither package gives a content type, gets the type its
// name says: a workbook a workbook's, a metafile a picture's, anything else plain bytes.
TEST_F(KeptContent, APartNeitherPackageTypesGetsTheTypeItsNameSays) {
    DocxParts parts;
    parts.parts["word/media/image9.emf"] = "not really a metafile";
    parts.relationships["rIdPic0"] = {"image", "media/image9.emf"};
    parts.parts["word/embeddings/book.xlsx"] = "not really a workbook";
    parts.relationships["rIdSheet"] = {"package", "embeddings/book.xlsx"};
    compare(kFirst + P(R("A picture: ") + Picture("rIdPic0")) + P(R("A book: ") + EmbeddedObject()),
            kFirst, parts);
    const std::string types = part("[Content_Types].xml");
    const redline::Package result = redline::Package::Read(r_);
    for (const std::string& name : result.names()) {
        if (name.ends_with("image9.emf")) {
            EXPECT_NE(types.find("PartName=\"/" + name + "\" ContentType=\"image/x-emf\""),
                      std::string::npos)
                << types;
        }
        if (name.ends_with("book.xlsx")) {
            EXPECT_NE(types.find("PartName=\"/" + name +
                                 "\" ContentType=\"application/"
                                 "vnd.openxmlformats-officedocument.spreadsheetml.sheet\""),
                      std::string::npos)
                << types;
        }
    }
}

// In a stretch that changed, a paragraph pairs with the one most like it, not with the first
// that is like it at all: the other goes whole.
TEST_F(KeptContent, AChangedParagraphPairsWithTheOneMostLikeIt) {
    const auto changes =
        compare(kFirst + Text("The meeting is on Monday in the hall of the town.") +
                    Text("The meeting is on Friday near the lake of the park.") + kLast,
                kFirst + Text("The meeting is on Tuesday in the hall of the town.") + kLast);
    std::vector<std::string> listed;
    for (const auto& change : changes) listed.push_back(change.text);
    EXPECT_EQ(listed,
              (std::vector<std::string>{"Monday", "Tuesday",
                                        "The meeting is on Friday near the lake of the park."}));
}

// A tab or a break made bold is a change of formatting like a word made bold: marked, and
// rejected it is plain again.
TEST_F(KeptContent, ATabMadeBoldIsAFormattingChange) {
    const std::string tab = "<w:r><w:tab/></w:r>",
                      boldTab = "<w:r><w:rPr><w:b/></w:rPr><w:tab/></w:r>";
    const auto changes = compare(kFirst + P(R("Name") + tab + R("Value")),
                                 kFirst + P(R("Name") + boldTab + R("Value")));
    EXPECT_EQ(redline::Count(changes).formatting, 1);
    const std::string xml = part("word/document.xml");
    EXPECT_NE(xml.find("w:rPrChange"), std::string::npos) << xml;
}

// In a stretch that changed, a changed paragraph followed by a new one: the changed one is
// marked word by word, the new one inserted whole.
TEST_F(KeptContent, AChangedParagraphFollowedByANewOneIsMarkedWordByWord) {
    const auto changes =
        compare(kFirst + Text("The committee will meet on Monday in the small hall.") + kLast,
                kFirst + Text("The committee will meet on Tuesday in the small hall.") +
                    Text("An entirely new paragraph, with nothing in common.") + kLast);
    std::vector<std::string> listed;
    for (const auto& change : changes) listed.push_back(change.text);
    EXPECT_EQ(listed,
              (std::vector<std::string>{"Monday", "Tuesday",
                                        "An entirely new paragraph, with nothing in common."}));
}

// Properties are told apart by what they set, not only by its value: an indent moved from the
// left to the right is a change of formatting.
TEST_F(KeptContent, AnIndentMovedToTheOtherSideIsAFormattingChange) {
    const auto changes =
        compare(kFirst + P(R("An indented paragraph."), "<w:ind w:left=\"720\"/>"),
                kFirst + P(R("An indented paragraph."), "<w:ind w:right=\"720\"/>"));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, redline::ChangeKind::Formatting);
    EXPECT_EQ(changes[0].text, "An indented paragraph.");
}

// A note cited between words that changed on either side of it keeps its reference in place,
// unmarked: the note is the same one, so nothing of it is deleted or inserted.
TEST_F(KeptContent, ANoteCitedAmongChangedWordsStaysInPlace) {
    const DocxParts note = Notes({{1, Text("The same note on both sides.")}});
    const auto changes = compare(
        kFirst + P(R("Alpha beta") + NoteReference(1) + R(" gamma, and the rest stays.")) + kLast,
        kFirst + P(R("Epsilon zeta") + NoteReference(1) + R(" eta, and the rest stays.")) + kLast,
        note, note);
    for (const auto& change : changes) EXPECT_EQ(change.part, redline::Part::Body);
    const std::string notes = part("word/footnotes.xml");
    EXPECT_EQ(notes.find("<w:del "), std::string::npos) << notes;
    EXPECT_EQ(notes.find("<w:ins "), std::string::npos) << notes;
}

// Hundreds of paragraphs, every one of them edited, too many to weigh each against each: they
// are still paired in place, each marked word by word, never replaced whole.
TEST_F(KeptContent, HundredsOfParagraphsAllEditedArePairedInPlace) {
    std::string original, revised;
    for (int i = 0; i < 240; ++i) {
        const std::string n = std::to_string(i);
        original += Text("Clause " + n + " binds the parties from the first day of May.");
        revised += Text("Clause " + n + " binds the parties from the first day of June.");
    }
    const auto changes = compare(kFirst + original, kFirst + revised);
    const redline::ChangeCounts counts = redline::Count(changes);
    EXPECT_EQ(counts.deletions, 240);
    EXPECT_EQ(counts.insertions, 240);
    for (const auto& change : changes) {
        ASSERT_TRUE(change.text == "May" || change.text == "June") << change.text;
    }
}

// A paragraph edited in a story where another moved is still marked word by word.
TEST_F(KeptContent, AParagraphEditedWhereAnotherMovedIsMarkedWordByWord) {
    const std::string moved = Text("A long paragraph that moves to the end of the whole story.");
    const std::string second = Text("The second paragraph stays as it is written here.");
    const std::string third = Text("The third paragraph stays as well, word for word.");
    const auto changes =
        compare(kFirst + moved + second +
                    Text("The fee is ten pounds a month, paid by the tenant.") + third,
                kFirst + second + Text("The fee is twelve pounds a month, paid by the tenant.") +
                    third + moved);
    std::vector<std::string> listed;
    for (const auto& change : changes) {
        if (change.kind != redline::ChangeKind::Move) listed.push_back(change.text);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"ten", "twelve"}));
    EXPECT_EQ(redline::Count(changes).moves, 1);
}
