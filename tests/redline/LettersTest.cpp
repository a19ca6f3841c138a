// Words and letters as readers see them, in every script: what --ignore-case folds together and
// what it keeps apart, where a word ends in text without spaces, and what letter-by-letter
// marking marks, never half a character.
#include <gtest/gtest.h>

#include "redline/Compare.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"

namespace {

using namespace docx;

struct Marked {
    std::string markup;
    int changes = 0;
};

// The result of comparing two documents of the given bodies, as Reading::Markup shows it.
Marked CompareBodies(const std::string& original, const std::string& revised,
                     const redline::CompareOptions& options = {}, const DocxParts& parts = {}) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    WriteDocx(a, original, parts);
    WriteDocx(b, revised, parts);
    const auto changes = CheckedCompare(a, b, r, options);
    EXPECT_EQ(redline::ReadText(r, redline::Reading::AcceptAll),
              redline::ReadText(b, redline::Reading::AcceptAll));
    std::string markup = redline::ReadText(r, redline::Reading::Markup);
    if (!markup.empty() && markup.back() == '\n') markup.pop_back();
    return {markup, static_cast<int>(changes.size())};
}

// The same, for two one-paragraph documents of plain text.
Marked Compare(const std::string& original, const std::string& revised,
               const redline::CompareOptions& options = {}) {
    return CompareBodies(Text(original), Text(revised), options);
}

redline::CompareOptions IgnoringCase() {
    redline::CompareOptions options;
    options.ignoreCase = true;
    return options;
}

struct CasePair {
    const char* upper;
    const char* lower;
};

}  // namespace

// Capitals and small letters of every alphabet that writes both, at the ends of each range
// where the two are paired: the same word whichever is written.
TEST(IgnoreCase, FoldsCapitalsOfEveryAlphabetIntoTheirSmallLetters) {
    const CasePair pairs[] = {
        {"ÉCOLE", "école"},       {"ÀÞ", "àþ"},           {"ŁÓDŹ", "łódź"},       {"ĀĶŊŶ", "āķŋŷ"},
        {"ĹŇŹŽ", "ĺňźž"},         {"ΑΘΗΝΑΪΫ", "αθηναϊϋ"}, {"МОСКВАЯ", "москвая"}, {"ЀЁЏ", "ѐёџ"},
        {"ѠҾӐԮ", "ѡҿӑԯ"}, {"STRASSE", "strasse"},
    };
    for (const CasePair& pair : pairs) {
        const Marked plain = Compare(pair.upper, pair.lower);
        EXPECT_EQ(plain.changes, 2) << pair.upper;
        const Marked folded = Compare(pair.upper, pair.lower, IgnoringCase());
        EXPECT_EQ(folded.changes, 0)
            << pair.upper << " against " << pair.lower << ": " << folded.markup;
    }
}

// What only looks alike is not folded: the multiplication and division signs, the signs just
// before the capitals, letters that differ in a bit their encodings share, ideographs of the
// supplementary planes, an ideograph beside a private character of another plane whose
// lower bits it shares, and two ideographs alike but in their highest bits.
TEST(IgnoreCase, KeepsApartWhatOnlyLooksAlike) {
    const CasePair pairs[] = {
        {"一", "乀"}, {"×", "÷"},
        {"¿", "ß"},   {"@", "`"},
        {"ab", "ac"}, {"Ā", "Ă"},
        {"ж", "з"},   {"Ω", "ω1"},
        {"𠀀", "𡀀"}, {"𠀀", "𠁀"},
        {"한", "할"}, {"ǅ", "ǆ"},
        {"ß", "ẞ"},   {"\U00030000", "\U000F0000"},
        {"一", "帀"},
    };
    for (const CasePair& pair : pairs) {
        const Marked folded = Compare(std::string("x ") + pair.upper + " y",
                                      std::string("x ") + pair.lower + " y", IgnoringCase());
        EXPECT_GT(folded.changes, 0) << pair.upper << " and " << pair.lower << " were folded";
    }
}

// Text without spaces (Chinese, Japanese) is read an ideograph a word: one changed character is
// marked alone, in the common block, its extension and the compatibility ideographs alike.
TEST(Ideographs, AChangedCharacterIsMarkedAlone) {
    const CasePair pairs[] = {
        {"東京都の天気は晴れです", "東京都の天気は曇れです"},
        {"豈更車賈滑串", "豈更車賈滑句"},
        {"𠀋𠂢𠂤𠃉𠃵𠄌", "𠀋𠂢𠂤𠃉𠃵𠄍"},
    };
    for (const CasePair& pair : pairs) {
        const Marked marked = Compare(pair.upper, pair.lower);
        EXPECT_EQ(marked.changes, 2) << marked.markup;
        EXPECT_EQ(marked.markup.find("[-"), marked.markup.rfind("[-")) << marked.markup;
        const std::size_t gone = marked.markup.find("[-");
        const std::size_t end = marked.markup.find("-]", gone);
        // Exactly one character between the marks: three or four bytes.
        EXPECT_LE(end - gone - 2, 4u) << marked.markup;
    }
}

