// The engine on real-world files: documents of many shapes that the tests write, generated
// documents with pictures, equations, links, notes and content controls, the office's own
// conversions of them to .doc, .rtf and .odt and back (which cut runs, embed equations as
// objects and name parts in their own ways), the office's own templates (openly licensed)
// turned into Word documents, and any openly licensed Word documents that Debian packages
// installed here ship. Every file that opens must compare with itself to no change at all, and
// with a copy that has one word changed to exactly one deletion and one insertion, rejecting and
// accepting all giving each side back as canonical XML, and breaking no schema its inputs keep,
// with no crash, no hang and no office left behind.
#include <filesystem>

#include "OfficeFixture.h"
#include "automation/Error.h"
#include "redline/Compare.h"
#include "redline/MarkedResult.h"
#include "redline/io/Package.h"
#include "support/CanonicalDocument.h"
#include "support/DocumentGenerator.h"
#include "support/Docx.h"
#include "support/PrefixTwin.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/RoundTrip.h"
#include "support/SchemaCheck.h"

namespace fs = std::filesystem;
using namespace docx;

namespace {

// A chart, and a workbook embedded as an object, with the parts they refer to.
DocxParts Objects() {
    redline::Package workbook;
    workbook.put("[Content_Types].xml",
                 "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                 "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>");
    workbook.put("xl/workbook.xml",
                 "<workbook><sheets><sheet name=\"Sheet1\"/></sheets></workbook>");
    workbook.put("xl/worksheets/sheet1.xml",
                 "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>42</v></c></row>"
                 "</sheetData></worksheet>");
    TemporaryFolder folder;
    workbook.write(folder.path() + "/book.xlsx");
    DocxParts parts;
    parts.parts["word/media/image1.png"] = Png(0x40);
    parts.relationships["rIdPic0"] = {"image", "media/image1.png"};
    parts.parts["word/charts/chart1.xml"] = Chart("111", "222", "7");
    parts.relationships["rIdChart"] = {"chart", "charts/chart1.xml"};
    parts.parts["word/embeddings/Microsoft_Excel_Worksheet.xlsx"] =
        ReadFile(folder.path() + "/book.xlsx");
    parts.relationships["rIdSheet"] = {"package", "embeddings/Microsoft_Excel_Worksheet.xlsx"};
    return parts;
}

// Word documents of many shapes: every part the engine compares, and what it keeps whole.
std::vector<std::pair<std::string, std::pair<std::string, DocxParts>>> Shapes() {
    const std::string prose =
        Text("Ordinary words of a first paragraph, with punctuation; and more.") +
        Text("A second paragraph follows, quite plain.");
    return {
        {"prose", {prose, {}}},
        {"table",
         {prose + Table({{"Name", "Town", "Year"}, {"Ada", "Paris", "1843"}}) + Text("After."),
          {}}},
        {"styled",
         {P(R("Bold ", "<w:b/>") + R("italic ", "<w:i/>") + R("sized", "<w:sz w:val=\"32\"/>")) +
              P(R("Heading words"), "<w:pStyle w:val=\"Heading1\"/>") + prose,
          {}}},
        {"notes",
         {P(R("Words with a note") + NoteReference(1)) + prose,
          Notes({{1, Text("The note says this.")}})}},
        {"headers",
         {prose, Header(Text("Header words here")) + Footer(P(R("Page ") + Field("PAGE", "1")))}},
        {"text box", {P(R("Before the box ") + TextBox(Text("Words inside the box"))) + prose, {}}},
        {"comments",
         {P(Commented(1, "Commented words") + R(" and more.")) + prose,
          Comments({{1, "A remark"}})}},
        {"fields",
         {P(R("Today is ") + Field("DATE", "8 December 2026") + R(" indeed.")) + prose, {}}},
        // As Word writes: thirty declarations, ids on paragraphs, a symbol through Markup
        // Compatibility, a check box, a drop-down list, several text boxes, a header of three
        // paragraphs; what another office's copy of it carries over must keep every rule.
        {"word-like",
         {WordParagraph("10000001", R("A heading"), "<w:pStyle w:val=\"Heading1\"/>") +
              WordParagraph("10000002", R("A smile ") + Symbol("\U0001F600") + R(" and a box ") +
                                            CheckBox() + R(" ticked.")) +
              WordParagraph("10000003", R("Fruit: ") + DropDown("Pears") + R(" is chosen.")) +
              WordParagraph("10000004", R("One ") + TextBox(Text("First box")) + R(" two ") +
                                            TextBox(Text("Second box"))) +
              WordParagraph("10000005",
                            R("Three ") + TextBox(Text("Third box") + Text("more of it"))) +
              prose,
          Header(Text("First header line") + Text("Second header line") +
                 Text("Third header line")) +
              Footer(P(R("Page ") + Field("PAGE", "1")))}},
        {"objects",
         {P(R("A chart: ") + ChartDrawing()) + P(R("A workbook: ") + EmbeddedObject()) +
              P(R("A picture: ") + Picture("rIdPic0")) + prose,
          Objects()}},
    };
}

struct Outcome {
    int files = 0, changed = 0;
    int convertedTwice = 0;
    int formattingEdits = 0, formattingMarked = 0;
    int acrossWriters = 0, acrossWritersFaithful = 0, twins = 0, twinsUnchanged = 0;
    int tracked = 0, trackedFaithful = 0;
};

// The tracked changes in every part of the result.
int Marks(const std::string& docx) {
    int marks = 0;
    const redline::Package package = redline::Package::Read(docx);
    for (const std::string& name : package.names()) {
        const std::string& bytes = package.part(name);
        for (const char* mark : {"<w:ins ", "<w:del ", "<w:moveFrom ", "<w:moveTo ",
                                 "<w:rPrChange ", "<w:pPrChange "}) {
            for (std::size_t at = 0; (at = bytes.find(mark, at)) != std::string::npos; ++at)
                ++marks;
        }
    }
    return marks;
}

// Compares as the program does; a result that breaks a rule its inputs keep fails the test,
// and the corpus goes on.
std::vector<redline::Change> Compared(const std::string& a, const std::string& b,
                                      const std::string& result) {
    auto changes = redline::CompareDocuments(a, b, result);
    EXPECT_EQ(NewResultProblems(result, {a, b}), "") << a << " against " << b;
    return changes;
}

std::string Reading(const std::string& docx, redline::Reading reading) {
    return redline::ReadText(docx, reading);
}

// Compares `docx` with itself and with a copy that has one word changed.
// Each property of a table, row, cell or section that the file has, changed alone: marked as a
// change of formatting that names it, and nothing else, rejecting all giving the original back.
void CheckFormatting(const std::string& name, const std::string& docx, const std::string& work,
                     Outcome& outcome) {
    const std::string copy = work + "/one-property.docx", result = work + "/formatted.docx";
    for (const PropertyEdit edit :
         {PropertyEdit::CellShading, PropertyEdit::CellAlignment, PropertyEdit::TableWidth,
          PropertyEdit::RowHeight, PropertyEdit::Landscape}) {
        const std::string what = ChangeOneProperty(docx, copy, edit);
        if (what.empty()) continue;
        ++outcome.formattingEdits;
        const auto changes = Compared(docx, copy, result);
        const redline::ChangeCounts counts = redline::Count(changes);
        const std::string original = CanonicalDocument(docx), revised = CanonicalDocument(copy);
        const std::string rejected = CanonicalDocument(result, Resolution::Reject);
        const std::string accepted = CanonicalDocument(result, Resolution::Accept);
        const bool named =
            counts.formatting == 1 &&
            changes[0].text.find(what.substr(what.rfind(' ') + 1)) != std::string::npos;
        const bool marked = named && counts.insertions + counts.deletions + counts.moves == 0 &&
                            rejected == original && accepted == revised;
        outcome.formattingMarked += marked;
        EXPECT_TRUE(marked) << name << ", " << what << ": " << counts.formatting
                            << " formatting changes, the first "
                            << (changes.empty() ? "" : changes[0].text) << "; "
                            << FirstDifference(original, rejected);
    }
}

// The text of every deleted and every inserted span that the reader of marked documents (which
// the word diff and the report show) finds below `block`.
void MarkedText(const redline::MarkedBlock& block, std::string& deleted, std::string& inserted) {
    for (const redline::Span& span : block.paragraph.spans) {
        if (span.kind == redline::SpanKind::Deleted) deleted += span.text + " ";
        if (span.kind == redline::SpanKind::Inserted) inserted += span.text + " ";
    }
    for (const redline::MarkedRow& row : block.rows) {
        for (const auto& cell : row.cells) {
            for (const redline::MarkedBlock& inner : cell) MarkedText(inner, deleted, inserted);
        }
    }
}

void Check(const std::string& name, const std::string& docx, const std::string& work,
           Outcome& outcome) {
    const std::string result = work + "/result.docx", copy = work + "/one-word.docx";
    ++outcome.files;
    const auto same = Compared(docx, docx, result);
    EXPECT_TRUE(same.empty()) << name << ": " << same.size() << " changes with itself, the first "
                              << (same.empty() ? "" : same[0].text);
    EXPECT_EQ(Marks(result), 0) << name;
    const std::string word = ChangeOneWord(docx, copy, "Quorvane");
    if (word.empty()) return;  // no word to change
    ++outcome.changed;
    const auto changes = Compared(docx, copy, result);
    const redline::ChangeCounts counts = redline::Count(changes);
    EXPECT_EQ(counts.deletions, 1) << name << " (" << word << ")";
    EXPECT_EQ(counts.insertions, 1) << name << " (" << word << ")";
    EXPECT_EQ(counts.moves + counts.formatting, 0) << name << " (" << word << ")";
    EXPECT_EQ(Reading(result, redline::Reading::RejectAll),
              Reading(docx, redline::Reading::AcceptAll))
        << name;
    EXPECT_EQ(Reading(result, redline::Reading::AcceptAll),
              Reading(copy, redline::Reading::AcceptAll))
        << name;
    const std::string original = CanonicalDocument(docx), revised = CanonicalDocument(copy);
    const std::string rejected = CanonicalDocument(result, Resolution::Reject);
    const std::string accepted = CanonicalDocument(result, Resolution::Accept);
    EXPECT_EQ(rejected, original) << name << ": " << FirstDifference(original, rejected);
    EXPECT_EQ(accepted, revised) << name << ": " << FirstDifference(revised, accepted);
    std::string deleted, inserted;
    for (const redline::MarkedStory& story : redline::ReadMarked(result)) {
        for (const redline::MarkedBlock& block : story.blocks) MarkedText(block, deleted, inserted);
    }
    EXPECT_NE(deleted.find(word), std::string::npos) << name << ": read back " << deleted;
    EXPECT_NE(inserted.find("Quorvane"), std::string::npos) << name << ": read back " << inserted;
    // What Word reads: nothing the schema refuses that the two inputs did not hold already.
    const auto broken = NewSchemaErrors(result, {docx, copy});
    EXPECT_TRUE(broken.empty()) << name << ": " << broken.size() << " schema errors, the first "
                                << (broken.empty() ? "" : broken.front());
    // The word itself, or the field or content control it shows in, kept whole.
    for (const auto& change : changes) {
        const std::string expected =
            change.kind == redline::ChangeKind::Deletion ? word : "Quorvane";
        EXPECT_NE(change.text.find(expected), std::string::npos) << name << ": " << change.text;
    }
}

// The file with its one word changed as a counterpart's tracked change: compared with the file,
// every change is the counterpart's and each view gives its side back; compared with itself, no
// change is listed and the tracked change stays pending; compared with a copy that changes one
// more word without tracking, that word is the only change listed, and the tracked one is kept.
void CheckTracked(const std::string& name, const std::string& docx, const std::string& work,
                  Outcome& outcome) {
    const std::string copy = work + "/one-word.docx", tracked = work + "/tracked.docx",
                      result = work + "/tracked-result.docx", edited = work + "/tracked-edit.docx";
    if (ChangeOneWord(docx, copy, "Quorvane").empty()) return;
    redline::CompareOptions counterpart;
    counterpart.author = "Counterparty";
    redline::CompareDocuments(docx, copy, tracked, counterpart);
    ++outcome.tracked;
    bool faithful = true;
    auto expect = [&](bool holds, const std::string& what) {
        EXPECT_TRUE(holds) << name << ": " << what;
        faithful = faithful && holds;
    };
    const std::string original = CanonicalDocument(docx), revised = CanonicalDocument(copy);
    for (const auto& change : Compared(docx, tracked, result)) {
        expect(change.trackedBy == "Counterparty", "\"" + change.text + "\" not the counterpart's");
    }
    expect(CanonicalDocument(result, Resolution::Reject) == original, "rejecting all");
    expect(CanonicalDocument(result, Resolution::Accept) == revised, "accepting all");
    expect(Compared(tracked, tracked, result).empty(), "changes listed against itself");
    expect(CanonicalDocument(result, Resolution::Reject) == original, "itself, rejecting all");
    expect(CanonicalDocument(result, Resolution::Accept) == revised, "itself, accepting all");
    // A word of the counterpart's own insertion, changed, stays their change (reworked).
    if (const std::string word = ChangeOneWord(tracked, edited, "Quillwort");
        !word.empty() && word.find("Quorvane") == std::string::npos) {
        for (const auto& change : Compared(tracked, edited, result)) {
            expect(change.trackedBy.empty(), "an untracked edit listed as tracked");
        }
        expect(CanonicalDocument(result, Resolution::Accept) ==
                   CanonicalDocument(edited, Resolution::Accept),
               "an edited copy, accepting all");
        expect(Marks(result) >= Marks(tracked), "an edited copy lost a tracked change");
    }
    outcome.trackedFaithful += faithful;
}

// What a result breaks that its inputs keep: its own rules and the schemas.
std::string Broken(const std::string& result, const std::string& a, const std::string& b) {
    std::string broken = NewResultProblems(result, {a, b});
    const auto schema = NewSchemaErrors(result, {a, b});
    if (!schema.empty())
        broken += std::to_string(schema.size()) + " schema errors, the first " + schema[0];
    return broken;
}

// The document beside its copy as another writer saved it, both ways: the office's own saving
// (other declarations, other runs, other section and drawing markup), and a twin under other
// namespace prefixes, which must show no change at all.
void CheckAcrossWriters(const std::string& name, const std::string& docx, const std::string& work,
                        office::WriterSession& session, Outcome& outcome) {
    const std::string resaved = work + "/resaved.docx", twin = work + "/twin.docx",
                      result = work + "/across.docx";
    session.store(session.open(docx), resaved, "MS Word 2007 XML");
    for (const auto& [a, b] : {std::pair{docx, resaved}, std::pair{resaved, docx}}) {
        ++outcome.acrossWriters;
        const std::string way = name + (a == docx ? " against the office's copy" : " from it");
        redline::CompareDocuments(a, b, result);
        const std::string broken = Broken(result, a, b);
        const std::string rejected = Reading(result, redline::Reading::RejectAll),
                          accepted = Reading(result, redline::Reading::AcceptAll);
        const std::string wantA = Reading(a, redline::Reading::AcceptAll),
                          wantB = Reading(b, redline::Reading::AcceptAll);
        outcome.acrossWritersFaithful += broken.empty() && rejected == wantA && accepted == wantB;
        EXPECT_EQ(broken, "") << way;
        EXPECT_EQ(rejected, wantA) << way << ": " << FirstDifference(wantA, rejected);
        EXPECT_EQ(accepted, wantB) << way << ": " << FirstDifference(wantB, accepted);
    }
    WritePrefixTwin(docx, twin, TwinStyle::OtherPrefixes);
    for (const auto& [a, b] : {std::pair{docx, twin}, std::pair{twin, docx}}) {
        ++outcome.twins;
        const auto changes = redline::CompareDocuments(a, b, result);
        const std::string broken = Broken(result, a, b);
        outcome.twinsUnchanged += changes.empty() && broken.empty();
        EXPECT_TRUE(changes.empty())
            << name << " and its twin: " << changes.size() << " changes, the first "
            << (changes.empty() ? "" : changes[0].text);
        EXPECT_EQ(broken, "") << name << " and its twin";
        EXPECT_EQ(CanonicalDocument(result, Resolution::Reject), CanonicalDocument(docx))
            << name << " and its twin";
    }
}

}  // namespace

TEST_F(OfficeTest,
       EveryFileOfTheCorpusComparesWithItselfToNothingAndWithAOneWordChangeToExactlyThat) {
    const auto before = OfficeProcesses();
    TemporaryFolder corpus, work;
    std::vector<std::string> files;  // any format the office reads
    {
        office::WriterSession session(Headless());
        std::vector<std::string> written;
        for (const auto& [name, shape] : Shapes()) {
            written.push_back(corpus.path() + "/" + name + ".docx");
            WriteDocx(written.back(), shape.first, shape.second);
            if (name == "word-like") UseWordsDeclarations(written.back());
        }
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            generated::Random random(seed);
            written.push_back(corpus.path() + "/generated-" + std::to_string(seed) + ".docx");
            generated::WriteGenerated(generated::RandomDocument(random, 8), written.back(), random);
        }
        for (const std::string& docx : written) {
            const std::string name = fs::path(docx).stem().string();
            files.push_back(docx);
            // The office's own conversions, and those brought back to Word 2007+.
            for (const auto& [extension, filter] :
                 {std::pair{".doc", "MS Word 97"}, std::pair{".rtf", "Rich Text Format"},
                  std::pair{".odt", "writer8"}}) {
                const std::string converted = corpus.path() + "/" + name + extension;
                session.store(session.open(docx), converted, filter);
                const std::string back = corpus.path() + "/" + name + extension + ".docx";
                session.store(session.open(converted), back, "MS Word 2007 XML");
                files.push_back(converted);
                files.push_back(back);
            }
        }
        // The office's own templates, openly licensed, as Word documents.
        std::error_code error;
        for (const auto& entry :
             fs::recursive_directory_iterator("/usr/lib/libreoffice/share/template", error)) {
            if (entry.path().extension() != ".ott") continue;
            const std::string docx =
                corpus.path() + "/template-" + entry.path().stem().string() + ".docx";
            try {
                session.store(session.open(entry.path().string()), docx, "MS Word 2007 XML");
                files.push_back(docx);
            } catch (const automation::Error&) {
                // A template the office itself cannot turn into a Word document: not ours to test.
            }
        }
    }
    // Openly licensed Word documents that Debian packages installed here ship: python-docx's
    // template, and pandoc's reference document, which it keeps unpacked.
    if (fs::exists("/usr/lib/python3/dist-packages/docx/templates/default.docx")) {
        files.push_back("/usr/lib/python3/dist-packages/docx/templates/default.docx");
    }
    const fs::path unpacked = "/usr/share/pandoc/data/docx";
    if (fs::is_directory(unpacked)) {
        redline::Package package;
        for (const auto& entry : fs::recursive_directory_iterator(unpacked)) {
            if (entry.is_regular_file()) {
                package.put(fs::relative(entry.path(), unpacked).string(), ReadFile(entry.path()));
            }
        }
        files.push_back(corpus.path() + "/pandoc-reference.docx");
        package.write(files.back());
    }

