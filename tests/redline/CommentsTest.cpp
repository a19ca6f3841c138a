// Comments compared: whatever became of a comment between the two documents, rejecting every
// change gives the original's comments (text, author, where they stand) and accepting every
// change the revised document's; the result breaks no schema rule its inputs keep.
#include <gtest/gtest.h>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/SchemaCheck.h"

using namespace docx;

namespace {

struct Comment {
    int id;
    std::string author, date, text;
    std::string paragraphId = "";  // its one paragraph's, as Word gives it
    std::string parent = "";       // a reply: the paragraph id of the comment it answers
};

// A comments part as Word writes it, with the replies threaded in commentsExtended.xml.
DocxParts WordComments(const std::vector<Comment>& comments) {
    std::string content, threads;
    for (const Comment& c : comments) {
        content +=
            "<w:comment w:id=\"" + std::to_string(c.id) + "\" w:author=\"" + c.author +
            "\" w:date=\"" + c.date + "\" w:initials=\"" + c.author.substr(0, 1) + "\">" +
            (c.paragraphId.empty() ? Text(c.text) : WordParagraph(c.paragraphId, R(c.text))) +
            "</w:comment>";
        if (c.paragraphId.empty()) continue;
        threads += "<w15:commentEx w15:paraId=\"" + c.paragraphId + "\"" +
                   (c.parent.empty() ? "" : " w15:paraIdParent=\"" + c.parent + "\"") +
                   " w15:done=\"0\"/>";
    }
    return CommentsPart(content, threads);
}

class Comments_ : public ::testing::Test {
  protected:
    // Compares the two bodies with their comments; checks the result's own rules, its schema
    // and both views, and answers the changes.
    std::vector<redline::Change> compare(const std::string& original, const DocxParts& commentsA,
                                         const std::string& revised, const DocxParts& commentsB) {
        WriteDocx(a_, original, commentsA);
        WriteDocx(b_, revised, commentsB);
        const auto changes = CheckedCompare(a_, b_, r_);
        EXPECT_EQ(NewSchemaErrors(r_, {a_, b_}), std::vector<std::string>{});
        EXPECT_EQ(redline::ReadText(r_, redline::Reading::RejectAll),
                  redline::ReadText(a_, redline::Reading::AcceptAll));
        EXPECT_EQ(redline::ReadText(r_, redline::Reading::AcceptAll),
                  redline::ReadText(b_, redline::Reading::AcceptAll));
        return changes;
    }

    std::string part(const std::string& name) const {
        return redline::Package::Read(r_).part(name);
    }

    TemporaryFolder folder_;
    const std::string a_ = folder_.path() + "/a.docx", b_ = folder_.path() + "/b.docx",
                      r_ = folder_.path() + "/r.docx";
};

const std::string kMay = "2026-05-04T09:00:00Z", kJune = "2026-06-01T16:30:00Z";

// The texts of the listed changes that stand in comments.
std::vector<std::string> CommentTexts(const std::vector<redline::Change>& changes) {
    std::vector<std::string> comments;
    for (const auto& change : changes) {
        if (change.part == redline::Part::Comment) comments.push_back(change.text);
    }
    return comments;
}

}  // namespace

