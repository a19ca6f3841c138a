// Generated documents with one part damaged in each way a broken writer or a disk damages one,
// compared both ways with their sound twin: refused naming the damaged file, or compared into
// a result that a strict parser reads. Never a result that is not well-formed.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "redline/Compare.h"
#include "support/DocumentGenerator.h"
#include "support/Files.h"
#include "support/StrictXml.h"
#include "support/Zip.h"

namespace {

struct Damage {
    const char* name;
    std::function<std::string(std::string)> apply;
};

// Where to damage a part: after its first text of some length, else in its middle.
std::size_t Inside(const std::string& part) {
    const std::size_t text = part.find("<w:t>");
    return text != std::string::npos ? text + 5 : part.size() / 2;
}

std::string InsertAt(std::string part, const std::string& what) {
    return part.insert(Inside(part), what);
}

std::vector<Damage> Damages() {
    return {
        {"BytesThatAreNotUtf8", [](std::string p) { return InsertAt(p, "\xC3\x28\xFF"); }},
        {"AControlCharacter", [](std::string p) { return InsertAt(p, "\x07"); }},
        {"AForbiddenReference", [](std::string p) { return InsertAt(p, "&#x1F;"); }},
        {"ANonCharacter", [](std::string p) { return InsertAt(p, "\xEF\xBF\xBE"); }},
        {"CutShort", [](std::string p) { return p.substr(0, p.size() / 2); }},
        {"AnEntityOfItsOwn", [](std::string p) { return InsertAt(p, "&undeclared;"); }},
        {"AnElementDoubled",
         [](std::string p) {
             const std::size_t at = p.find("<w:p>");
             const std::size_t end = p.find("</w:p>", at);
             if (at == std::string::npos || end == std::string::npos) return p;
             return p.insert(end + 6, p.substr(at, end + 6 - at));
         }},
        {"AQuoteLost",
         [](std::string p) {
             const std::size_t quote = p.find('"', p.size() / 2);
             return quote == std::string::npos ? p : p.erase(quote, 1);
         }},
    };
}

}  // namespace

TEST(DamagedParts, AreRefusedNamingTheFileOrGiveAResultThatIsWellFormed) {
    TemporaryFolder folder;
    const std::string sound = folder.path() + "/sound.docx",
                      damaged = folder.path() + "/damaged.docx",
                      result = folder.path() + "/result.docx";
    int refused = 0, compared = 0;
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        generated::Random random(seed + 5252u);
        generated::WriteGenerated(generated::RandomDocument(random, 4), sound, random);
        const ZipEntries entries = ReadZip(sound);
        for (const auto& [name, bytes] : entries) {
            if (!name.ends_with(".xml") && !name.ends_with(".rels")) continue;
            for (const Damage& damage : Damages()) {
                ZipEntries copy = entries;
                PutEntry(copy, name, damage.apply(bytes));
                WriteZip(damaged, copy);
                for (const auto& [a, b] : {std::pair{sound, damaged}, std::pair{damaged, sound}}) {
                    const std::string what = std::string(damage.name) + " in " + name;
                    try {
                        redline::CompareDocuments(a, b, result);
                        ++compared;
                        EXPECT_EQ(NotWellFormedParts(result), std::vector<std::string>{}) << what;
                    } catch (const redline::UnreadableDocument& e) {
                        ++refused;
                        EXPECT_EQ(e.path(), damaged) << what << ": " << e.what();
                    }
                }
            }
        }
    }
    // Both outcomes are met: the damages are real, and a damaged part nobody reads is no refusal.
    EXPECT_GT(refused, 0);
    EXPECT_GT(compared, 0);
}
