// Writing a part's text: a large body is written in two halves at once, which must give the very
// bytes that writing it in one go gives, whatever the part holds around and inside its body; and
// compressed in pieces that, joined, a zip reader takes for one stream.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <limits>
#include <random>
#include <thread>

#include "redline/Compare.h"
#include "redline/io/Deflate.h"
#include "redline/io/Namespaces.h"
#include "redline/io/Package.h"
#include "redline/io/Xml.h"
#include "redline/read/Document.h"
#include "support/DocumentGenerator.h"
#include "support/Files.h"

namespace {

constexpr std::size_t kAtOnce = std::numeric_limits<std::size_t>::max();

pugi::xml_document Parsed(const std::string& text) {
    pugi::xml_document document;
    redline::Namespaces names;
    redline::ParsePart(document, text, "word/document.xml", names);
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
        // What marking parses into each document to share its names stays out of the result.
        const redline::Package package = redline::Package::Read(r);
        for (const std::string& name : package.names()) {
            EXPECT_EQ(package.part(name).find("quorvane-shared-names"), std::string::npos)
                << "seed " << seed << ", " << name;
        }
        redline::DocumentSide result;
        redline::LoadDocument(result, r);
        ASSERT_EQ(redline::SerializePart(result.main.xml, 2),
                  redline::SerializePart(result.main.xml, kAtOnce))
            << "seed " << seed;
    }
}

TEST(WritingParts, PiecesCompressedApartReadBackAsTheirJoinedText) {
    TemporaryFolder folder;
    const std::string path = folder.path() + "/p.zip";
    std::mt19937 random(7);
    auto text = [&](std::size_t size) {
        std::string made;
        for (std::size_t i = 0; i < size; ++i) {
            made +=
                random() % 4 ? static_cast<char>('a' + random() % 3) : static_cast<char>(random());
        }
        return made;
    };
    // Empty pieces, pieces smaller and larger than zlib's window and its buffers, text that
    // does not compress.
    for (const auto& [first, second] : std::vector<std::pair<std::size_t, std::size_t>>{
             {0, 0}, {0, 10}, {10, 0}, {1, 1}, {40000, 70000}, {300000, 5}, {5, 300000}}) {
        const std::string a = text(first), b = text(second);
        redline::Package package;
        package.put("[Content_Types].xml", "<Types/>");
        redline::DeflateStream streamA, streamB;
        streamA.write(a);
        streamB.write(b);
        // Bytes that are no text at all, under a name that no reader takes for XML.
        package.putDeflated("word/media/pieces.bin",
                            redline::Join(streamA.finish(false), streamB.finish(true)));
        package.write(path);
        EXPECT_EQ(redline::Package::Read(path).part("word/media/pieces.bin"), a + b)
            << first << " + " << second;
    }
}

TEST(WritingParts, ALargeBodyIsStoredAsWrittenAtOnce) {
    // Many blocks, written in halves; one long paragraph, compressed on the second core.
    std::string blocks, runs;
    for (std::size_t i = 0; i < redline::kHalvesFrom + 1; ++i) {
        blocks += "<w:p><w:r><w:t>paragraph " + std::to_string(i) + " &amp; more</w:t></w:r></w:p>";
    }
    for (std::size_t i = 0; i < 60000; ++i) {
        runs += "<w:r><w:t xml:space=\"preserve\">word " + std::to_string(i) + " </w:t></w:r>";
    }
    for (const std::string& body : {blocks, "<w:p>" + runs + "</w:p>"}) {
        const pugi::xml_document document = Parsed(
            "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
            "<w:body>" +
            body + "<w:sectPr/></w:body></w:document>");
        TemporaryFolder folder;
        redline::PackagePart part;
        part.name = "word/document.xml";
        part.xml.reset(document);
        redline::Package package;
        part.relationships = redline::Relationships(package, part.name);
        redline::SavePart(part, package);
        package.write(folder.path() + "/large.docx");
        EXPECT_EQ(redline::Package::Read(folder.path() + "/large.docx").part(part.name),
                  redline::SerializePart(document, kAtOnce));
    }
}

TEST(WritingParts, APipedTextReadsBackAsWritten) {
    TemporaryFolder folder;
    const std::string path = folder.path() + "/p.zip";
    std::mt19937 random(9);
    // Nothing, less than one chunk, and many chunks written in uneven slices, some of which do
    // not compress: the second core takes them in turn while the first waits for room.
    for (const std::size_t size : {0u, 100u, 3'000'000u}) {
        std::string text;
        for (std::size_t i = 0; i < size; ++i) {
            text +=
                random() % 8 ? static_cast<char>('a' + random() % 4) : static_cast<char>(random());
        }
        redline::DeflatePipe pipe;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t slice =
                std::min<std::size_t>(1 + random() % 100000, text.size() - at);
            pipe.write(std::string_view(text).substr(at, slice));
            at += slice;
        }
        redline::Package package;
        package.put("[Content_Types].xml", "<Types/>");
        package.putDeflated("word/media/piped.bin", pipe.finish());
        package.write(path);
        EXPECT_EQ(redline::Package::Read(path).part("word/media/piped.bin"), text) << size;
    }
}

TEST(WritingParts, APipeLetGoUnfinishedStopsItsThread) {
    auto threads = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                             std::filesystem::directory_iterator());
    };
    const auto before = threads();
    {
        redline::DeflatePipe pipe;
        pipe.write(std::string(5'000'000, 'x'));  // the thread has started and may wait for more
        EXPECT_EQ(threads(), before + 1) << "the pipe compresses on a thread of its own";
    }
    // A joined thread leaves /proc a moment after join returns.
    for (int wait = 0; wait < 100 && threads() != before; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(threads(), before) << "the thread outlived its pipe";
}
