// The engine reads untrusted files: a zip bomb, XML nested too deep, broken or missing parts
// are refused naming the file, and no result is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/Docx.h"
#include "support/Files.h"

using docx::Text;

namespace {

struct Hostile {
    const char* name;
    std::function<void(const std::string& path)> write;
    const char* why;  // what the refusal says
};

void WritePackage(const std::string& path, const std::string& document, bool withMain = true) {
    redline::Package package;
    package.put("[Content_Types].xml", "<Types/>");
    package.put("_rels/.rels",
                "<Relationships><Relationship Id=\"r\" Type=\"x/officeDocument\" "
                "Target=\"word/document.xml\"/></Relationships>");
    if (withMain) package.put("word/document.xml", document);
    package.write(path);
}

std::vector<Hostile> HostileInputs() {
    return {
        {"NotAZipFile", [](const std::string& p) { WriteFile(p, "just some words"); },
         "not a readable zip file"},
        {"AnXmlPartPastItsCap",
         [](const std::string& p) {
             WritePackage(p,
                          "<w:document><w:body/>" + std::string(161 << 20, ' ') + "</w:document>");
         },
         "is too large"},
        {"NestedTooDeeply",
         [](const std::string& p) {
             std::string nested;
             for (int i = 0; i < 5000; ++i) nested += "<w:p>";
             WritePackage(p, "<w:document><w:body>" + nested + "</w:body></w:document>");
         },
         "is not well-formed XML"},
        {"DeepButWellFormed",
         [](const std::string& p) {
             std::string open, close;
             for (int i = 0; i < 400; ++i) open += "<w:sdt>", close += "</w:sdt>";
             WritePackage(p, "<w:document><w:body>" + open + close + "</w:body></w:document>");
         },
         "nested too deeply"},
        {"BrokenXml", [](const std::string& p) { WritePackage(p, "<w:document><w:body><w:p>"); },
         "is not well-formed XML"},
        {"NoMainPart", [](const std::string& p) { WritePackage(p, "", false); }, "lacks it"},
        {"NoBody", [](const std::string& p) { WritePackage(p, "<w:document/>"); },
         "no document body"},
        {"TwoBodies",
         [](const std::string& p) {
             WritePackage(p, "<w:document><w:body/><w:body/></w:document>");
         },
         "holds two document bodies"},
    };
}

class HostileDocuments : public ::testing::TestWithParam<Hostile> {};

void PrintTo(const Hostile& hostile, std::ostream* out) {
    *out << hostile.name;
}

TEST_P(HostileDocuments, AreRefusedNamingTheFileAndLeaveNoResult) {
    TemporaryFolder folder;
    const std::string bad = folder.path() + "/bad.docx", good = folder.path() + "/good.docx",
                      result = folder.path() + "/result.docx";
    GetParam().write(bad);
    WriteDocx(good, Text("A sound document."));
    for (const auto& [a, b] : {std::pair{bad, good}, std::pair{good, bad}}) {
        try {
            redline::CompareDocuments(a, b, result);
            ADD_FAILURE() << "no refusal";
        } catch (const redline::UnreadableDocument& e) {
            EXPECT_EQ(e.path(), bad);
            EXPECT_NE(std::string(e.what()).find(GetParam().why), std::string::npos) << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(result));
    }
}

TEST_P(HostileDocuments, OnBothSidesAreRefusedNamingTheOriginal) {
    // Both are read at once, the revised on the thread that asked: the original still comes
    // first, as it would read in turn.
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx";
    GetParam().write(a);
    GetParam().write(b);
    try {
        redline::CompareDocuments(a, b, folder.path() + "/result.docx");
        ADD_FAILURE() << "no refusal";
    } catch (const redline::UnreadableDocument& e) {
        EXPECT_EQ(e.path(), a);
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileDocuments, ::testing::ValuesIn(HostileInputs()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DamagedSecondaryParts, AreRefusedNamingTheFileThatHoldsThem) {
    // The styles of both sides are read only when deleted content brings a style along.
    TemporaryFolder folder;
    const std::string original = folder.path() + "/original.docx",
                      revised = folder.path() + "/revised.docx",
                      result = folder.path() + "/result.docx";
    const DocxParts damaged{{{"word/styles.xml", "<w:styles><w:style>"}}, {}};
    for (const bool originalDamaged : {true, false}) {
        WriteDocx(original,
                  docx::P(docx::R("A heading that goes"), "<w:pStyle w:val=\"Heading1\"/>") +
                      Text("A paragraph that stays."),
                  originalDamaged ? damaged : DocxParts{});
        WriteDocx(revised, Text("A paragraph that stays."),
                  originalDamaged ? DocxParts{} : damaged);
        try {
            redline::CompareDocuments(original, revised, result);
            ADD_FAILURE() << "no refusal";
        } catch (const redline::UnreadableDocument& e) {
            EXPECT_EQ(e.path(), originalDamaged ? original : revised);
            EXPECT_NE(std::string(e.what()).find("word/styles.xml"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(result));
    }
}

TEST(Packages, WhoseRecordsDisagreeOnAFilesTimeAreRead) {
    // Word processors open them; only sizes and checksums say whether a part is sound.
    TemporaryFolder folder;
    const std::string path = folder.path() + "/times.docx", result = folder.path() + "/r.docx";
    WriteDocx(path, Text("A document whose first part claims another time."));
    std::string bytes = ReadFile(path);
    ASSERT_EQ(bytes.compare(0, 4, "PK\x03\x04"), 0);
    bytes[10] = static_cast<char>(bytes[10] ^ 0x5A);  // the local header's modification time
    WriteFile(path, bytes);
    EXPECT_TRUE(redline::CompareDocuments(path, path, result).empty());
}

TEST(Packages, PastTheirCapsAreRefusedAsTooLargeNotDamaged) {
    // Caps hold whatever the ratio: repetitive XML inflates as far as a bomb does.
    TemporaryFolder folder;
    const std::string path = folder.path() + "/large.docx";
    WritePackage(path, "<w:document><w:body/>" + std::string(3 << 20, ' ') + "</w:document>");
    for (const redline::PackageLimits limits : {redline::PackageLimits{10, 2u << 20, 64u << 20},
                                                redline::PackageLimits{10, 64u << 20, 2u << 20}}) {
        try {
            redline::Package::Read(path, limits);
            ADD_FAILURE() << "no refusal";
        } catch (const redline::BadDocument& e) {
            EXPECT_EQ(e.tooLargeMegabytes(), 2u) << e.what();
        }
    }
    EXPECT_NO_THROW(redline::Package::Read(path));
    // More entries than any document holds: damaged, not large.
    try {
        redline::Package::Read(path, {2, 64u << 20, 64u << 20});
        ADD_FAILURE() << "no refusal of three entries";
    } catch (const redline::BadDocument& e) {
        EXPECT_EQ(e.tooLargeMegabytes(), 0u) << e.what();
    }
}

}  // namespace
