// Reviewers' copies combined into one document: checked with the tests' own resolver, all
// changes at once and one reviewer's at a time, on generated copies (edits apart, overlapping,
// alike) and on hand-made ones for conflicts, changes made alike, names and comments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <stdexcept>

#include "redline/Combine.h"
#include "redline/io/Package.h"
#include "support/CanonicalDocument.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/RoundTrip.h"
#include "support/SchemaCheck.h"
#include "support/Zip.h"

using namespace docx;
using redline::ChangeKind;
using redline::Reading;

namespace {

int Seeds(int otherwise) {
    const char* given = std::getenv("QUORVANE_SEEDS");
    return given ? std::min(std::atoi(given), otherwise) : otherwise;
}

// Runs the generated round trip over `seeds` seeds, two to four reviewers each.
void HoldsOverSeeds(Reviewing reviewing, int seeds, std::uint32_t salt) {
    TemporaryFolder folder;
    int failed = 0;
    for (int seed = 1; seed <= seeds && failed < 3; ++seed) {
        generated::Random random(static_cast<std::uint32_t>(seed) * 7919u + salt);
        const int reviewers = 2 + seed % 3;
        const std::string failure =
            CombineRoundTripFailure(folder.path(), random, reviewers, reviewing);
        if (!failure.empty()) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << ", " << reviewers << " reviewers\n" << failure;
        }
    }
}

}  // namespace

TEST(CombineGenerated, EditsApartGiveEveryCopyAloneAndAllOfThemTogether) {
    HoldsOverSeeds(Reviewing::Apart, Seeds(500), 1);
}

TEST(CombineGenerated, OverlappingEditsLoseNoReviewersWord) {
    HoldsOverSeeds(Reviewing::Overlapping, Seeds(300), 2);
}

TEST(CombineGenerated, TheSameEditsAreMarkedOnceUnderEveryName) {
    HoldsOverSeeds(Reviewing::Alike, Seeds(200), 3);
}

TEST(CombineGenerated, ResultsBreakNoSchemaTheirInputsKeep) {
    TemporaryFolder folder;
    const std::string path = folder.path();
    for (int seed = 1; seed <= Seeds(30); ++seed) {
        generated::Random random(static_cast<std::uint32_t>(seed) + 4242u);
        const auto reviewing = seed % 2 ? Reviewing::Apart : Reviewing::Overlapping;
        ASSERT_EQ(CombineRoundTripFailure(path, random, 3, reviewing), "") << "seed " << seed;
        const auto added = NewSchemaErrors(
            path + "/r.docx",
            {path + "/a.docx", path + "/copy1.docx", path + "/copy2.docx", path + "/copy3.docx"});
        ASSERT_TRUE(added.empty()) << "seed " << seed << ": " << added.front();
    }
}

class Combine : public ::testing::Test {
  protected:
    std::string copy(int n) const { return folder_.path() + "/copy" + std::to_string(n) + ".docx"; }

    // Combines the copies under the names given; checks the result's own rules and schema and
    // that rejecting every change gives the original.
    std::vector<redline::Change> combine(const std::vector<std::string>& names) {
        std::vector<redline::ReviewedCopy> copies;
        std::vector<std::string> inputs{a_};
        for (std::size_t i = 0; i < names.size(); ++i) {
            copies.push_back({copy(static_cast<int>(i) + 1), names[i]});
            inputs.push_back(copies.back().path);
        }
        const auto changes = redline::CombineDocuments(a_, copies, r_);
        EXPECT_EQ(NewResultProblems(r_, inputs), "");
        EXPECT_EQ(NewSchemaErrors(r_, inputs), std::vector<std::string>{});
        EXPECT_EQ(CanonicalDocument(r_, Resolution::Reject), CanonicalDocument(a_));
        return changes;
    }

    TemporaryFolder folder_;
    const std::string a_ = folder_.path() + "/a.docx", r_ = folder_.path() + "/r.docx";
};