// A comment on a paragraph that went comes along inside the deleted text; one on a paragraph
// that moved goes with it, and one whose author edited it keeps its date and is paired by it.
TEST_F(Comments_, FollowTheirTextWhereverItWent) {
    const std::string stays = Text("An opening paragraph that stays where it is.");
    const std::string moves = P(R("A paragraph that moves ") + Commented(1, "further down") +
                                R(", its comment with it."));
    const std::string goes = P(Commented(2, "A paragraph") + R(" that is deleted."));
    const std::string edited = P(R("Due ") + Commented(3, "in spring") + R("."));
    const auto changes =
        compare(stays + moves + goes + edited,
                WordComments({{1, "Ann", kMay, "Keep this."},
                              {2, "Bo", kMay, "Why?"},
                              {3, "Ann", kMay, "Due in May"}}),
                stays + edited + moves,
                WordComments({{1, "Ann", kMay, "Keep this."}, {3, "Ann", kMay, "Due in June"}}));
    const std::string markup = redline::ReadText(r_, redline::Reading::Markup);
    EXPECT_NE(markup.find("[#Ann: Due in [-May-][+June+]]"), std::string::npos) << markup;
    EXPECT_NE(markup.find("[-A paragraph[#Bo: Why?] that is deleted.-]"), std::string::npos)
        << markup;
    // The short paragraph is the one seen as moved: its comment stands at both places, the
    // original's where it left, the revised one's (edited) where it arrived.
    EXPECT_NE(markup.find("[<Due in spring[#Ann: Due in May].<]"), std::string::npos) << markup;
    int comments = 0;
    for (const auto& change : changes) comments += change.part == redline::Part::Comment;
    EXPECT_EQ(comments, 3) << "the comment deleted with its text, and May to June";
}

// A comment and its reply that the revised document dropped come along, the reply still
// answering its comment; one left without its comment stands alone.
TEST_F(Comments_, RepliesComeAlongThreadedUnderTheirComments) {
    const std::string body =
        P(R("A ") + Commented(1, "contract") + R(" with ") + Commented(2, "two parties") +
          R(" and ") + Commented(3, "terms") + R("."));
    compare(body,
            WordComments({{1, "Ann", kMay, "Which one?", "1A000001"},
                          {2, "Bo", kJune, "The first.", "1A000002", "1A000001"},
                          {3, "Cy", kJune, "Fine.", "1A000003"}}),
            P(R("A contract with two parties and ") + Commented(3, "terms") + R(".")),
            WordComments({{3, "Cy", kJune, "Fine.", "1A000003"}}));
    const std::string threads = part("word/commentsExtended.xml");
    const std::string comments = part("word/comments.xml");
    // The reply's parent is the result's paragraph of the comment it answers.
    const std::size_t reply = threads.find("w15:paraIdParent=\"");
    ASSERT_NE(reply, std::string::npos) << threads;
    const std::string parent = threads.substr(reply + 18, 8);
    const std::size_t answered = comments.find("w14:paraId=\"" + parent + "\"");
    ASSERT_NE(answered, std::string::npos) << parent << "\n" << comments;
    EXPECT_LT(comments.rfind("Ann", answered), answered);
    EXPECT_NE(comments.substr(answered, 200).find("Which one?"), std::string::npos) << comments;
}

// Nothing changed: the same comments on both sides, by id or not, are no change at all.
TEST_F(Comments_, TheSameCommentsAreNoChange) {
    const auto commented = [](int first, int second) {
        return P(R("Look at ") + Commented(first, "this") + R(" and ") + Commented(second, "that") +
                 R("."));
    };
    EXPECT_TRUE(
        compare(commented(1, 2), WordComments({{1, "Ann", kMay, "One"}, {2, "Bo", kMay, "Two"}}),
                commented(7, 8), WordComments({{7, "Ann", kMay, "One"}, {8, "Bo", kMay, "Two"}}))
            .empty());
}

// A comment re-worded keeps the id of its paragraph, which its reply names: the reply still
// answers it (the result's own rules checked by compare()).
TEST_F(Comments_, AReplyStillAnswersACommentReworded) {
    const std::string body =
        P(R("A ") + Commented(1, "contract") + R(" and ") + Commented(2, "its terms") + R("."));
    const auto changes =
        compare(body,
                WordComments({{1, "Ann", kMay, "Which one?", "1A000001"},
                              {2, "Bo", kJune, "The first.", "1A000002", "1A000001"}}),
                body,
                WordComments({{1, "Ann", kMay, "Which one, then?", "1A000001"},
                              {2, "Bo", kJune, "The first.", "1A000002", "1A000001"}}));
    EXPECT_EQ(redline::Count(changes).insertions, 1);
    EXPECT_NE(part("word/comments.xml").find("w14:paraId=\"1A000001\""), std::string::npos);
}

