// Results read as a strict XML 1.0 parser reads them (libxml2), sharing nothing with the engine's
// own reading: text that is not UTF-8, a character XML forbids, or a second root is a fault that
// a word processor would refuse to open.
#pragma once

#include <string>
#include <vector>

// What a strict parser finds wrong with the XML `bytes`, or "" when they are well-formed.
std::string StrictXmlProblem(const std::string& bytes);

// Every XML part of the zip file at `path` that is not well-formed, as "part: problem".
std::vector<std::string> NotWellFormedParts(const std::string& path);
