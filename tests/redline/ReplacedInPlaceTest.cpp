// A short paragraph or a row replaced in its place, among paragraphs that stayed: its words are
// marked, its paragraph mark and punctuation stay, however little the two share.
#include <gtest/gtest.h>

#include <string>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/Docx.h"
#include "support/Files.h"

namespace {

using namespace docx;

struct Replaced {
    std::string original, revised;  // the short paragraph
    std::string deleted, inserted;  // what the change list must tell
};

void PrintTo(const Replaced& pair, std::ostream* out) {
    *out << '"' << pair.original << "\" to \"" << pair.revised << '"';
}

class ReplacedInPlace : public ::testing::TestWithParam<Replaced> {
  protected:
    // Deletions and insertions told, as "-text" and "+text", and whether a paragraph mark is
    // marked in the result.
    std::vector<std::string> Compare(const std::string& a, const std::string& b) {
        WriteDocx(a_, a);
        WriteDocx(b_, b);
        std::vector<std::string> told;
        for (const redline::Change& change : redline::CompareDocuments(a_, b_, r_)) {
            told.push_back((change.kind == redline::ChangeKind::Deletion ? "-" : "+") +
                           change.text);
        }
        const std::string result = redline::Package::Read(r_).part("word/document.xml");
        if (result.find("<w:rPr><w:del ") != std::string::npos ||
            result.find("<w:rPr><w:ins ") != std::string::npos) {
            told.push_back("a paragraph mark");
        }
        return told;
    }

    TemporaryFolder folder_;
    const std::string a_ = folder_.path() + "/a.docx", b_ = folder_.path() + "/b.docx",
                      r_ = folder_.path() + "/r.docx";
    const std::string before_ = Text("The introduction of the report comes first.");
    const std::string after_ = Text("The next paragraph follows after it.");
};

}  // namespace

TEST_P(ReplacedInPlace, AsAParagraphMarksItsWordsAlone) {
    const Replaced& pair = GetParam();
    EXPECT_EQ(
        Compare(before_ + Text(pair.original) + after_, before_ + Text(pair.revised) + after_),
        (std::vector<std::string>{"-" + pair.deleted, "+" + pair.inserted}));
}

TEST_P(ReplacedInPlace, AsATableRowMarksItsWordsAlone) {
    const Replaced& pair = GetParam();
    auto table = [](const std::string& middle) {
        return Table({{"Heading of the table here"}, {middle}, {"Last row of the table stays"}});
    };
    EXPECT_EQ(
        Compare(before_ + table(pair.original) + after_, before_ + table(pair.revised) + after_),
        (std::vector<std::string>{"-" + pair.deleted, "+" + pair.inserted}));
}

INSTANTIATE_TEST_SUITE_P(
    ShortParagraphs, ReplacedInPlace,
    ::testing::Values(Replaced{"Recommendations.", "Velvet.", "Recommendations", "Velvet"},
                      Replaced{"{{title}}", "{{name}}", "title", "name"},
                      Replaced{"Paragraphs:", "Sections:", "Paragraphs", "Sections"}));