    Outcome outcome;
    office::WriterSession session(Headless());
    std::string previous;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string docx = files[i];
        if (!redline::Package::IsWordPackage(docx)) {
            docx = work.path() + "/converted-" + std::to_string(i) + ".docx";
            session.convert(files[i], docx);  // as the program does
            // Each conversion numbers charts' axes and zips embedded packages anew: a document
            // compared with itself, each side converted on its own, still shows nothing.
            const std::string again = work.path() + "/converted-again.docx";
            session.convert(files[i], again);
            const auto twice = Compared(docx, again, work.path() + "/twice.docx");
            outcome.convertedTwice += twice.empty();
            EXPECT_TRUE(twice.empty()) << files[i] << ": " << twice.size()
                                       << " changes between two conversions, the first "
                                       << (twice.empty() ? "" : twice[0].text);
        }
        const std::string name = fs::path(files[i]).filename().string();
        Check(name, docx, work.path(), outcome);
        CheckFormatting(name, docx, work.path(), outcome);
        CheckTracked(name, docx, work.path(), outcome);
        CheckAcrossWriters(name, docx, work.path(), session, outcome);
        // Two different documents: the marks must still give each back.
        if (!previous.empty()) {
            const std::string result = work.path() + "/between.docx";
            Compared(previous, docx, result);
            EXPECT_EQ(Reading(result, redline::Reading::RejectAll),
                      Reading(previous, redline::Reading::AcceptAll))
                << "before " << name;
            EXPECT_EQ(Reading(result, redline::Reading::AcceptAll),
                      Reading(docx, redline::Reading::AcceptAll))
                << "before " << name;
        }
        previous = docx;
    }
    session.quit();
    std::printf(
        "corpus: %d files compared with themselves, %d with one word changed, %d of %d "
        "edits of a table's, row's, cell's or section's formatting marked, %d documents in "
        "other formats converted twice without a change; %d of %d comparisons with the office's "
        "own copy faithful both ways and keeping every rule, %d of %d prefix twins unchanged; "
        "%d of %d with a counterpart's tracked change kept it faithfully\n",
        outcome.files, outcome.changed, outcome.formattingMarked, outcome.formattingEdits,
        outcome.convertedTwice, outcome.acrossWritersFaithful, outcome.acrossWriters,
        outcome.twinsUnchanged, outcome.twins, outcome.trackedFaithful, outcome.tracked);
    EXPECT_GT(outcome.files, 30);
    EXPECT_TRUE(WaitUntil([&] { return OfficesSince(before).empty(); })) << "an office was left";
}
