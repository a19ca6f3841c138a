// A short paragraph or a row replaced in its place, among paragraphs that stayed: its words are
// marked, its paragraph mark and punctuation stay, however little the two share; and a word
// changed inside a text control is marked there, the control kept whole around it.
#include <gtest/gtest.h>

#include <string>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/CanonicalDocument.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ResultCheck.h"

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
        for (const redline::Change& change : CheckedCompare(a_, b_, r_)) {
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

namespace {

// A content control in a paragraph, of `kind` (a text control when empty), showing `text`.
std::string InControl(const std::string& text, const std::string& kind = "") {
    return P(R("Town: ") + "<w:sdt><w:sdtPr><w:alias w:val=\"Town\"/><w:id w:val=\"42\"/>" + kind +
             "</w:sdtPr><w:sdtContent>" + R(text) + "</w:sdtContent></w:sdt>" + R(", as given."));
}

}  // namespace

TEST_F(ReplacedInPlace, InATextControlTheWordIsMarkedThereAndTheControlStaysOne) {
    EXPECT_EQ(Compare(before_ + InControl("Town of Paris") + after_,
                      before_ + InControl("Town of Rome") + after_),
              (std::vector<std::string>{"-Paris", "+Rome"}));
    const std::string result = redline::Package::Read(r_).part("word/document.xml");
    EXPECT_EQ(result.find("<w:sdt>"), result.rfind("<w:sdt>")) << result;
    EXPECT_NE(result.find("<w:alias w:val=\"Town\"/>"), std::string::npos) << result;
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Reject), CanonicalDocument(a_));
    EXPECT_EQ(CanonicalDocument(r_, Resolution::Accept), CanonicalDocument(b_));

    // A list shows one of its entries: another one is another choice, marked whole.
    const std::string list =
        "<w:dropDownList><w:listItem w:value=\"Paris\"/>"
        "<w:listItem w:value=\"Rome\"/></w:dropDownList>";
    EXPECT_EQ(Compare(before_ + InControl("Town of Paris", list) + after_,
                      before_ + InControl("Town of Rome", list) + after_),
              (std::vector<std::string>{"-Town of Paris", "+Town of Rome"}));
    // Words do not pass between a control and the text around it, nor between two controls.
    EXPECT_EQ(Compare(before_ + InControl("Town of Paris") + after_,
                      before_ + P(R("Town: Town of Paris, as given.")) + after_),
              (std::vector<std::string>{"-Town of Paris", "+Town of Paris"}));
}
