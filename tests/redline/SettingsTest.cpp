// Each comparison setting over pairs of documents that differ in one respect each: a setting
// changes what the comparison says about the pair of its own respect, and nothing about the
// others; accepting every change gives the revised document whatever the setting.
#include <gtest/gtest.h>

#include "redline/Compare.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/ResultCheck.h"
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

// Blanks alike or case alike, what stands around them is still told apart by its formatting:
// a word made bold before spaces that only differ in number, and one after them.
TEST(Settings, WhatIsAlikeLeavesTheFormattingAroundItMarked) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/r.docx";
    using namespace docx;
    WriteDocx(a, P(R("Make this  and that bold.")));
    WriteDocx(b,
              P(R("Make ") + R("this", "<w:b/>") + R(" and ") + R("that", "<w:b/>") + R(" bold.")));
    redline::CompareOptions blanks;
    blanks.ignoreWhitespace = true;
    EXPECT_EQ(redline::Count(CheckedCompare(a, b, result, blanks)).formatting, 2);
}

// Blanks and tabs in a row are one blank where blanks are alike, however many and whichever.
TEST(Settings, BlanksAndTabsInARowAreOneBlankWhereBlanksAreAlike) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      result = folder.path() + "/r.docx";
    using namespace docx;
    WriteDocx(a, P(R("Name: ") + "<w:r><w:tab/></w:r>" + R(" Ada and  Grace.")));
    WriteDocx(b, P(R("Name: Ada and") + "<w:r><w:tab/></w:r>" + R("Grace.")));
    redline::CompareOptions blanks;
    blanks.ignoreWhitespace = true;
    EXPECT_TRUE(CheckedCompare(a, b, result, blanks).empty());
    EXPECT_FALSE(CheckedCompare(a, b, result).empty());
}
