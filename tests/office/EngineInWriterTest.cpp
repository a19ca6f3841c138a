// Our engine's results as the office reads them: every kind of mark is a tracked change there,
// in the body, headers, footers, notes and text boxes, and the office's own "reject all" and
// "accept all" give back each input, for Word 2007+ inputs and for Word 97-2003 ones that the
// office turns into Word 2007+ first.
#include "OfficeFixture.h"
#include "WriterReadback.h"
#include "redline/Combine.h"
#include "redline/Compare.h"
#include "support/Docx.h"

using namespace docx;

namespace {

struct InWriter {
    const char* name;
    std::string original, revised;
    // As the office counts its tracked changes: a row's cells count one each, a move as the
    // deletion and insertion it shows, formatting as other.
    RedlineCounts redlines;
    DocxParts partsA = {}, partsB = {};
};

std::string Control(const std::string& blocks) {
    return "<w:sdt><w:sdtPr><w:alias w:val=\"Party\"/><w:tag w:val=\"party\"/></w:sdtPr>"
           "<w:sdtContent>" +
           blocks + "</w:sdtContent></w:sdt>";
}

std::string InlineControl(const std::string& runs) {
    return "<w:sdt><w:sdtPr><w:tag w:val=\"name\"/></w:sdtPr><w:sdtContent>" + runs +
           "</w:sdtContent></w:sdt>";
}

const std::string A = Text("The first paragraph stays where it is.");
const std::string B = Text("The second paragraph has words of its own.");
const std::string C = Text("A third paragraph follows the second one.");
const std::string D = Text("The fourth paragraph is short and plain.");

std::vector<InWriter> Cases() {
    return {
        {"a word replaced",
         Text("The quick brown fox jumps."),
         Text("The quick red fox jumps."),
         {1, 1, 0}},
        {"a paragraph deleted", A + B + C, A + C, {0, 1, 0}},
        {"a paragraph inserted", A + C, A + B + C, {1, 0, 0}},
        {"a paragraph moved", A + B + C + D, A + C + B + D, {1, 1, 0}},
        {"the last paragraph deleted", A + C + B, A + C, {0, 1, 0}},
        {"a cell changed",
         A + Table({{"Ada", "Paris"}}) + D,
         A + Table({{"Ada", "Rome"}}) + D,
         {1, 1, 0}},
        {"a row inserted",
         A + Table({{"a", "b"}}) + D,
         A + Table({{"a", "b"}, {"x", "y"}}) + D,
         {2, 0, 0}},
        {"a row deleted",
         A + Table({{"a", "b"}, {"x", "y"}}) + D,
         A + Table({{"a", "b"}}) + D,
         {0, 2, 0}},
        {"a word made bold",
         P(R("Make ") + R("this") + R(" bold.")),
         P(R("Make ") + R("this", "<w:b/>") + R(" bold.")),
         {0, 0, 1}},
        {"a header word changed",
         A,
         A,
         {1, 1, 0},
         Header(Text("The header says old words.")),
         Header(Text("The header says new words."))},
        {"a footer line added",
         A,
         A,
         {1, 0, 0},
         Footer(Text("The first footer line.")),
         Footer(Text("The first footer line.") + Text("A second footer line."))},
        {"a footnote word changed",
         P(R("Words with a note") + NoteReference(1) + R(" here.")),
         P(R("Words with a note") + NoteReference(1) + R(" here.")),
         {1, 1, 0},
         Notes({{1, Text("The note says old words.")}}),
         Notes({{1, Text("The note says new words.")}})},
        {"a word changed in a block control",
         Control(Text("The parties agree today on the price.")) + A,
         Control(Text("The parties agree tomorrow on the price.")) + A,
         {1, 1, 0}},
        {"a word changed in an inline control",
         P(R("Signed: ") + InlineControl(R("Ada Lovelace")) + R(" today.")),
         P(R("Signed: ") + InlineControl(R("Ada Byron")) + R(" today.")),
         {1, 1, 0}},
        {"a text box word changed",
         P(R("Look: ") + TextBox(Text("Inside the box old words"))),
         P(R("Look: ") + TextBox(Text("Inside the box new words"))),
         {1, 1, 0}},
    };
}

}  // namespace

