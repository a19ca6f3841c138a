// The comparison routine and the "Word.Application" stand-in together, as the program uses them.
#include "OfficeFixture.h"
#include "app/errors/ReportError.h"
#include "automation/Error.h"
#include "compare/Word1.h"
#include "office/OfficeHost.h"
#include "support/ScriptedPrompts.h"

using automation::Variant;

namespace {

office::OfficeHost HeadlessHost() {
    office::SessionOptions options;
    options.headless = true;
    return office::OfficeHost(options);
}

}  // namespace

TEST_F(OfficeTest, CompareDocFilesRunsThroughWithoutAReport) {
    const auto before = OfficeProcesses();
    {
        office::OfficeHost host = HeadlessHost();
        ScriptedPrompts prompts;
        Word1(host, prompts).CompareDocFiles(docs_->originalDocx, docs_->revisedDocx);
        EXPECT_TRUE(prompts.shown().empty()) << prompts.texts().front();
        // Headless, nothing could be shown: the office used is gone, one warm for the next
        // comparison has taken its place.
        EXPECT_TRUE(host.warmOffice().holdsOne());
        host.warmOffice().waitUntilSettled();
        WaitUntil([&] { return OfficeProcesses().size() == before.size() + 1; });
        EXPECT_EQ(OfficeProcesses().size(), before.size() + 1);
    }
    EXPECT_EQ(OfficeProcesses(), before);
}

TEST_F(OfficeTest, CompareDocFilesNamesABadSecondDocumentAtLine106AndGoesOn) {
    office::OfficeHost host = HeadlessHost();
    ScriptedPrompts prompts;
    Word1(host, prompts).CompareDocFiles(docs_->originalDocx, docs_->plainTextAsDocx);
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{ErrorReportText(
                                   kCompareDocFilesLocation, 106,
                                   "\"" + docs_->plainTextAsDocx + "\" is not a Word document.")}));
}

TEST_F(OfficeTest, TheStandInRefusesWhatItDoesNotKnowAndNamesIt) {
    office::OfficeHost host = HeadlessHost();
    EXPECT_THROW(host.getActive("Word.Application"), automation::Error);
    EXPECT_THROW(host.create("Excel.Application"), automation::Error);
    automation::Object word = host.create("word.application");
    EXPECT_NE(word.defaultValue().toText(), "Microsoft Word");
    EXPECT_FALSE(word.defaultValue().toText().empty());
    try {
        word.call("PrintOut");
        ADD_FAILURE();
    } catch (const automation::Error& e) {
        EXPECT_NE(e.description().find("PrintOut"), std::string::npos);
    }
    auto doc = word.get("DOCUMENTS").call("open", {Variant::textByRef(docs_->originalDocx)});
    EXPECT_THROW(doc.call("Merge", {},
                          {{"FileName", Variant::text(docs_->revisedDocx)},
                           {"MergeTarget", Variant::int32(0)}}),
                 automation::Error);
    EXPECT_THROW(doc.call("Merge", {}, {{"Password", Variant::text("x")}}), automation::Error);
    EXPECT_NO_THROW(doc.call("merge", {}, {{"FILENAME", Variant::textByRef(docs_->revisedDocx)}}));
    EXPECT_NO_THROW(doc.call("CLOSE"));
    EXPECT_THROW(doc.call("Close"), automation::Error);
    EXPECT_NO_THROW(word.call("Quit"));
}