// Two comments alike in author, date and text are two: the one the revised document dropped
// comes along, deleted, beside the one it kept.
TEST_F(Comments_, CommentsAlikeArePairedOneToOne) {
    const auto body = [](bool both) {
        return P(R("See ") + Commented(1, "the first") + R(".")) +
               (both ? P(R("See ") + Commented(2, "the second") + R("."))
                     : Text("See the second."));
    };
    const auto changes =
        compare(body(true), WordComments({{1, "Ann", kMay, "Check."}, {2, "Ann", kMay, "Check."}}),
                body(false), WordComments({{1, "Ann", kMay, "Check."}}));
    const std::string markup = redline::ReadText(r_, redline::Reading::Markup);
    EXPECT_NE(markup.find("the second[-[#Ann: Check.]-]"), std::string::npos) << markup;
    EXPECT_EQ(changes.size(), 1u) << markup;
}

// A comment with no range annotates the place of its reference: where that stays, as its
// paragraph changes around it, the comment is no change.
TEST_F(Comments_, ACommentOnAPlaceStaysWhereItsParagraphChanges) {
    const auto commented = [](const std::string& opening, int id) {
        return P(R(opening + " at this and that.") + "<w:r><w:commentReference w:id=\"" +
                 std::to_string(id) + "\"/></w:r>" + R(" And more."));
    };
    const auto changes =
        compare(commented("Look", 3), WordComments({{3, "Bo", kJune, "Three"}}),
                commented("Now look", 9), WordComments({{9, "Bo", kJune, "Three"}}));
    for (const auto& change : changes) EXPECT_NE(change.part, redline::Part::Comment);
    const std::string markup = redline::ReadText(r_, redline::Reading::Markup);
    EXPECT_NE(markup.find("that.[#Bo: Three] And"), std::string::npos) << markup;
}

// A reply the revised document dropped, its range shared with its comment's as Word writes
// it, comes back after its comment, in a paragraph's middle and at its end.
TEST_F(Comments_, ADroppedReplyComesBackAfterItsComment) {
    const auto threaded = [](int comment, int reply, const std::string& after) {
        const auto mark = [](const char* name, int id) {
            return std::string("<w:") + name + " w:id=\"" + std::to_string(id) + "\"/>";
        };
        const auto reference = [&](int id) {
            return mark("commentRangeEnd", id) + "<w:r>" + mark("commentReference", id) + "</w:r>";
        };
        return P(R("A ") + mark("commentRangeStart", comment) +
                 (reply ? mark("commentRangeStart", reply) : "") + R("contract") +
                 reference(comment) + (reply ? reference(reply) : "") + R(after));
    };
    const auto comments = [](int first, bool replies) {
        std::vector<Comment> all{{first, "Ann", kMay, "Which one?", "1A000001"},
                                 {first + 1, "Ann", kMay, "And this?", "1A000002"}};
        if (replies) {
            all.push_back({first + 2, "Bo", kJune, "The first.", "1A000003", "1A000001"});
            all.push_back({first + 3, "Bo", kJune, "The last.", "1A000004", "1A000002"});
        }
        return WordComments(all);
    };
    const auto changes =
        compare(threaded(1, 3, " in force.") + threaded(2, 4, ""), comments(1, true),
                threaded(1, 0, " in force.") + threaded(2, 0, ""), comments(1, false));
    EXPECT_EQ(changes.size(), 2u);
}

// Words inserted before a comment, formatted, move its place only in the revised text: rejected,
// it stands where it stood, and the comment is no change.
TEST_F(Comments_, WordsInsertedBeforeACommentLeaveItAlone) {
    const auto commented = [](const std::string& inserted) {
        return P(R("Look at ") + (inserted.empty() ? "" : R(inserted, "<w:b/>")) +
                 Commented(1, "this") + R(" and more."));
    };
    const auto changes =
        compare(commented(""), WordComments({{1, "Ann", kMay, "One"}}),
                commented("two bold words before "), WordComments({{1, "Ann", kMay, "One"}}));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].part, redline::Part::Body);
    const std::string markup = redline::ReadText(r_, redline::Reading::Markup);
    EXPECT_NE(markup.find("+]this[#Ann: One] and"), std::string::npos) << markup;
}