TEST_F(OfficeTest, TheOfficeShowsEveryMarkAndRejectingOrAcceptingAllThereGivesEachInputBack) {
    office::WriterSession session(Headless());
    for (const InWriter& pair : Cases()) {
        const std::string a = folder_->path() + "/in-writer-a.docx";
        const std::string b = folder_->path() + "/in-writer-b.docx";
        WriteDocx(a, pair.original, pair.partsA);
        WriteDocx(b, pair.revised, pair.partsB);
        for (const bool old : {false, true}) {
            std::string first = a, second = b;
            if (old) {  // the same pair as Word 97-2003 documents
                first = folder_->path() + "/in-writer-a.doc";
                second = folder_->path() + "/in-writer-b.doc";
                session.store(session.open(a), first, "MS Word 97");
                session.store(session.open(b), second, "MS Word 97");
            }
            const std::string what = std::string(pair.name) + (old ? " (.doc)" : " (.docx)");
            auto original = session.open(first);
            const std::string originalText = DocumentText(session, original);
            const std::string revisedText = DocumentText(session, session.open(second));

            auto rejected = session.compare(original, second);
            const RedlineCounts counts = CountRedlines(session, rejected);
            EXPECT_EQ(counts.insertions, pair.redlines.insertions) << what;
            EXPECT_EQ(counts.deletions, pair.redlines.deletions) << what;
            EXPECT_EQ(counts.other, pair.redlines.other) << what;
            ResolveAll(session, rejected, false);
            EXPECT_EQ(DocumentText(session, rejected), originalText) << what;

            auto accepted = session.compare(original, second);
            ResolveAll(session, accepted, true);
            EXPECT_EQ(DocumentText(session, accepted), revisedText) << what;
        }
    }
}

// The office keeps no tracked change of a comment alone, nor inside one: a comment dropped or
// added on words that stayed shows whichever way the changes go, and a re-worded one shows its
// revised words, never both sides' run together. Every comment of both sides is there to read.
TEST_F(OfficeTest, TheOfficeShowsTheCommentsOfBothSides) {
    office::WriterSession session(Headless());
    const std::string a = folder_->path() + "/comments-a.docx";
    const std::string b = folder_->path() + "/comments-b.docx";
    WriteDocx(
        a,
        P(R("A ") + Commented(1, "figure") + R(" and ") + Commented(2, "a date") + R(" to check.")),
        Comments({{1, "Check this figure"}, {2, "Due in May"}}));
    WriteDocx(
        b,
        P(R("A figure and ") + Commented(2, "a date") + R(" to ") + Commented(3, "check") + R(".")),
        Comments({{2, "Due in June"}, {3, "Who checks?"}}));
    auto result = session.compare(session.open(a), b);
    const std::string text = DocumentText(session, result);
    for (const char* comment : {"by Reader: Check this figure\n", "by Reader: Due in June\n",
                                "by Reader: Who checks?\n"}) {
        EXPECT_NE(text.find(comment), std::string::npos) << comment << "\n" << text;
    }
    EXPECT_EQ(text.find("MayJune"), std::string::npos) << text;
}

