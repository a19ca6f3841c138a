// Documents whose writers chose other namespace prefixes, and content carried from one writer's
// document into another's: XML names an element by its namespace, so a twin under other prefixes
// is the same document, and a result declares every prefix it uses.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "redline/Compare.h"
#include "support/CanonicalDocument.h"
#include "support/DocumentGenerator.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/PrefixTwin.h"
#include "support/ResultCheck.h"
#include "support/RoundTrip.h"
#include "support/SchemaCheck.h"
#include "support/XmlNames.h"
#include "support/Zip.h"

namespace {

using namespace docx;

const char* kMain = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

// The main part of a .docx, as written.
std::string MainPart(const std::string& path) {
    const ZipEntries entries = ReadZip(path);
    const std::string* part = FindEntry(entries, "word/document.xml");
    return part ? *part : "";
}

// Replaces the main part of the .docx at `path`.
void PutMainPart(const std::string& path, const std::string& xml) {
    ZipEntries entries = ReadZip(path);
    for (auto& [name, bytes] : entries) {
        if (name == "word/document.xml") bytes = xml;
    }
    WriteZip(path, entries);
}

class Twins : public ::testing::TestWithParam<TwinStyle> {
  protected:
    TemporaryFolder folder_;
    std::string a_ = folder_.path() + "/a.docx", twin_ = folder_.path() + "/twin.docx",
                b_ = folder_.path() + "/b.docx", r_ = folder_.path() + "/r.docx";
};

}  // namespace

// Generated documents with every kind of content, each beside its twin: nothing changed, both
// ways, and the result keeps every rule.
TEST_P(Twins, AreTheSameDocumentWithNoChange) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        generated::Random random(seed + 808u);
        const auto document = generated::RandomDocument(random, 1 + static_cast<int>(random() % 8));
        generated::WriteGenerated(document, a_, random);
        WritePrefixTwin(a_, twin_, GetParam());
        ASSERT_NE(MainPart(a_), MainPart(twin_));
        for (const auto& [original, revised] : {std::pair{a_, twin_}, std::pair{twin_, a_}}) {
            const auto changes = CheckedCompare(original, revised, r_);
            EXPECT_TRUE(changes.empty()) << "seed " << seed << ": " << changes.size()
                                         << " changes, the first " << changes[0].text;
            EXPECT_EQ(CanonicalDocument(r_, Resolution::Reject), CanonicalDocument(a_))
                << "seed " << seed;
        }
    }
}

// A twin compared with an edited copy finds what the original finds, and both views hold.
TEST_P(Twins, CompareWithAnEditAsTheOriginalDoes) {
    int compared = 0;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        generated::Random random(seed + 909u);
        const auto document = generated::RandomDocument(random, 2 + static_cast<int>(random() % 6));
        const auto edited = generated::Edit(document, random, 1 + static_cast<int>(random() % 3));
        generated::WriteGenerated(document, a_, random);
        generated::WriteGenerated(edited, b_, random);
        WritePrefixTwin(a_, twin_, GetParam());
        const auto plain = redline::CompareDocuments(a_, b_, r_);
        for (const auto& [original, revised] : {std::pair{twin_, b_}, std::pair{b_, twin_}}) {
            const auto changes = CheckedCompare(original, revised, r_);
            const std::string want = original == twin_ ? a_ : b_,
                              other = original == twin_ ? b_ : a_;
            EXPECT_EQ(CanonicalDocument(r_, Resolution::Reject), CanonicalDocument(want))
                << "seed " << seed;
            EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept), CanonicalDocument(other))
                << "seed " << seed;
            if (original == twin_) {
                EXPECT_EQ(changes.size(), plain.size()) << "seed " << seed;
            }
        }
        ++compared;
    }
    EXPECT_EQ(compared, 40);
}

INSTANTIATE_TEST_SUITE_P(Styles, Twins,
                         ::testing::Values(TwinStyle::OtherPrefixes, TwinStyle::DefaultNamespace,
                                           TwinStyle::SingleQuoted, TwinStyle::StrictForm));

// A chart is compared by what it holds, its names by namespace: an extension in a namespace no
// one knows, under the twin's own prefix, is the same extension.
TEST(PrefixTwins, OfAChartWithAnExtensionOfItsOwnAreTheSame) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", twin = folder.path() + "/twin.docx",
                      r = folder.path() + "/r.docx";
    std::string chart = Chart("111", "222", "7");
    chart.insert(chart.rfind("</c:chart>"),
                 "<c:extLst><c:ext uri=\"{0E2C8BC3}\" xmlns:ext1=\"urn:example:chart-extension\">"
                 "<ext1:flag val=\"1\"/></c:ext></c:extLst>");
    DocxParts parts;
    parts.parts["word/charts/chart1.xml"] = chart;
    parts.relationships["rIdChart"] = {"chart", "charts/chart1.xml"};
    WriteDocx(a, P(R("A chart: ") + ChartDrawing()) + Text("End."), parts);
    WritePrefixTwin(a, twin, TwinStyle::OtherPrefixes);
    EXPECT_TRUE(CheckedCompare(a, twin, r).empty());
    EXPECT_TRUE(CheckedCompare(twin, a, r).empty());
}

