// The changes read without an office: the word diff on standard output, the settings that
// --json tells, git showing .docx changes through the diff driver the README sets up, and the
// HTML report as a real browser loads it, with the documents' text never run as code.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "Tool.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/Programs.h"

namespace fs = std::filesystem;
using namespace docx;

namespace {

const std::string kScript = "<script>alert(1)</script>";
const std::string kImage = "\"><img src=x onerror=alert(1)>";

// A paragraph that holds an equation whose text is `formula`.
std::string Equation(const std::string& formula) {
    return P(R("Energy: ") + "<m:oMath><m:r><m:t>" + formula + "</m:t></m:r></m:oMath>");
}

// The table with its first row made taller.
std::string TallFirstRow(std::string table) {
    return table.insert(table.find("<w:tr>") + 6, "<w:trPr><w:trHeight w:val=\"900\"/></w:trPr>");
}

// What a terminal was sent, without the cursor's hiding and showing that Wine's console adds
// around every character it draws.
std::string Shown(std::string sent) {
    for (const std::string cursor : {"\033[?25l", "\033[?25h"}) {
        for (std::size_t at; (at = sent.find(cursor)) != std::string::npos;) sent.erase(at, 6);
    }
    return sent;
}

DocxParts Landscape(DocxParts parts) {
    parts.page = "<w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>";
    return parts;
}

class ReadingChanges : public ::testing::Test {
  protected:
    void SetUp() override {
        original_ = folder_.path() + "/draft.docx";
        revised_ = folder_.path() + "/final.docx";
        const std::string kept = Text("A paragraph that stays as it is, word for word.");
        const std::string moved = Text("This paragraph moves further down the page.");
        const std::string between = Text("Another paragraph in between, which stays unchanged.");
        WriteDocx(original_,
                  kept + Text("The quick brown fox jumps.") + moved + between + Text(kScript) +
                      P(R("Make ") + R("this") + R(" bold.")) +
                      Table({{"Name", "Town"}, {"Ada", "Paris"}}) + Equation("E=mc") +
                      Text("Gone tomorrow."),
                  Header(Text("Draft edition")));
        WriteDocx(revised_,
                  kept + Text("The quick red fox jumps.") + between + moved +
                      Text(kScript + " " + kImage) +
                      P(R("Make ") + R("this", "<w:b/>") + R(" bold.")) +
                      TallFirstRow(Table({{"Name", "Town"}, {"Ada", "Rome"}})) + Equation("E=mc²"),
                  Landscape(Header(Text("Final edition"))));
    }

    ProgramRun tool(const std::vector<std::string>& args, const std::string& folder = "") {
        return RunCapturing(ToolCommand(args), folder.empty() ? folder_.path() : folder);
    }

    // The number after `"name": ` in a line of JSON.
    static int JsonCount(const std::string& json, const std::string& name) {
        std::smatch found;
        if (!std::regex_search(json, found, std::regex("\"" + name + "\": ([0-9]+)"))) return -1;
        return std::stoi(found[1]);
    }

    TemporaryFolder folder_;
    std::string original_, revised_;
};

}  // namespace