TEST_F(Combine, WordsTwoReviewersChangedApartAreDeletedOnceWithEachInsertionBeside) {
    WriteDocx(a_, Text("The quick brown fox.") + Text("Jumps over the dog."));
    WriteDocx(copy(1), Text("The slow brown fox.") + Text("Jumps over the dog."));
    WriteDocx(copy(2), Text("The lazy brown fox.") + Text("Jumps over the dog."));
    const auto changes = combine({"Ann", "Bo"});
    const std::string accepted = redline::ReadText(r_, Reading::AcceptAll);
    EXPECT_NE(accepted.find("The slow brown fox."), std::string::npos) << accepted;
    EXPECT_NE(accepted.find("The lazy brown fox."), std::string::npos) << accepted;
    EXPECT_EQ(accepted.find("quick"), std::string::npos) << accepted;
    // Ann's word change and Bo's version of the paragraph name each other; both took "quick"
    // away, which is one deletion under both names.
    std::vector<std::string> ann, bo;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const bool both = changes[i].text == "quick";
        EXPECT_EQ(changes[i].reviewers.size(), both ? 2u : 1u) << changes[i].text;
        (changes[i].reviewers[0] == "Ann" ? ann : bo).push_back(changes[i].text);
        EXPECT_FALSE(changes[i].conflictsWith.empty()) << changes[i].text;
        for (int other : changes[i].conflictsWith) {
            EXPECT_NE(changes[other - 1].reviewers[0], changes[i].reviewers[0]);
        }
    }
    EXPECT_EQ(ann, (std::vector<std::string>{"quick", "slow"}));
    EXPECT_EQ(bo, (std::vector<std::string>{"The lazy brown fox."}));
}

TEST_F(Combine, AChangeMadeAlikeIsMarkedOnceUnderBothNames) {
    WriteDocx(a_, Text("The quick brown fox.") + Text("Jumps over the dog."));
    // Typed alike, saved in other runs.
    WriteDocx(copy(1), P(R("The ") + R("slow brown fox.")) + Text("Jumps over the dog."));
    WriteDocx(copy(2), Text("The slow brown fox.") + Text("Jumps over the dog."));
    const auto changes = combine({"Ann", "Bo"});
    EXPECT_EQ(redline::ReadText(r_, Reading::AcceptAll),
              redline::ReadText(copy(1), Reading::AcceptAll));
    ASSERT_EQ(changes.size(), 2u);
    for (const redline::Change& change : changes) {
        EXPECT_EQ(change.reviewers, (std::vector<std::string>{"Ann", "Bo"})) << change.text;
        EXPECT_TRUE(change.conflictsWith.empty());
    }
}

TEST_F(Combine, ARemovalAndAnEditOfOneParagraphKeepBoth) {
    WriteDocx(a_, Text("Keep this.") + Text("The quick brown fox.") + Text("And this."));
    WriteDocx(copy(1), Text("Keep this.") + Text("The quick red fox.") + Text("And this."));
    WriteDocx(copy(2), Text("Keep this.") + Text("And this."));
    const auto changes = combine({"Ann", "Bo"});
    // Bo's removal stands as it is; Ann's version comes in beside it.
    EXPECT_EQ(redline::ReadText(r_, Reading::AcceptAll),
              "Keep this.\nThe quick red fox.\nAnd this.\n");
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Bo"), CanonicalDocument(copy(2)));
    bool conflict = false;
    for (const redline::Change& change : changes) conflict |= !change.conflictsWith.empty();
    EXPECT_TRUE(conflict);
}

TEST_F(Combine, InsertionsAtOnePlaceComeInReviewersOrder) {
    WriteDocx(a_, Text("First.") + Text("Last."));
    WriteDocx(copy(1), Text("First.") + Text("From Ann.") + Text("Last."));
    WriteDocx(copy(2), Text("First.") + Text("From Bo.") + Text("Last."));
    const auto changes = combine({"Ann", "Bo"});
    EXPECT_EQ(redline::ReadText(r_, Reading::AcceptAll), "First.\nFrom Ann.\nFrom Bo.\nLast.\n");
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Ann"), CanonicalDocument(copy(1)));
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Bo"), CanonicalDocument(copy(2)));
    for (const redline::Change& change : changes) EXPECT_TRUE(change.conflictsWith.empty());
}

