// How paragraphs pair and what compares as one unit: a field, a control holding one, a cell that
// went, a paragraph beside new or moved ones, hundreds edited at once, a note among changed words.
#include "KeptContent.h"

using namespace docx;
using namespace kept;

class Pairing : public KeptContent {};

// A field is one unit, how it looks part of what it is: made bold, it goes and comes whole, and
// rejecting gives the plain one back.
TEST_F(Pairing, AFieldMadeBoldGoesAndComesWhole) {
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
TEST_F(Pairing, ACellThatWentComesBackWhereItStood) {
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
TEST_F(Pairing, AnInsertedParagraphAheadOfAChangedOneLeavesItMarkedWordByWord) {
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
TEST_F(Pairing, AnInlineControlHoldingAFieldIsOneUnit) {
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
TEST_F(Pairing, AComplexFieldIsComparedByItsCodeAndWhatItShows) {
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
TEST_F(Pairing, APartNeitherPackageTypesGetsTheTypeItsNameSays) {
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
TEST_F(Pairing, AChangedParagraphPairsWithTheOneMostLikeIt) {
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
TEST_F(Pairing, ATabMadeBoldIsAFormattingChange) {
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
TEST_F(Pairing, AChangedParagraphFollowedByANewOneIsMarkedWordByWord) {
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
TEST_F(Pairing, AnIndentMovedToTheOtherSideIsAFormattingChange) {
    const auto changes =
        compare(kFirst + P(R("An indented paragraph."), "<w:ind w:left=\"720\"/>"),
                kFirst + P(R("An indented paragraph."), "<w:ind w:right=\"720\"/>"));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, redline::ChangeKind::Formatting);
    EXPECT_EQ(changes[0].text, "An indented paragraph.");
}

// A note cited between words that changed on either side of it keeps its reference in place,
// unmarked: the note is the same one, so nothing of it is deleted or inserted.
TEST_F(Pairing, ANoteCitedAmongChangedWordsStaysInPlace) {
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
TEST_F(Pairing, HundredsOfParagraphsAllEditedArePairedInPlace) {
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
TEST_F(Pairing, AParagraphEditedWhereAnotherMovedIsMarkedWordByWord) {
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