// The original's root declares what its content uses, the revised one's (a script's) only the
// main namespace: what comes over from the original brings its declarations, and a namespace
// ignorable where it came from stays ignorable, so the result keeps the schema.
TEST(CarriedContent, BringsTheDeclarationsItUses) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    const std::string gone =
        "<w:p w14:paraId=\"1A2B3C4D\" w14:textId=\"77777777\"><w:r><w:t>A sum: </w:t></w:r>"
        "<m:oMath><m:r><m:t>x+1</m:t></m:r></m:oMath>"
        "<w:r><mc:AlternateContent><mc:Choice Requires=\"w14\"><w:sym w:font=\"Symbol\" "
        "w:char=\"F0B7\"/></mc:Choice><mc:Fallback><w:t>*</w:t></mc:Fallback>"
        "</mc:AlternateContent></w:r></w:p>";
    WriteDocx(a, Text("Kept.") + gone + Text("Kept too."));
    WriteDocx(b, Text("Kept.") + Text("Kept too."));
    // Declarations as a script writes them: the main namespace alone, under a prefix of its own.
    ASSERT_NE(MainPart(a).find("mc:Ignorable=\"wps w14\""), std::string::npos);
    PutMainPart(
        b,
        "<doc:document xmlns:doc=\"" + std::string(kMain) +
            "\"><doc:body><doc:p><doc:r><doc:t>Kept.</doc:t></doc:r></doc:p><doc:p>"
            "<doc:r><doc:t>Kept too.</doc:t></doc:r></doc:p><doc:sectPr><doc:pgSz doc:w=\"11906\" "
            "doc:h=\"16838\"/></doc:sectPr></doc:body>"
            "</doc:document>");
    const auto changes = CheckedCompare(a, b, r);
    ASSERT_FALSE(changes.empty());
    for (const redline::Change& change : changes) {
        EXPECT_EQ(change.kind, redline::ChangeKind::Deletion) << change.text;
    }
    pugi::xml_document result;
    ASSERT_TRUE(result.load_string(MainPart(r).c_str()));
    EXPECT_EQ(UndeclaredPrefixes(result.document_element()), std::vector<std::string>{});
    const std::string ignorable = result.document_element().attribute("mc:Ignorable").value();
    EXPECT_NE(ignorable.find("w14"), std::string::npos) << ignorable;
    EXPECT_EQ(NewSchemaErrors(r, {a, b}), std::vector<std::string>{});
    EXPECT_EQ(CanonicalDocument(r, Resolution::Reject), CanonicalDocument(a));
}

// Two writers that use one prefix for two namespaces of their own: each side's content keeps
// its namespace in the result.
TEST(CarriedContent, KeepsItsNamespaceWhereTheOtherSideUsesItsPrefixForAnother) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    auto document = [&](const std::string& path, const std::string& space,
                        const std::string& body) {
        WriteDocx(path, "");
        PutMainPart(path, "<w:document xmlns:w=\"" + std::string(kMain) + "\" xmlns:x=\"" + space +
                              "\" xmlns:mc=\"http://schemas.openxmlformats.org/"
                              "markup-compatibility/2006\" mc:Ignorable=\"x\"><w:body>" +
                              body + "<w:sectPr/></w:body></w:document>");
    };
    document(a, "urn:one",
             "<w:p x:tag=\"first\"><w:r><w:t>Only in the original.</w:t></w:r></w:p>"
             "<w:p><w:r><w:t>Both.</w:t></w:r></w:p>");
    document(b, "urn:two",
             "<w:p><w:r><w:t>Both.</w:t></w:r></w:p>"
             "<w:p x:tag=\"second\"><w:r><w:t>Only in the revised.</w:t></w:r></w:p>");
    CheckedCompare(a, b, r);
    pugi::xml_document result;
    ASSERT_TRUE(result.load_string(MainPart(r).c_str()));
    // Each tag's namespace, read through the declarations in scope.
    std::map<std::string, std::string> spaceOf;
    const pugi::xml_node root = result.document_element();
    for (const pugi::xpath_node& found : result.select_nodes("//w:p")) {
        for (const pugi::xml_attribute& attribute : found.node().attributes()) {
            const std::string name = attribute.name();
            if (!name.ends_with(":tag")) continue;
            const std::string prefix = name.substr(0, name.find(':'));
            spaceOf[attribute.value()] = root.attribute(("xmlns:" + prefix).c_str()).value();
        }
    }
    EXPECT_EQ(spaceOf["first"], "urn:one");
    EXPECT_EQ(spaceOf["second"], "urn:two");
}