// A comment its author moved to other words is marked gone from the first and come to the
// second, and listed so.
TEST_F(Comments_, ACommentMovedToOtherWordsIsListedGoneAndCome) {
    const auto changes =
        compare(P(R("Look at ") + Commented(1, "this") + R(" and that, said Ann.")),
                WordComments({{1, "Ann", kMay, "One"}}),
                P(R("Look at this and ") + Commented(1, "that") + R(", said Bo.")),
                WordComments({{1, "Ann", kMay, "One"}}));
    std::vector<std::string> comments;
    for (const auto& change : changes) {
        if (change.part == redline::Part::Comment) {
            comments.push_back(std::string(redline::KindName(change.kind)) + " " + change.text +
                               " by " + change.author);
        }
    }
    EXPECT_EQ(comments, (std::vector<std::string>{"deletion One by Ann", "insertion One by Ann"}));
    const std::string markup = redline::ReadText(r_, redline::Reading::Markup);
    EXPECT_NE(markup.find("this[-[#Ann: One]-] and that[+[#Ann: One]+]"), std::string::npos)
        << markup;
}

// A word replaced where a comment's range opens or closes stays in the range, the old word as
// the new: the comment is no change.
TEST_F(Comments_, AWordReplacedAtARangesEdgeLeavesTheCommentAlone) {
    const auto commented = [](const std::string& first, const std::string& last) {
        return P(Commented(1, first + " words") + R(" and ") + Commented(2, "more " + last) +
                 R(" after."));
    };
    const auto changes =
        compare(commented("Commented", "text"),
                WordComments({{1, "Ann", kMay, "A remark"}, {2, "Bo", kMay, "Another"}}),
                commented("Quorvane", "prose"),
                WordComments({{1, "Ann", kMay, "A remark"}, {2, "Bo", kMay, "Another"}}));
    for (const auto& change : changes)
        EXPECT_NE(change.part, redline::Part::Comment) << change.text;
    EXPECT_EQ(changes.size(), 4u);
}

// A reference to a comment its document lacks (a writer's slip) is no comment: nothing is listed
// for it, beside the comment that came.
TEST_F(Comments_, AReferenceToAMissingCommentListsNothing) {
    const std::string first = Text("The first paragraph stays.");
    const auto changes =
        compare(first, Comments({}), first + P(Commented(1, "Noted") + Commented(7, " stray")),
                Comments({{1, "A new remark."}}));
    EXPECT_EQ(CommentTexts(changes), (std::vector<std::string>{"A new remark."}));
}

// A comment in a table's cell is paired by the words it annotates, as one in a paragraph is:
// reworded, its words are marked inside it, not the comment taken away and another come.
TEST_F(Comments_, OneInACellIsPairedByWhatItAnnotates) {
    auto table = [](const std::string& comment) {
        return "<w:tbl><w:tblGrid><w:gridCol w:w=\"4000\"/></w:tblGrid><w:tr><w:tc>" +
               P(R("The ") + Commented(1, "interest rate") + R(" applies.")) +
               "</w:tc></w:tr></w:tbl>" + Text(comment);
    };
    const auto changes = compare(table("After."), Comments({{1, "Check this."}}), table("After."),
                                 Comments({{1, "Check this rate."}}));
    EXPECT_EQ(CommentTexts(changes), (std::vector<std::string>{" rate"}));
}

// A comment the revised document added on words it inserted: its marks stand inside that
// insertion, never in an insertion of their own inside it.
TEST_F(Comments_, AddedOnInsertedWordsTheirMarksStandInThatInsertion) {
    const std::string stays = Text("The first clause stays.");
    compare(stays, {}, stays + P(R("A new clause ") + Commented(1, "with a note") + R(".")),
            WordComments({{1, "Ann", kMay, "Added with the clause."}}));
    const std::string markup = redline::ReadText(r_, redline::Reading::Markup);
    EXPECT_NE(markup.find("[#Ann: Added with the clause.]"), std::string::npos) << markup;
}