TEST_F(ReadingChanges, TheWordDiffShowsEachChangedParagraphAndWritesNoFile) {
    const ProgramRun run = tool({"draft.docx", "final.docx", "--text"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("@@ body, paragraph 2 @@\nThe quick [-brown-]{+red+} fox jumps.\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("@@ table, paragraph "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("[-Paris-]{+Rome+}"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("@@ header, paragraph 1 @@\n[-Draft-]{+Final+} edition"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("(moved here)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("(formatting changed: \"this\")"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("[-Gone tomorrow.-]"), std::string::npos) << run.out;
    // An equation shows its text, as the change list does.
    EXPECT_NE(run.out.find("Energy: [-E=mc-]{+E=mc²+}"), std::string::npos) << run.out;
    // Formatting of tables and sections, where it stands, named.
    EXPECT_NE(run.out.find("@@ table @@\n  (formatting changed: row height)"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("@@ section @@\n  (formatting changed: section: landscape)"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("\033["), std::string::npos) << "no colour into a pipe";
    const auto onTerminal = ToolCommand({original_, revised_, "--text"});
    EXPECT_NE(Shown(RunOnTerminal(onTerminal, {"NO_COLOR="})).find("\033[31m[-brown-]"),
              std::string::npos);
    EXPECT_FALSE(std::regex_search(Shown(RunOnTerminal(onTerminal, {"NO_COLOR=1"})),
                                   std::regex("\033\\[[0-9;]*m")));
    EXPECT_EQ(run.out.find("A paragraph that stays"), std::string::npos) << "unchanged shown";
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder_.path()))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files.size(), 2u) << "a file was left: " << ::testing::PrintToString(files);

    // Settings change what is shown, and --json tells which were used.
    const ProgramRun quiet =
        tool({"draft.docx", "final.docx", "--text", "--no-formatting", "--skip", "headers"});
    EXPECT_EQ(quiet.out.find("formatting changed"), std::string::npos) << quiet.out;
    EXPECT_EQ(quiet.out.find("@@ header"), std::string::npos) << quiet.out;
    const ProgramRun json = tool({"draft.docx", "final.docx", "-o", "marked.docx", "--json",
                                  "--ignore-case", "--skip", "tables,fields", "--no-moves"});
    ASSERT_EQ(json.exit, 0) << json.err;
    EXPECT_NE(json.out.find("\"result\": \"marked.docx\", \"settings\": {\"formatting\": true, "
                            "\"ignoreCase\": true, \"ignoreWhitespace\": false, \"moves\": false, "
                            "\"characterLevel\": false, \"acceptTracked\": false, \"skip\": "
                            "[\"tables\", \"fields\"]}"),
              std::string::npos)
        << json.out;
    EXPECT_EQ(JsonCount(json.out, "moves"), 0) << json.out;
    EXPECT_NE(json.out.find("{\"kind\": \"formatting\", \"part\": \"section\", \"text\": "
                            "\"landscape\""),
              std::string::npos)
        << json.out;
    const ProgramRun unknown = tool({"draft.docx", "final.docx", "--text", "--skip", "tabels"});
    EXPECT_EQ(unknown.exit, 2);
    EXPECT_NE(unknown.err.find("\"tabels\""), std::string::npos) << unknown.err;
}

// Every change the word diff shows is numbered within its story: a paragraph moved to the top,
// one deleted from it, one inserted before everything, a header's first line replaced.
TEST_F(ReadingChanges, TheWordDiffNumbersEveryChangeWithinItsStory) {
    const std::string first = Text("The first paragraph of the story."),
                      second = Text("The second paragraph, a little longer."),
                      third = Text("The third and last paragraph of it.");
    WriteDocx(original_, first + second + third, Header(Text("An old header line")));
    WriteDocx(revised_, Text("A new opening line.") + third + first + second,
              Header(Text("A new header line")));
    const ProgramRun run = tool({"draft.docx", "final.docx", "--text"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const std::regex heading("@@ [a-z ]+, paragraph ([0-9]+) @@");
    int headings = 0;
    for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), heading);
         it != std::sregex_iterator(); ++it) {
        ++headings;
        const long number = std::stol((*it)[1]);
        EXPECT_GE(number, 1) << run.out;
        EXPECT_LE(number, 5) << run.out;
    }
    EXPECT_GE(headings, 3) << run.out;
    EXPECT_NE(run.out.find("@@ body, paragraph 1 @@\n{+A new opening line.+}"), std::string::npos)
        << run.out;
    // A paragraph the revised document lacks is numbered as the original numbers it, which a
    // paragraph new above it does not change.
    WriteDocx(original_, first + second + third);
    WriteDocx(revised_, Text("A new opening line.") + first + third);
    const ProgramRun deleted = tool({"draft.docx", "final.docx", "--text"});
    EXPECT_NE(deleted.out.find("@@ body, paragraph 2 of the original @@\n[-The second"),
              std::string::npos)
        << deleted.out;
}

// A paragraph whose words stayed but whose formatting or breaks changed is a changed paragraph
// too: centred, or cut in two.
TEST_F(ReadingChanges, TheWordDiffShowsParagraphsChangedOnlyInFormOrBreaks) {
    const std::string kept = Text("A paragraph that stays as it is, word for word.");
    WriteDocx(original_, kept + Text("This paragraph will be centred.") +
                             Text("This one will be cut in two halves here."));
    WriteDocx(revised_, kept + P(R("This paragraph will be centred."), "<w:jc w:val=\"center\"/>") +
                            Text("This one will be cut in two") + Text("halves here."));
    const ProgramRun run = tool({"draft.docx", "final.docx", "--text"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("@@ body, paragraph 2 @@\nThis paragraph will be centred.\n  "
                           "(paragraph formatting changed)"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("(paragraph break inserted)"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("A paragraph that stays"), std::string::npos) << run.out;
}

// A symbol that a reader without it sees as its fallback text is shown once, as an object.
TEST_F(ReadingChanges, TheWordDiffShowsASymbolOnceNotItsFallbackToo) {
    WriteDocx(original_, P(R("Smile ") + Symbol("\U0001F600") + R(" now, please.")));
    WriteDocx(revised_, P(R("Smile ") + Symbol("\U0001F600") + R(" then, please.")));
    UseWordsDeclarations(original_);
    UseWordsDeclarations(revised_);
    const ProgramRun run = tool({"draft.docx", "final.docx", "--text"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("Smile \u25A1 [-now-]{+then+}, please."), std::string::npos) << run.out;
}

// A word changed in a text box is shown under the box's own heading.
TEST_F(ReadingChanges, TheWordDiffShowsChangesInTextBoxes) {
    const std::string kept = Text("A paragraph that stays as it is, word for word.");
    WriteDocx(original_, kept + P(R("Beside the box ") + TextBox(Text("The box says yes."))));
    WriteDocx(revised_, kept + P(R("Beside the box ") + TextBox(Text("The box says no.")) +
                                 R(" and a new word")));
    const ProgramRun run = tool({"draft.docx", "final.docx", "--text"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("Beside the box [text box 1]{+ and a new word+}"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("@@ text box 1, paragraph 1 @@\nThe box says [-yes-]{+no+}."),
              std::string::npos)
        << run.out;
}

TEST_F(ReadingChanges, GitShowsDocxChangesThroughTheDiffDriver) {
    const std::string repository = folder_.path() + "/repository";
    fs::create_directory(repository);
    auto git = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "git");
        return RunCapturing(args, repository);
    };
    ASSERT_EQ(git({"init", "-q"}).exit, 0);
    git({"config", "user.name", "Tester"});
    git({"config", "user.email", "tester@example.org"});
    // The README's recipe: one line of attributes, one diff driver.
    WriteFile(repository + "/.gitattributes", "*.docx diff=docx\n");
    std::string driver;
    for (const std::string& word : ToolCommand({"--git-diff"}))
        driver += (driver.empty() ? "" : " ") + word;
    git({"config", "diff.docx.command", driver});
    fs::copy_file(original_, repository + "/notes.docx");
    git({"add", "notes.docx", ".gitattributes"});
    ASSERT_EQ(git({"commit", "-qm", "draft"}).exit, 0);
    fs::copy_file(revised_, repository + "/notes.docx", fs::copy_options::overwrite_existing);

    const ProgramRun diff = git({"diff"});
    EXPECT_EQ(diff.exit, 0) << diff.err;
    EXPECT_NE(diff.out.find("diff --git a/notes.docx b/notes.docx\n"), std::string::npos)
        << diff.out;
    EXPECT_NE(diff.out.find("The quick [-brown-]{+red+} fox jumps."), std::string::npos)
        << diff.out;
    EXPECT_EQ(diff.out.find("Binary files"), std::string::npos) << diff.out;

    ASSERT_EQ(git({"commit", "-qam", "final"}).exit, 0);
    const ProgramRun log = git({"log", "-p", "--ext-diff"});
    EXPECT_NE(log.out.find("[-Paris-]{+Rome+}"), std::string::npos) << log.out;
    EXPECT_NE(log.out.find("new document"), std::string::npos) << log.out;

    // A document git holds that cannot be read is told in the diff, and git goes on.
    WriteFile(repository + "/notes.docx", "not a document");
    const ProgramRun broken = git({"diff"});
    EXPECT_EQ(broken.exit, 0) << broken.err;
    EXPECT_NE(broken.out.find("quorvane-compare: "), std::string::npos) << broken.out;
}

TEST_F(ReadingChanges, TheReportLoadsInABrowserShowsEveryChangeAndRunsNoDocumentText) {
    const ProgramRun json =
        tool({"draft.docx", "final.docx", "--report", "changes.html", "--json"});
    ASSERT_EQ(json.exit, 0) << json.err;
    const std::string page = folder_.path() + "/changes.html";
    ASSERT_TRUE(fs::exists(page));

    const ProgramRun browser =
        RunCapturing({"chromium", "--headless", "--no-sandbox", "--disable-gpu",
                      "--enable-logging=stderr", "--v=0", "--dump-dom", "file://" + page});
    ASSERT_EQ(browser.exit, 0) << browser.err;
    const std::string& dom = browser.out;
    // Nothing the page asks for is refused, and nothing complains: no console message at all.
    EXPECT_EQ(browser.err.find(":CONSOLE"), std::string::npos) << browser.err;
    EXPECT_EQ(dom.find("<script"), std::string::npos);
    EXPECT_EQ(dom.find("<img"), std::string::npos);
    EXPECT_NE(dom.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(dom.find("\"&gt;&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
    EXPECT_NE(dom.find(">E=mc<"), std::string::npos) << "the equation's old text";
    EXPECT_NE(dom.find(">E=mc²<"), std::string::npos) << "the equation's new text";

    // Every change the command line counts is marked, numbered, in the document.
    for (const char* kind : {"insertion", "deletion", "move", "formatting"}) {
        const std::string plural = std::string(kind) == "insertion"  ? "insertions"
                                   : std::string(kind) == "deletion" ? "deletions"
                                   : std::string(kind) == "move"     ? "moves"
                                                                     : "formatting";
        const std::regex marked(std::string("data-kind=\"") + kind + "\"");
        const auto count = std::distance(std::sregex_iterator(dom.begin(), dom.end(), marked),
                                         std::sregex_iterator());
        EXPECT_EQ(count, JsonCount(json.out, plural)) << kind;
        EXPECT_GT(count, 0) << kind;
    }
}

// Each story of the report is headed by its name as a reader writes it: a note's changes under
// "Footnote 1", as the word diff gives them under "footnote 1".
TEST_F(ReadingChanges, TheReportAndTheWordDiffNameTheNoteAChangeIsIn) {
    WriteDocx(original_, P(R("A claim") + NoteReference(1) + R(" made once.")),
              Notes({{1, Text("As the first survey found.")}}));
    WriteDocx(revised_, P(R("A claim") + NoteReference(1) + R(" made once.")),
              Notes({{1, Text("As the second survey found.")}}));
    const ProgramRun run = tool({"draft.docx", "final.docx", "--report", "notes.html", "--text"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("@@ footnote 1, paragraph 1 @@\nAs the [-first-]{+second+} survey"),
              std::string::npos)
        << run.out;
    const std::string page = ReadFile(folder_.path() + "/notes.html");
    EXPECT_NE(page.find("<h2>Footnote 1</h2>"), std::string::npos) << page;
}

// Comments are compared: one dropped and one whose text changed are listed with their authors,
// shown in the word diff under their own headings, and left alone when skipped.
TEST_F(ReadingChanges, CommentsAreListedShownAndSkippedOnRequest) {
    WriteDocx(original_,
              P(R("A ") + Commented(1, "figure") + R(" to check and ") + Commented(2, "a date") +
                R(" to move.")),
              Comments({{1, "Check this figure"}, {2, "Due in May"}}));
    WriteDocx(revised_, P(R("A figure to check and ") + Commented(2, "a date") + R(" to move.")),
              Comments({{2, "Due in June"}}));
    const ProgramRun json = tool({"draft.docx", "final.docx", "-o", "marked.docx", "--json"});
    ASSERT_EQ(json.exit, 0) << json.err;
    EXPECT_NE(json.out.find("{\"kind\": \"deletion\", \"part\": \"comment\", \"text\": \"Check "
                            "this figure\", \"author\": \"Reader\""),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"part\": \"comment\", \"text\": \"May\", \"author\": \"Reader\""),
              std::string::npos)
        << json.out;
    const ProgramRun text = tool({"draft.docx", "final.docx", "--text"});
    EXPECT_NE(text.out.find("@@ comment 2 (by Reader), paragraph 1 @@\nDue in [-May-]{+June+}"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("A figure[-[comment 1]-] to check"), std::string::npos) << text.out;
    const ProgramRun skipped =
        tool({"draft.docx", "final.docx", "-o", "kept.docx", "--json", "--skip", "comments"});
    EXPECT_EQ(skipped.out.find("\"comment\""), std::string::npos) << skipped.out;
    EXPECT_NE(skipped.out.find("\"skip\": [\"comments\"]"), std::string::npos) << skipped.out;
}

// A counterpart's copy with one tracked replacement and one made without tracking: the change
// list says whose each is, stderr says what the copy held, the report counts, marks and filters
// the untracked one, and --accept-tracked puts everything under the comparing author.
TEST_F(ReadingChanges, TrackedAndUntrackedEditsOfACounterpartAreToldApart) {
    const std::string stamp = " w:author=\"Counterparty\" w:date=\"2026-03-04T05:06:07Z\"";
    WriteDocx(original_, Text("The rent is due on the first day.") + Text("Notice is one month."));
    WriteDocx(revised_, P(R("The rent is due on the ") + "<w:del w:id=\"1\"" + stamp +
                          "><w:r><w:delText>first</w:delText></w:r></w:del><w:ins w:id=\"2\"" +
                          stamp + ">" + R("fifth") + "</w:ins>" + R(" day.")) +
                            Text("Notice is two months."));
    const ProgramRun run = tool({"draft.docx", "final.docx", "-o", "r.docx", "--json", "--report",
                                 "r.html", "--author", "Legal"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.err.find("\"final.docx\" held 2 tracked changes (Counterparty 2): kept in the "
                           "result under their authors"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("\"text\": \"first\", \"tracked_by\": \"Counterparty\""),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"text\": \"two months\", \"tracked_by\": null"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"tracked_inputs\": {\"original\": {\"changes\": 0, \"authors\": {}}, "
                           "\"revised\": {\"changes\": 2, \"authors\": {\"Counterparty\": 2}}, "
                           "\"accepted\": false}"),
              std::string::npos)
        << run.out;
    const std::string page = ReadFile(folder_.path() + "/r.html");
    EXPECT_NE(page.find("2 changes were made without tracking"), std::string::npos);
    EXPECT_NE(page.find("id=\"only-untracked\""), std::string::npos);
    EXPECT_NE(page.find("tracked by Counterparty"), std::string::npos);

    const ProgramRun accepted = tool({"draft.docx", "final.docx", "-o", "r2.docx", "--json",
                                      "--accept-tracked", "--author", "Legal"});
    ASSERT_EQ(accepted.exit, 0) << accepted.err;
    EXPECT_EQ(accepted.out.find("\"tracked_by\": \"Counterparty\""), std::string::npos);
    EXPECT_NE(accepted.err.find("accepted before comparing"), std::string::npos) << accepted.err;
}