// Letter by letter, a changed word marks the characters that changed, each whole however many
// bytes it takes.
TEST(CharacterLevel, MarksTheChangedCharactersWholeInEveryEncodingLength) {
    redline::CompareOptions letters;
    letters.characterLevel = true;
    const struct {
        const char *original, *revised, *markup;
    } cases[] = {
        {"The colour is grey.", "The color is gray.", "The colo[-u-]r is gr[-e-][+a+]y."},
        {"Ein schöner Tag.", "Ein schoner Tag.", "Ein sch[-ö-][+o+]ner Tag."},
        {"Ein schöner Tag.", "Ein schüner Tag.", "Ein sch[-ö-][+ü+]ner Tag."},
        {"Price in €uros.", "Price in £uros.", "Price in [-€-][+£+]uros."},
        {"Paid £12.", "Paid £13.", "Paid £1[-2-][+3+]."},
        {"Price in ¥uros.", "Price in €uros.", "Price in [-¥-][+€+]uros."},
        {"Smile 😀face.", "Smile 😁face.", "Smile [-😀-][+😁+]face."},
    };
    for (const auto& c : cases) {
        const Marked marked = Compare(c.original, c.revised, letters);
        EXPECT_EQ(marked.markup, c.markup);
    }
}

// Letter by letter after a link and a picture, or just before a link: the word beside them is
// a word of its own, marked by the letters that changed.
TEST(CharacterLevel, AWordAfterALinkAndAPictureIsMarkedByItsLetters) {
    redline::CompareOptions letters;
    letters.characterLevel = true;
    DocxParts parts;
    parts.relationships["rIdLink"] = {"hyperlink", "https://example.org/"};
    parts.parts["word/media/image1.png"] = Png(0x40);
    parts.relationships["rIdPic0"] = {"image", "media/image1.png"};
    auto body = [](const std::string& word) {
        return P(R("See ") + "<w:hyperlink r:id=\"rIdLink\">" + R("the notes") + "</w:hyperlink>" +
                 R(" and ") + Picture("rIdPic0") + R(" the " + word + "."));
    };
    const Marked marked = CompareBodies(body("colour"), body("color"), letters, parts);
    EXPECT_NE(marked.markup.find("colo[-u-]r."), std::string::npos) << marked.markup;
    EXPECT_EQ(marked.changes, 1) << marked.markup;
    // And a word right before a link, which opens with a comma: the word is outside it.
    auto before = [](const std::string& word) {
        return P(R("See the " + word) + "<w:hyperlink r:id=\"rIdLink\">" + R(", then the notes") +
                 "</w:hyperlink>" + R("."));
    };
    const Marked beside = CompareBodies(before("colour"), before("color"), letters, parts);
    EXPECT_NE(beside.markup.find("colo[-u-]r,"), std::string::npos) << beside.markup;
}

// A word kept between two changed ones joins them when it weighs no more than either change,
// so that a rewritten phrase reads as one deletion and one insertion; a heavier one parts them.
TEST(Phrases, AWordKeptBetweenChangesJoinsThemUnlessItOutweighsThem) {
    // " fox " weighs five: as much as the changes on either side, or more.
    EXPECT_EQ(Compare("reddish fox owlet.", "pinkish fox kites.").markup,
              "[-reddish fox owlet-][+pinkish fox kites+].");
    EXPECT_EQ(Compare("reddi fox owlets.", "pinky fox kittens.").markup,
              "[-reddi fox owlets-][+pinky fox kittens+].");
    EXPECT_EQ(Compare("reddish fox owls.", "pinkish fox cats.").markup,
              "[-reddish-][+pinkish+] fox [-owls-][+cats+].");
    EXPECT_EQ(Compare("redd fox owlets.", "pink fox kittens.").markup,
              "[-redd-][+pink+] fox [-owlets-][+kittens+].");
    // The larger side of a change counts, whichever it is.
    EXPECT_EQ(Compare("reddish fox owlet.", "pinkish fox ab.").markup,
              "[-reddish fox owlet-][+pinkish fox ab+].");
}

// Punctuation stands apart from the words it opens or closes, in every script, and so does a
// control character: a changed word is marked without it.
TEST(Phrases, PunctuationStandsApartFromItsWords) {
    EXPECT_EQ(Compare("¿Qué pasa?", "¿Quién pasa?").markup, "¿[-Qué-][+Quién+] pasa?");
    EXPECT_EQ(Compare("«Bonjour» dit-il.", "«Bonsoir» dit-il.").markup,
              "«[-Bonjour-][+Bonsoir+]» dit-il.");
    EXPECT_EQ(Compare("Costs £12.", "Costs €12.").markup, "Costs [-£-][+€+]12.");
    // ASCII's last character, a control one, is no letter either.
    EXPECT_EQ(Compare("Code A\x7F"
                      "B here.",
                      "Code A\x7F"
                      "C here.")
                  .markup,
              "Code A\x7F[-B-][+C+] here.");
}

// Latin-1's letters, superscript digits and fractions belong to the words they stand in: a
// changed one marks its word, as any other letter would.
TEST(Phrases, LatinOnesLettersAndFiguresArePartOfTheirWords) {
    const struct {
        const char *original, *revised, *markup;
    } cases[] = {
        {"See 12 cm² here.", "See 12 mm² here.", "See 12 [-cm²-][+mm²+] here."},
        {"See 12 cm³ here.", "See 12 mm³ here.", "See 12 [-cm³-][+mm³+] here."},
        {"See 5 µs here.", "See 5 µm here.", "See 5 [-µs-][+µm+] here."},
        {"See la 1ª here.", "See la 2ª here.", "See la [-1ª-][+2ª+] here."},
        {"See el 1º here.", "See el 2º here.", "See el [-1º-][+2º+] here."},
        {"See x¹ here.", "See y¹ here.", "See [-x¹-][+y¹+] here."},
        {"See 1¼ here.", "See 2¼ here.", "See [-1¼-][+2¼+] here."},
        {"See 1½ here.", "See 2½ here.", "See [-1½-][+2½+] here."},
        {"See 1¾ here.", "See 2¾ here.", "See [-1¾-][+2¾+] here."},
    };
    for (const auto& c : cases) EXPECT_EQ(Compare(c.original, c.revised).markup, c.markup);
}
