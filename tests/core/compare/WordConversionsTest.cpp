// Word as the Windows command line's converter, on a scripted Word: what it is asked, and that it
// is left closed whatever fails.
#include <gtest/gtest.h>

#include "automation/Error.h"
#include "compare/WordConversions.h"
#include "support/ScriptedHost.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kOpen =
    "documents.Open(FileName:=Text \"C:\\old.doc\", ConfirmConversions:=Boolean 0, "
    "ReadOnly:=Boolean -1, AddToRecentFiles:=Boolean 0, PasswordDocument:=Text "
    "\"quorvane-no-password\", Visible:=Boolean 0)";

}  // namespace

TEST(WordConversions, OpensReadOnlyWithoutPromptsStoresInTheFormatAskedAndQuits) {
    ScriptedHost host;
    {
        WordConversions word(host);
        word.toDocx("C:\\old.doc", "C:\\work\\old.docx");
    }
    EXPECT_EQ(host.calls(),
              (Lines{"create Word.Application", "word.Visible = Boolean 0",
                     "word.DisplayAlerts = Int32 0", "word.Documents", kOpen,
                     "document.SaveAs2(FileName:=Text \"C:\\work\\old.docx\", FileFormat:=Int32 "
                     "12, AddToRecentFiles:=Boolean 0)",
                     "document.Close(SaveChanges:=Int32 0)", "word.Quit(SaveChanges:=Int32 0)"}));
    EXPECT_EQ(host.liveObjects(), 0);

    for (const auto& [result, format] : std::vector<std::pair<std::string, std::string>>{
             {"C:\\r.DOC", "0"}, {"C:\\r.odt", "23"}, {"C:\\r.pdf", "17"}, {"C:\\r.rtf", "6"}}) {
        ScriptedHost each;
        WordConversions(each).fromDocx("C:\\m.docx", result);
        EXPECT_NE(each.calls().at(5).find("FileFormat:=Int32 " + format + ","), std::string::npos)
            << each.calls().at(5);
    }
}

TEST(WordConversions, AFailureIsRaisedAndWordIsStillClosedAndQuit) {
    ScriptedHost host;
    host.fail("document.SaveAs2", "The disk is full.");
    {
        WordConversions word(host);
        try {
            word.toDocx("C:\\old.doc", "C:\\work\\old.docx");
            FAIL() << "no error";
        } catch (const automation::Error& e) {
            EXPECT_EQ(e.description(), "The disk is full.");
        }
        EXPECT_THROW(word.fromDocx("C:\\m.docx", "C:\\result.txt"), automation::Error);
    }
    EXPECT_EQ(host.calls().back(), "word.Quit(SaveChanges:=Int32 0)");
    EXPECT_EQ(host.calls().at(host.calls().size() - 2), "document.Close(SaveChanges:=Int32 0)");
    EXPECT_EQ(host.liveObjects(), 0);

    ScriptedHost absent;
    absent.fail("create Word.Application", "ActiveX component can't create object");
    EXPECT_THROW(WordConversions{absent}, automation::Error);
}