// Reviewers' copies combined: the office shows each reviewer's changes under that reviewer's
// name; rejecting every change there gives the original back, and accepting every change the
// original with every reviewer's edits, where they edited apart and where they edited the same
// paragraph (both versions then stand).
TEST_F(OfficeTest, TheOfficeShowsACombinedResultUnderEachReviewersName) {
    office::WriterSession session(Headless());
    auto path = [&](const std::string& name) { return folder_->path() + "/combine-" + name; };
    // A paragraph stays before the table: Writer keeps an empty paragraph where one deleted
    // right before a table stood, whoever compared.
    const std::string notice = Text("Either party may end it with notice.");
    const std::string signed_ = Text("Signed in two copies.");
    WriteDocx(path("a.docx"), Text("The contract starts in May.") +
                                  Text("Payment is due within thirty days.") + notice + signed_ +
                                  Table({{"Item", "Price"}, {"Desk", "90"}}));
    WriteDocx(path("ann.docx"), Text("The contract starts in June.") +
                                    Text("Payment is due within thirty days.") + notice + signed_ +
                                    Table({{"Item", "Price"}, {"Desk", "95"}}));
    WriteDocx(path("bo.docx"), Text("The contract starts in May.") +
                                   Text("Payment is due within fourteen days.") +
                                   Text("Disputes go to the courts of Lyon.") + notice + signed_ +
                                   Table({{"Item", "Price"}, {"Desk", "90"}}));
    WriteDocx(path("cy.docx"), Text("The agreement starts in May.") +
                                   Text("Payment is due within thirty days.") + signed_ +
                                   Table({{"Item", "Price"}, {"Desk", "90"}}));
    WriteDocx(path("all.docx"), Text("The contract starts in June.") +
                                    Text("The agreement starts in May.") +
                                    Text("Payment is due within fourteen days.") +
                                    Text("Disputes go to the courts of Lyon.") + signed_ +
                                    Table({{"Item", "Price"}, {"Desk", "95"}}));
    redline::CombineDocuments(
        path("a.docx"),
        {{path("ann.docx"), "Ann"}, {path("bo.docx"), "Bo"}, {path("cy.docx"), "Cy"}},
        path("r.docx"));
    const std::string original = DocumentText(session, session.open(path("a.docx")));
    const std::string everyone = DocumentText(session, session.open(path("all.docx")));

    auto rejected = OpenToResolve(session, path("r.docx"));
    EXPECT_EQ(CountRedlines(session, rejected).authors, (std::set<std::string>{"Ann", "Bo", "Cy"}));
    ResolveAll(session, rejected, false);
    EXPECT_EQ(DocumentText(session, rejected), original);

    auto accepted = OpenToResolve(session, path("r.docx"));
    ResolveAll(session, accepted, true);
    EXPECT_EQ(DocumentText(session, accepted), everyone);
}

// A counterpart's copy that holds their edits as tracked changes and one more edit untracked:
// the office shows the counterpart's changes under their name and the untracked one under the
// comparing author; rejecting all there gives the original, accepting all the copy accepted.
TEST_F(OfficeTest, TheOfficeShowsACounterpartsTrackedChangesUnderTheirName) {
    office::WriterSession session(Headless());
    auto path = [&](const std::string& name) { return folder_->path() + "/tracked-" + name; };
    const std::string stamp = " w:author=\"Counterparty\" w:date=\"2026-03-04T05:06:07Z\"";
    WriteDocx(path("a.docx"), Text("The rent is due on the first day.") +
                                  Text("Either party may end it with notice."));
    WriteDocx(path("b.docx"),
              P(R("The rent is due on the ") + "<w:del w:id=\"1\"" + stamp +
                "><w:r><w:delText>first</w:delText></w:r></w:del><w:ins w:id=\"2\"" + stamp + ">" +
                R("fifth") + "</w:ins>" + R(" day.")) +
                  Text("Either side may end it with notice."));
    WriteDocx(path("b-accepted.docx"), Text("The rent is due on the fifth day.") +
                                           Text("Either side may end it with notice."));
    redline::CompareOptions options;
    options.author = "Legal";
    redline::CompareDocuments(path("a.docx"), path("b.docx"), path("r.docx"), options);

    auto rejected = OpenToResolve(session, path("r.docx"));
    EXPECT_EQ(CountRedlines(session, rejected).authors,
              (std::set<std::string>{"Counterparty", "Legal"}));
    ResolveAll(session, rejected, false);
    EXPECT_EQ(DocumentText(session, rejected), DocumentText(session, session.open(path("a.docx"))));
    auto accepted = OpenToResolve(session, path("r.docx"));
    ResolveAll(session, accepted, true);
    EXPECT_EQ(DocumentText(session, accepted),
              DocumentText(session, session.open(path("b-accepted.docx"))));
}
