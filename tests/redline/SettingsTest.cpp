// Each comparison setting over pairs of documents that differ in one respect each: a setting
// changes what the comparison says about the pair of its own respect, and nothing about the
// others; accepting every change gives the revised document whatever the setting.
#include <gtest/gtest.h>

#include "support/Files.h"
#include "support/SettingPairs.h"

TEST(Settings, EachChangesWhatItNamesOnItsOwnPairAndNothingOnTheOthers) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/r.docx";
    for (const Respect& respect : Respects()) {
        WriteDocx(a, respect.original, respect.partsA);
        WriteDocx(b, respect.revised, respect.partsB);
        EXPECT_EQ(SettingsFailures(a, b, result, respect.name), "");
    }
}
