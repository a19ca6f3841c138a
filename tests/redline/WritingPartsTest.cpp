// Writing a part's text: a large body is written in two halves at once, which must give the very
// bytes that writing it in one go gives, whatever the part holds around and inside its body.
#include <gtest/gtest.h>

#include <limits>

#include "redline/Compare.h"
#include "redline/Document.h"
#include "redline/Xml.h"
#include "support/DocumentGenerator.h"
#include "support/Files.h"

namespace {

constexpr std::size_t kAtOnce = std::numeric_limits<std::size_t>::max();

pugi::xml_document Parsed(const std::string& text) {
    pugi::xml_document document;
    redline::ParsePart(document, text, "word/document.xml");
    return document;
}

}  // namespace

TEST(WritingParts, InHalvesGivesTheBytesOfWritingAtOnce) {
    // Around the body: a background before it, attributes on it, something after it; inside it:
    // every character that must be escaped, in text and in attributes, and one block alone.
    const std::string kW =
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
    for (const std::string& text : {
             "<w:document " + kW +
                 " w:conformance=\"a&amp;b\"><w:background w:color=\"FF0000\"/>"
                 "<w:body w:x=\"1\"><w:p><w:r><w:t xml:space=\"preserve\"> a &lt;b&gt; &amp; \"c\" "
                 "'d'\t</w:t></w:r></w:p><w:tbl><w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl>"
                 "<w:p w:rsidR=\"&quot;&lt;&amp;&#10;&#9;\"><w:r><w:t>é—漢字 𝄞</w:t></w:r></w:p>"
                 "<w:p><![CDATA[x<y]]></w:p><w:sectPr/></w:body><w:extra/></w:document>",
             "<w:document " + kW + "><w:body><w:p/></w:body></w:document>",
             "<w:document " + kW + "><w:body/></w:document>",
             "<w:document " + kW + "/>",
         }) {
        const pugi::xml_document document = Parsed(text);
        EXPECT_EQ(redline::SerializePart(document, 1), redline::SerializePart(document, kAtOnce))
            << text;
    }
}

TEST(WritingParts, MarkedUpResultsOfGeneratedPairsWriteAlikeInHalves) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    for (int seed = 1; seed <= 100; ++seed) {
        generated::Random random(static_cast<std::uint32_t>(seed) + 31337u);
        const auto original =
            generated::RandomDocument(random, 2 + static_cast<int>(random() % 12));
        generated::WriteGenerated(original, a, random);
        generated::WriteGenerated(generated::Edit(original, random, 3), b, random);
        redline::CompareDocuments(a, b, r);
        redline::DocumentSide result;
        redline::LoadDocument(result, r);
        ASSERT_EQ(redline::SerializePart(result.main.xml, 2),
                  redline::SerializePart(result.main.xml, kAtOnce))
            << "seed " << seed;
    }
}
