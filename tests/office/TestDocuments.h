// Documents for the office tests, made by the tests themselves: HTML written here and turned
// into .docx and .doc by the office's own converter, plus every kind of bad input.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/Programs.h"

struct TestDocuments {
    // Makes every document below inside `folder` (which must exist). Slow: a few seconds.
    explicit TestDocuments(const std::string& folder);

    std::string folder;
    // The revised text changes one word, adds one paragraph and drops another: two insertions
    // and two deletions against the original.
    std::string originalDocx, revisedDocx, originalDoc, revisedDoc;
    // A revision that only adds: two insertions, no deletions.
    std::string additionsDocx;
    // About a hundred pages, which take the office a while to open.
    std::string largeDocx;
    // The original under a name with blanks, '#', '%', '?' and non-ASCII letters.
    std::string awkwardlyNamedDocx;
    std::string plainTextAsDocx, pictureAsDocx, damagedDocx, emptyDocx, missingDocx;
    std::string subfolder;
};

// Waits up to `limit` for `condition` to hold, looking again every few milliseconds; answers
// whether it did.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(30));

// The description of the automation::Error that `action` raises, or "(no failure)".
std::string FailureOf(const std::function<void()>& action);