// A namespace no one knows, in a document whose writer used a default namespace (read the
// careful way), keeps its name and meaning in the result.
TEST(CarriedContent, AnUnknownNamespaceOfADocumentWithADefaultNamespaceKeepsItsMeaning) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    WriteDocx(a, "");
    PutMainPart(a, "<document xmlns=\"" + std::string(kMain) +
                       "\" xmlns:ext=\"urn:example:tags\"><body><p ext:tag=\"kept\"><r><t>One."
                       "</t></r></p><p ext:tag=\"gone\"><r><t>Two.</t></r></p><sectPr/></body>"
                       "</document>");
    WriteDocx(b, "");
    PutMainPart(b, "<document xmlns=\"" + std::string(kMain) +
                       "\" xmlns:ext=\"urn:example:tags\"><body><p ext:tag=\"kept\"><r><t>One."
                       "</t></r></p><sectPr/></body></document>");
    CheckedCompare(a, b, r);
    pugi::xml_document result;
    ASSERT_TRUE(result.load_string(MainPart(r).c_str()));
    const pugi::xml_node root = result.document_element();
    int tags = 0;
    for (const pugi::xpath_node& found : result.select_nodes("//w:p")) {
        for (const pugi::xml_attribute& attribute : found.node().attributes()) {
            const std::string name = attribute.name();
            if (!name.ends_with(":tag")) continue;
            ++tags;
            const std::string prefix = name.substr(0, name.find(':'));
            EXPECT_STREQ(root.attribute(("xmlns:" + prefix).c_str()).value(), "urn:example:tags")
                << name;
        }
    }
    EXPECT_EQ(tags, 2);
}

// Word 2007 wrote Markup Compatibility as "ve", and an undeclared prefix in mc:Ignorable breaks
// the rules: the one is read, the other is not carried into the result.
TEST(CarriedContent, OldMarkupCompatibilityAndAnIgnorableNothingDeclares) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    WriteDocx(a, Text("One.") + Text("Two."));
    std::string xml = MainPart(a);
    xml.replace(xml.find("mc:Ignorable=\"wps w14\""), 22, "mc:Ignorable=\"wps w14 w15\"");
    PutMainPart(a, xml);
    WriteDocx(b, Text("One.") + Text("Two, changed."));
    WritePrefixTwin(b, b, TwinStyle::OtherPrefixes);
    ASSERT_NE(MainPart(b).find("ve:Ignorable"), std::string::npos);
    for (const auto& [original, revised] : {std::pair{a, b}, std::pair{b, a}}) {
        ASSERT_EQ(CheckedCompare(original, revised, r).size(), 1u);
        pugi::xml_document result;
        ASSERT_TRUE(result.load_string(MainPart(r).c_str()));
        EXPECT_EQ(UndeclaredPrefixes(result.document_element()), std::vector<std::string>{});
    }
}

// ISO/IEC 29500 Strict names its elements in namespaces of its own, and a few values otherwise:
// read as the usual form, and the result written in the usual form, which every word processor
// opens.
TEST(StrictOpenXml, IsReadAsTheUsualFormAndTheResultWrittenInIt) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      strictA = folder.path() + "/strict-a.docx",
                      strictB = folder.path() + "/strict-b.docx", r = folder.path() + "/r.docx";
    const std::string sides = P(R("Set to the right."), "<w:jc w:val=\"right\"/>") +
                              P(R("Indented."), "<w:ind w:left=\"720\" w:right=\"360\"/>");
    WriteDocx(a, sides + Text("One word here."));
    WriteDocx(b, sides + Text("One other word here."));
    WritePrefixTwin(a, strictA, TwinStyle::StrictForm);
    WritePrefixTwin(b, strictB, TwinStyle::StrictForm);
    ASSERT_NE(MainPart(strictA).find("w:val=\"end\""), std::string::npos);
    ASSERT_NE(MainPart(strictA).find("w:start=\"720\""), std::string::npos);
    // The same document in either form: no change, not even of formatting.
    for (const auto& [original, revised] : {std::pair{a, strictA}, std::pair{strictA, a}})
        EXPECT_EQ(CheckedCompare(original, revised, r).size(), 0u);
    EXPECT_EQ(CheckedCompare(strictA, strictB, r).size(),
              redline::CompareDocuments(a, b, r).size());
    CheckedCompare(strictA, strictB, r);
    EXPECT_EQ(CanonicalDocument(r, Resolution::Reject), CanonicalDocument(a));
    EXPECT_EQ(CanonicalDocument(r, Resolution::Accept), CanonicalDocument(b));
    for (const auto& [name, bytes] : ReadZip(r))
        EXPECT_EQ(bytes.find("purl.oclc.org/ooxml"), std::string::npos) << name;
    EXPECT_EQ(NewSchemaErrors(r, {a, b}), std::vector<std::string>{});
}