// The change list reads in the document's order: a paragraph one reviewer inserted between two
// comes before another's change of a later one; one two reviewers inserted alike, once under
// both names.
TEST_F(Combine, ChangesBetweenParagraphsAreListedWhereTheyStand) {
    WriteDocx(a_, Text("First.") + Text("Second.") + Text("Third words here."));
    WriteDocx(copy(1),
              Text("First.") + Text("From both.") + Text("Second.") + Text("Third words here."));
    WriteDocx(copy(2),
              Text("First.") + Text("From both.") + Text("Second.") + Text("Third words there."));
    const auto changes = combine({"Ann", "Bo"});
    std::vector<std::string> listed;
    for (const redline::Change& change : changes) {
        std::string names;
        for (const std::string& name : change.reviewers) names += " " + name;
        listed.push_back(change.text + names);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"From both. Ann Bo", "here Bo", "there Bo"}));
}

// The page one reviewer turned stands in the result, under that reviewer; another reviewer who
// left the page alone changes nothing of it, and nothing conflicts.
TEST_F(Combine, ThePageOneReviewerChangedStandsUnderThatReviewer) {
    DocxParts landscape;
    landscape.page = "<w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>";
    WriteDocx(a_, Text("First.") + Text("Second words."));
    WriteDocx(copy(1), Text("First.") + Text("Second word."));
    WriteDocx(copy(2), Text("First.") + Text("Second words."), landscape);
    const auto changes = combine({"Bo", "Ann"});
    std::string accepted = CanonicalDocument(r_, Resolution::Accept);
    EXPECT_NE(accepted.find("landscape"), std::string::npos) << accepted;
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Bo"), CanonicalDocument(copy(1)));
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Ann"), CanonicalDocument(copy(2)));
    for (const redline::Change& change : changes) {
        EXPECT_TRUE(change.conflictsWith.empty()) << change.text;
    }
}

// What comes after the story's last paragraph takes that paragraph's mark, as a comparison marks
// it; another reviewer's change of that paragraph is no conflict with it.
TEST_F(Combine, ParagraphsAddedAtTheEndLeaveTheLastOneToWhoeverChangedIt) {
    WriteDocx(a_, Text("First.") + Text("Last."));
    WriteDocx(copy(1), Text("First.") + Text("Last words."));
    WriteDocx(copy(2), Text("First.") + Text("Last.") + Text("Added by Bo."));
    WriteDocx(copy(3), Text("First.") + Text("Last.") + Text("Added by Bo."));
    const auto changes = combine({"Ann", "Bo", "Cy"});
    EXPECT_EQ(redline::ReadText(r_, Reading::AcceptAll), "First.\nLast words.\nAdded by Bo.\n");
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Ann"), CanonicalDocument(copy(1)));
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Bo"), CanonicalDocument(copy(2)));
    for (const redline::Change& change : changes) {
        EXPECT_TRUE(change.conflictsWith.empty()) << change.text;
        // Cy added the same paragraph: it is listed once, under both.
        if (change.text == "Added by Bo.") {
            EXPECT_EQ(change.reviewers, (std::vector<std::string>{"Bo", "Cy"}));
        }
    }
}

