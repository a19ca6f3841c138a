#include "support/SettingPairs.h"

#include <algorithm>

#include "support/ReadText.h"
#include "support/ResultCheck.h"

using namespace docx;
using redline::ChangeCounts;
using redline::CompareOptions;

namespace {

bool operator==(const ChangeCounts& a, const ChangeCounts& b) {
    return a.insertions == b.insertions && a.deletions == b.deletions && a.moves == b.moves &&
           a.formatting == b.formatting;
}

std::string Shown(const ChangeCounts& c) {
    return std::to_string(c.insertions) + " ins, " + std::to_string(c.deletions) + " del, " +
           std::to_string(c.moves) + " moves, " + std::to_string(c.formatting) + " formatting";
}

const std::string kSame = Text("A paragraph that both documents share, word for word.");
const std::string kB = Text("The second paragraph has words of its own.");
const std::string kC = Text("A third paragraph follows the second one.");
const std::string kD = Text("The fourth paragraph is short and plain.");

// A table with its grid and widths, as word processors write them: the older format keeps such
// a table's structure through a round trip.
std::string GriddedTable(const std::vector<std::vector<std::string>>& rows) {
    std::string table =
        "<w:tbl><w:tblPr><w:tblW w:w=\"8000\" w:type=\"dxa\"/></w:tblPr><w:tblGrid>";
    const std::string width = std::to_string(8000 / rows.front().size());
    for (std::size_t c = 0; c < rows.front().size(); ++c)
        table += "<w:gridCol w:w=\"" + width + "\"/>";
    table += "</w:tblGrid>";
    for (const auto& row : rows) {
        table += "<w:tr>";
        for (const std::string& cell : row) {
            table += "<w:tc><w:tcPr><w:tcW w:w=\"" + width + "\" w:type=\"dxa\"/></w:tcPr>" +
                     Text(cell) + "</w:tc>";
        }
        table += "</w:tr>";
    }
    return table + "</w:tbl>";
}

}  // namespace

std::vector<Respect> Respects() {
    return {
        {"case", kSame + Text("The Colour of Money."), kSame + Text("The colour of money.")},
        {"whitespace", kSame + P(R("Two  spaces") + "<w:r><w:tab/></w:r>" + R("and a tab.")),
         kSame + P(R(" Two spaces and\u00a0a tab. "))},
        {"formatting", kSame + P(R("Make ") + R("this") + R(" bold.")),
         kSame + P(R("Make ") + R("this", "<w:b/>") + R(" bold."))},
        {"moves", kSame + kB + kC + kD, kSame + kC + kD + kB},
        {"characters", kSame + Text("The colour of money."), kSame + Text("The color of money.")},
        {"fields", kSame + P(R("Printed ") + Field("DATE", "1 May")),
         kSame + P(R("Printed ") + Field("PRINTDATE", "2 May"))},
        {"tables", kSame + GriddedTable({{"Name", "Town"}, {"Ada", "Paris"}}) + kSame,
         kSame + GriddedTable({{"Name", "Town", "Ada", "Paris"}}) + kSame},
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

std::vector<Setting> Settings() {
    return {
        {"case", [](CompareOptions& o) { o.ignoreCase = true; }, {}},
        {"whitespace", [](CompareOptions& o) { o.ignoreWhitespace = true; }, {}},
        // The tables' pair differs in its columns too, a change of the table's formatting.
        {"formatting", [](CompareOptions& o) { o.formatting = false; }, {}, nullptr, {"tables"}},
        {"moves", [](CompareOptions& o) { o.moves = false; }, {1, 1, 0, 0}},
        {"characters",
         [](CompareOptions& o) { o.characterLevel = true; },
         {0, 1, 0, 0},
         "u",
         // The notes' pairs change "An" to "A": a changed character too.
         {"case", "whitespace", "footnotes", "endnotes"}},
        {"fields", [](CompareOptions& o) { o.skip.fields = true; }, {}},
        {"tables", [](CompareOptions& o) { o.skip.tables = true; }, {}},
        {"headers", [](CompareOptions& o) { o.skip.headers = true; }, {}},
        {"footers", [](CompareOptions& o) { o.skip.footers = true; }, {}},
        {"footnotes", [](CompareOptions& o) { o.skip.footnotes = true; }, {}},
        {"endnotes", [](CompareOptions& o) { o.skip.endnotes = true; }, {}},
        {"textboxes", [](CompareOptions& o) { o.skip.textBoxes = true; }, {}},
    };
}

std::string SettingsFailures(const std::string& a, const std::string& b, const std::string& result,
                             const std::string& name) {
    std::string failures;
    auto expect = [&](bool holds, const std::string& what) {
        if (!holds) failures += what + "\n";
    };
    auto text = [](const std::string& path, redline::Reading reading) {
        return redline::ReadText(path, reading);
    };
    const ChangeCounts plain = redline::Count(CheckedCompare(a, b, result));
    expect(!(plain == ChangeCounts{}), name + ": the pair does not differ by default");
    expect(text(result, redline::Reading::RejectAll) == text(a, redline::Reading::AcceptAll),
           name + ": rejecting all does not give the original");
    for (const Setting& setting : Settings()) {
        CompareOptions options;
        setting.set(options);
        const auto changes = CheckedCompare(a, b, result, options);
        const bool own = name == setting.respect;
        const std::string where =
            std::string("setting ") + setting.respect + " on the pair that differs in " + name;
        const ChangeCounts counts = redline::Count(changes);
        const bool concerns =
            std::find(setting.also.begin(), setting.also.end(), name) != setting.also.end();
        const ChangeCounts wanted = own ? setting.counts : plain;
        if (!concerns) {
            expect(counts == wanted, where + ": " + Shown(counts) + ", not " + Shown(wanted));
        }
        if (own && setting.firstText && !changes.empty()) {
            expect(changes.front().text == setting.firstText,
                   where + ": the first change is \"" + changes.front().text + "\"");
        }
        expect(text(result, redline::Reading::AcceptAll) == text(b, redline::Reading::AcceptAll),
               where + ": accepting all does not give the revised");
        if (own) {
            // Rejecting all gives the original but for what the setting leaves out.
            const bool leavesOut = setting.counts == ChangeCounts{};
            expect(text(result, redline::Reading::RejectAll) ==
                       text(leavesOut ? b : a, redline::Reading::AcceptAll),
                   where + ": rejecting all gives neither side");
        }
    }
    return failures;
}
