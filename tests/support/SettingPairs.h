// Pairs of documents that differ in one respect each (case, white space, formatting, a move, a
// changed word, a field, a table's structure, a header, a footer, a note, a text box), and the
// comparison settings, each with what it makes of the pair of its own respect: for checking
// that a setting changes what it names and nothing else, whatever format the pair comes in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "redline/Changes.h"
#include "redline/Compare.h"
#include "support/Docx.h"

struct Respect {
    const char* name;
    std::string original, revised;
    DocxParts partsA = {}, partsB = {};
};

struct Setting {
    const char* respect;  // the pair it concerns
    std::function<void(redline::CompareOptions&)> set;
    // What it makes of that pair: the counts, and the text of the first change when given.
    redline::ChangeCounts counts;
    const char* firstText = nullptr;
    // Other pairs whose changes it also concerns: a changed letter's case is a changed character.
    std::vector<std::string> also = {};
};

std::vector<Respect> Respects();
std::vector<Setting> Settings();

// Compares the pair `a`, `b` (of respect `name`) by default and under every setting into
// `result`; answers what went against the table, or "" when all held.
std::string SettingsFailures(const std::string& a, const std::string& b, const std::string& result,
                             const std::string& name);