// A reviewer who reduced a paragraph to a thing that is no word (a symbol, an embedded object, a
// note's reference, a tab) did not take it away: where another reviewer took it away, that
// version still comes in beside the removal, under its own reviewer, and conflicts with it.
TEST_F(Combine, AParagraphReducedToAThingThatIsNoWordIsNoRemoval) {
    const std::pair<const char*, std::string> reductions[] = {
        {"a symbol", "<w:r><w:sym w:font=\"Wingdings\" w:char=\"F04A\"/></w:r>"},
        {"an object", EmbeddedObject()},
        {"a note's reference", NoteReference(1)},
        {"a tab", "<w:r><w:tab/></w:r>"},
    };
    DocxParts parts = Notes({{1, Text("The note.")}});
    parts.parts["word/media/image1.png"] = Png(0x40);
    parts.relationships["rIdPic0"] = {"image", "media/image1.png"};
    parts.parts["word/embeddings/sheet.bin"] = "a workbook";
    parts.relationships["rIdSheet"] = {"oleObject", "embeddings/sheet.bin"};
    parts.contentTypes["word/embeddings/sheet.bin"] =
        "application/vnd.openxmlformats-officedocument.oleObject";
    const std::string keep = Text("Keep this."), last = Text("And this.");
    for (const auto& [what, reduced] : reductions) {
        SCOPED_TRACE(what);
        WriteDocx(a_, keep + P(R("Fox. ") + reduced) + last, parts);
        WriteDocx(copy(1), keep + last, parts);
        WriteDocx(copy(2), keep + P(reduced) + last, parts);
        const auto changes = combine({"Ann", "Bo"});
        EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Ann"), CanonicalDocument(copy(1)));
        EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept), CanonicalDocument(copy(2)));
        // Bo's version is Bo's own, inserted, and conflicts with Ann's removal.
        const auto bos = std::find_if(changes.begin(), changes.end(), [](const auto& change) {
            return change.kind == ChangeKind::Insertion &&
                   change.reviewers == std::vector<std::string>{"Bo"};
        });
        ASSERT_NE(bos, changes.end());
        EXPECT_FALSE(bos->conflictsWith.empty());
    }
}

// A paragraph a reviewer moved stays a move, both its halves under that reviewer.
TEST_F(Combine, AMoveStaysAMove) {
    const std::string moved =
        Text("This paragraph is long enough to be moved whole, word by word.");
    WriteDocx(a_, moved + Text("Second paragraph of the original.") + Text("Third one."));
    WriteDocx(copy(1), Text("Second paragraph of the original.") + moved + Text("Third one."));
    WriteDocx(copy(2), moved + Text("Second paragraph of the original.") + Text("Third words."));
    const auto changes = combine({"Ann", "Bo"});
    const auto move = std::find_if(changes.begin(), changes.end(), [](const auto& change) {
        return change.kind == ChangeKind::Move;
    });
    ASSERT_NE(move, changes.end());
    EXPECT_EQ(move->reviewers, (std::vector<std::string>{"Ann"}));
    const std::string markup = redline::ReadText(r_, Reading::Markup);
    EXPECT_NE(markup.find("[<This paragraph is long enough"), std::string::npos) << markup;
    EXPECT_NE(markup.find("[>This paragraph is long enough"), std::string::npos) << markup;
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Ann"), CanonicalDocument(copy(1)));
}

TEST_F(Combine, EveryCopysCommentsComeUnderTheirAuthors) {
    const std::string body = Text("Alpha paragraph.") + Text("Beta paragraph.");
    WriteDocx(a_, body);
    WriteDocx(copy(1), P(Commented(1, "Alpha paragraph.")) + Text("Beta paragraph."),
              CommentsPart("<w:comment w:id=\"1\" w:author=\"Ann\" w:initials=\"A\">" +
                           Text("Ann asks.") + "</w:comment>"));
    WriteDocx(copy(2), Text("Alpha paragraph.") + P(Commented(7, "Beta paragraph.")),
              CommentsPart("<w:comment w:id=\"7\" w:author=\"Bo\" w:initials=\"B\">" +
                           Text("Bo asks.") + "</w:comment>"));
    combine({"Ann", "Bo"});
    const std::string accepted = redline::ReadText(r_, Reading::AcceptAll);
    EXPECT_NE(accepted.find("[#Ann: Ann asks.]"), std::string::npos) << accepted;
    EXPECT_NE(accepted.find("[#Bo: Bo asks.]"), std::string::npos) << accepted;
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Ann"), CanonicalDocument(copy(1)));
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Bo"), CanonicalDocument(copy(2)));
}

