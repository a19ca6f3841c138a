// Each comparison setting over pairs of documents that differ in one respect each: a setting
// changes what the comparison says about the pair of its own respect, and nothing about the
// others; accepting every change gives the revised document whatever the setting.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "redline/Compare.h"
#include "redline/Resolve.h"
#include "support/Docx.h"
#include "support/Files.h"

namespace {

using namespace docx;
using redline::ChangeCounts;
using redline::CompareOptions;

struct Respect {
    const char* name;
    std::string original, revised;
    DocxParts partsA = {}, partsB = {};
};

const std::string kSame = Text("A paragraph that both documents share, word for word.");
const std::string kB = Text("The second paragraph has words of its own.");
const std::string kC = Text("A third paragraph follows the second one.");
const std::string kD = Text("The fourth paragraph is short and plain.");

std::vector<Respect> Respects() {
    return {
        {"case", kSame + Text("The Colour of Money."), kSame + Text("The colour of money.")},
        {"whitespace", kSame + P(R("Two  spaces") + "<w:r><w:tab/></w:r>" + R("and a tab.")),
         kSame + P(R("Two spaces and\u00a0a tab."))},
        {"formatting", kSame + P(R("Make ") + R("this") + R(" bold.")),
         kSame + P(R("Make ") + R("this", "<w:b/>") + R(" bold."))},
        {"moves", kSame + kB + kC + kD, kSame + kC + kD + kB},
        {"characters", kSame + Text("The colour of money."), kSame + Text("The color of money.")},
        {"fields", kSame + P(R("Printed ") + Field("DATE", "1 May")),
         kSame + P(R("Printed ") + Field("PRINTDATE", "2 May"))},
        {"tables", kSame + Table({{"Name", "Town"}, {"Ada", "Paris"}}),
         kSame + Table({{"Name", "Town", "Ada", "Paris"}})},
        {"headers", kSame, kSame, Header(Text("Draft edition")), Header(Text("Final edition"))},
        {"footers", kSame, kSame, Footer(Text("Page of the draft")),
         Footer(Text("Page of the final"))},
        {"footnotes", kSame + P(R("Noted") + NoteReference(1)),
         kSame + P(R("Noted") + NoteReference(1)), Notes({{1, Text("An old remark")}}),
         Notes({{1, Text("A new remark")}})},
        {"endnotes", kSame + P(R("Noted") + NoteReference(1, true)),
         kSame + P(R("Noted") + NoteReference(1, true)), Notes({{1, Text("An old remark")}}, true),
         Notes({{1, Text("A new remark")}}, true)},
        {"textboxes", kSame + P(R("Look: ") + TextBox(Text("Inside the box old words"))),
         kSame + P(R("Look: ") + TextBox(Text("Inside the box new words")))},
    };
}

struct Setting {
    const char* respect;  // the pair it concerns
    std::function<void(CompareOptions&)> set;
    // What it makes of that pair: the counts, and the text of the first change when given.
    ChangeCounts counts;
    const char* firstText = nullptr;
    // Other pairs whose changes it also concerns: a changed letter's case is a changed character.
    std::vector<std::string> also = {};
};

std::vector<Setting> Settings() {
    return {
        {"case", [](CompareOptions& o) { o.ignoreCase = true; }, {}},
        {"whitespace", [](CompareOptions& o) { o.ignoreWhitespace = true; }, {}},
        {"formatting", [](CompareOptions& o) { o.formatting = false; }, {}},
        {"moves", [](CompareOptions& o) { o.moves = false; }, {1, 1, 0, 0}},
        {"characters", [](CompareOptions& o) { o.characterLevel = true; }, {0, 1, 0, 0}, "u",
         {"case", "whitespace"}},
        {"fields", [](CompareOptions& o) { o.skip.fields = true; }, {}},
        {"tables", [](CompareOptions& o) { o.skip.tables = true; }, {}},
        {"headers", [](CompareOptions& o) { o.skip.headers = true; }, {}},
        {"footers", [](CompareOptions& o) { o.skip.footers = true; }, {}},
        {"footnotes", [](CompareOptions& o) { o.skip.footnotes = true; }, {}},
        {"endnotes", [](CompareOptions& o) { o.skip.endnotes = true; }, {}},
        {"textboxes", [](CompareOptions& o) { o.skip.textBoxes = true; }, {}},
    };
}

bool operator==(const ChangeCounts& a, const ChangeCounts& b) {
    return a.insertions == b.insertions && a.deletions == b.deletions && a.moves == b.moves &&
           a.formatting == b.formatting;
}

std::string Shown(const ChangeCounts& c) {
    return std::to_string(c.insertions) + " ins, " + std::to_string(c.deletions) + " del, " +
           std::to_string(c.moves) + " moves, " + std::to_string(c.formatting) + " formatting";
}

}  // namespace

TEST(Settings, EachChangesWhatItNamesOnItsOwnPairAndNothingOnTheOthers) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/r.docx";
    for (const Respect& respect : Respects()) {
        WriteDocx(a, respect.original, respect.partsA);
        WriteDocx(b, respect.revised, respect.partsB);
        const ChangeCounts plain = redline::Count(redline::CompareDocuments(a, b, result));
        EXPECT_NE(Shown(plain), Shown({})) << respect.name << ": the pair differs by default";
        EXPECT_EQ(redline::ReadText(result, redline::Reading::RejectAll),
                  redline::ReadText(a, redline::Reading::AcceptAll))
            << respect.name;
        for (const Setting& setting : Settings()) {
            CompareOptions options;
            setting.set(options);
            const auto changes = redline::CompareDocuments(a, b, result, options);
            const bool own = std::string(setting.respect) == respect.name;
            const ChangeCounts counts = redline::Count(changes);
            const bool concerns = std::find(setting.also.begin(), setting.also.end(),
                                            respect.name) != setting.also.end();
            if (!concerns) EXPECT_EQ(Shown(counts), Shown(own ? setting.counts : plain))
                << "setting " << setting.respect << " on the pair that differs in "
                << respect.name;
            if (own && setting.firstText && !changes.empty()) {
                EXPECT_EQ(changes.front().text, setting.firstText) << setting.respect;
            }
            EXPECT_EQ(redline::ReadText(result, redline::Reading::AcceptAll),
                      redline::ReadText(b, redline::Reading::AcceptAll))
                << "setting " << setting.respect << " on " << respect.name;
            if (own) {
                // Rejecting all gives the original but for what the setting leaves out.
                const bool leavesOut = setting.counts == ChangeCounts{};
                EXPECT_EQ(redline::ReadText(result, redline::Reading::RejectAll),
                          redline::ReadText(leavesOut ? b : a, redline::Reading::AcceptAll))
                    << setting.respect;
            }
        }
    }
}
