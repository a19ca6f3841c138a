// The engine reads untrusted files: a zip bomb, XML nested too deep, broken or missing parts
// are refused naming the file, and no result is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "redline/io/XmlText.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/StrictXml.h"
#include "support/Zip.h"

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

std::string WithText(const std::string& text) {
    return "<w:document><w:body><w:p><w:r><w:t>" + text +
           "</w:t></w:r></w:p></w:body></w:document>";
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
        // A word processor refuses text that XML 1.0 does not allow; carried into a result, it
        // would make the result one that no word processor opens.
        {"AForbiddenCharacterReference",
         [](const std::string& p) { WritePackage(p, WithText("a&#8;b")); }, "U+0008"},
        {"AForbiddenHexReferenceInAnAttribute",
         [](const std::string& p) {
             WritePackage(p, "<w:document w:x=\"&#xFFFE;\"><w:body/></w:document>");
         },
         "U+FFFE"},
        {"AControlByte", [](const std::string& p) { WritePackage(p, WithText("a\x01 b")); },
         "U+0001"},
        {"BytesThatAreNotUtf8", [](const std::string& p) { WritePackage(p, WithText("caf\xE9")); },
         "not UTF-8"},
        {"AnOverlongSequence",
         [](const std::string& p) { WritePackage(p, WithText("a\xC0\xAF b")); }, "not UTF-8"},
        {"AnEncodedSurrogate",
         [](const std::string& p) { WritePackage(p, WithText("a\xED\xA0\x80 b")); }, "not UTF-8"},
        {"ACutSequenceAtTheEnd",
         [](const std::string& p) {
             WritePackage(p, "<w:document><w:body/></w:document>\xE2\x82");
         },
         "not UTF-8"},
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

TEST(XmlText, WhatXmlAllowsIsReadAndAForbiddenCharacterInAnyPartIsRefused) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    // The edges of what XML 1.0 allows, a reference inside a comment or CDATA (text, not a
    // character), and a part declared in Latin-1 whose bytes are not UTF-8.
    const std::string edges = "tab\t, \xEE\x80\x80, \xEF\xBF\xBD, \xF4\x8F\xBF\xBF, &#x10FFFF;";
    WriteDocx(a, Text("A sound document."),
              {{{"word/settings.xml",
                 "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><w:settings xmlns:w=\"w\">"
                 "<w:x w:v=\"caf\xE9\"/><!-- &#8; --><w:y><![CDATA[&#1;]]></w:y></w:settings>"}},
               {}});
    WriteDocx(b, Text("A sound document.") + Text(edges));
    EXPECT_EQ(redline::CompareDocuments(a, b, result).size(), 1u);
    EXPECT_EQ(NotWellFormedParts(result), std::vector<std::string>{});
    // A part that the comparison only carries into the result is checked as well.
    WriteDocx(b, Text("A sound document."),
              {{{"word/settings.xml", "<w:settings>&#27;</w:settings>"}}, {}});
    try {
        redline::CompareDocuments(a, b, result);
        ADD_FAILURE() << "no refusal";
    } catch (const redline::UnreadableDocument& e) {
        EXPECT_EQ(e.path(), b);
        EXPECT_NE(std::string(e.what()).find("word/settings.xml"), std::string::npos) << e.what();
    }
}

// The scan takes eight bytes at a time: what it must find is found wherever it stands in them.
TEST(XmlText, WhatIsForbiddenIsFoundAtEveryPlaceAndWhatIsAllowedNowhere) {
    const std::vector<std::pair<std::string, std::string>> forbidden = {
        {"\x01", "U+0001"},     {"\xFF", "not UTF-8"}, {"&#8;", "U+0008"},
        {"&nbsp;", "declares"}, {"& ", "begins no"},   {"\xEF\xBF\xBF", "U+FFFF"},
        {"\xC3", "not UTF-8"},
    };
    const std::vector<std::string> allowed = {"<!-- &#8; -->", "<![CDATA[&#1; & x]]>",
                                              "<?pi & x?>",    "&amp;&lt;&#x10FFFF;",
                                              "caf\xC3\xA9",   "!?<>\t\r\n\x7F"};
    for (std::size_t before = 0; before < 17; ++before) {
        const std::string lead(before, 'a'), tail(19, 'z');
        for (const auto& [bad, says] : forbidden) {
            const auto found = redline::FindNotXmlText(lead + bad + tail, true);
            ASSERT_TRUE(found.has_value()) << before << " " << says;
            EXPECT_EQ(found->at, before) << says;
            EXPECT_NE(found->what.find(says), std::string::npos) << found->what;
        }
        for (const std::string& good : allowed) {
            const auto found = redline::FindNotXmlText(lead + good + tail, true);
            EXPECT_FALSE(found.has_value()) << before << " " << good << ": " << found->what;
        }
    }
}

TEST(XmlText, AnAuthorNameThatXmlCannotHoldGivesAResultThatOpens) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/result.docx";
    WriteDocx(a, Text("One word."));
    WriteDocx(b, Text("Two words."));
    redline::CompareOptions options;
    options.author = "Ann\x01 Caf\xE9";  // a control, and Latin-1 from a terminal
    ASSERT_FALSE(redline::CompareDocuments(a, b, result, options).empty());
    EXPECT_EQ(NotWellFormedParts(result), std::vector<std::string>{});
    const ZipEntries written = ReadZip(result);
    const std::string* document = FindEntry(written, "word/document.xml");
    ASSERT_NE(document, nullptr);
    EXPECT_NE(document->find("w:author=\"Ann\xEF\xBF\xBD Caf\xEF\xBF\xBD\""), std::string::npos);
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

TEST(Packages, WhoseCentralRecordOverstatesAStoredSizeGiveAResultFromWhatWasRead) {
    // The part inflates soundly, but copying it as stored reads past its end: that is the
    // input's fault, never the disk's, so the result is written from the bytes read.
    TemporaryFolder folder;
    const std::string original = folder.path() + "/original.docx",
                      revised = folder.path() + "/revised.docx",
                      result = folder.path() + "/result.docx";
    WriteDocx(original, Text("A paragraph that stays."));
    WriteDocx(revised, Text("A paragraph that stays.") + Text("One more."));
    std::string bytes = ReadFile(revised);
    // The central record of a part carried unchanged into the result.
    const std::size_t central =
        bytes.rfind("PK\x01\x02", bytes.find("word/styles.xml", bytes.find("PK\x01\x02")));
    ASSERT_NE(central, std::string::npos);
    bytes[central + 22] = static_cast<char>(bytes[central + 22] + 1);  // stored size + 64 KB
    WriteFile(revised, bytes);
    EXPECT_EQ(redline::CompareDocuments(original, revised, result).size(), 1u);
    const ZipEntries written = ReadZip(result);
    EXPECT_EQ(*FindEntry(written, "word/styles.xml"),
              *FindEntry(ReadZip(original), "word/styles.xml"));
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