// A comment a reviewer took away is a change of that reviewer's too, though no mark of the body
// shows it by its own id.
TEST_F(Combine, ACommentTakenAwayIsListedUnderItsReviewer) {
    const DocxParts comment =
        CommentsPart("<w:comment w:id=\"3\" w:author=\"Author\" w:initials=\"A\">" +
                     Text("Check this.") + "</w:comment>");
    WriteDocx(a_, P(Commented(3, "Alpha paragraph.")) + Text("Beta paragraph."), comment);
    WriteDocx(copy(1), Text("Alpha paragraph.") + Text("Beta paragraph."));
    WriteDocx(copy(2), P(Commented(3, "Alpha paragraph.")) + Text("Beta changed."), comment);
    const auto changes = combine({"Ann", "Bo"});
    const auto gone = std::find_if(changes.begin(), changes.end(), [](const auto& change) {
        return change.part == redline::Part::Comment && change.kind == ChangeKind::Deletion;
    });
    ASSERT_NE(gone, changes.end());
    EXPECT_EQ(gone->reviewers, (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(gone->text, "Check this.");
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept, "Ann"), CanonicalDocument(copy(1)));
}

// The result is the first copy's package: what another copy's content names in namespaces the
// first one never declared is declared in it.
TEST_F(Combine, ContentFromACopyOfOtherDeclarationsIsDeclared) {
    auto withoutParagraphIds = [](const std::string& path) {
        ZipEntries entries = ReadZip(path);
        std::string main = *FindEntry(entries, "word/document.xml");
        for (const std::string declaration :
             {" xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\""}) {
            main.erase(main.find(declaration), declaration.size());
        }
        main.replace(main.find("mc:Ignorable=\"wps w14\""), 22, "mc:Ignorable=\"wps\"");
        PutEntry(entries, "word/document.xml", main);
        WriteZip(path, entries);
    };
    WriteDocx(a_, Text("First.") + Text("Last."));
    withoutParagraphIds(a_);
    WriteDocx(copy(1), Text("First words.") + Text("Last."));
    withoutParagraphIds(copy(1));
    WriteDocx(copy(2),
              Text("First.") + WordParagraph("1A2B3C4D", R("Added by Bo.")) + Text("Last."));
    combine({"Ann", "Bo"});
    EXPECT_EQ(redline::ReadText(r_, Reading::AcceptAll), "First words.\nAdded by Bo.\nLast.\n");
}

TEST_F(Combine, ReviewersAreNamedByTheirCopiesUnlessNamedAgain) {
    auto withProperties = [&](int n, const std::string& properties) {
        WriteDocx(copy(n), Text("Changed " + std::to_string(n) + "."));
        SetCoreProperties(copy(n), properties);
    };
    WriteDocx(a_, Text("Original."));
    withProperties(1,
                   "<dc:creator>Writer</dc:creator><cp:lastModifiedBy> Ann Editor "
                   "</cp:lastModifiedBy>");
    withProperties(2, "<dc:creator>Bo Author</dc:creator>");
    withProperties(3, "<dc:creator></dc:creator>");
    EXPECT_EQ(redline::DocumentReviewer(copy(1)), "Ann Editor");
    EXPECT_EQ(redline::DocumentReviewer(copy(2)), "Bo Author");
    EXPECT_EQ(redline::DocumentReviewer(copy(3)), "copy3");
    EXPECT_EQ(redline::DocumentReviewer(folder_.path() + "/missing.docx"), "missing");

    // Two copies under one name still keep their changes apart.
    const auto changes = combine({"Same", "Same", ""});
    std::set<std::string> names;
    for (const auto& change : changes)
        names.insert(change.reviewers.begin(), change.reviewers.end());
    EXPECT_EQ(names, (std::set<std::string>{"Same", "Same (2)", "copy3"}));
}

TEST_F(Combine, WhatCannotBeCombinedIsRefusedNamingIt) {
    WriteDocx(a_, Text("Original."));
    WriteDocx(copy(1), Text("Changed."));
    EXPECT_THROW(redline::CombineDocuments(a_, {}, r_), std::invalid_argument);
    const std::string missing = folder_.path() + "/missing.docx";
    try {
        redline::CombineDocuments(a_, {{copy(1), "Ann"}, {missing, "Bo"}}, r_);
        ADD_FAILURE() << "a missing copy was combined";
    } catch (const redline::UnreadableDocument& e) {
        EXPECT_EQ(e.path(), missing);
    }
    std::vector<redline::ReviewedCopy> many(redline::kMostReviewers + 1, {copy(1), ""});
    EXPECT_THROW(redline::CombineDocuments(a_, many, r_), std::invalid_argument);
}
