// The shared routines of start-up: the application title and the maker's home page by chance.
#pragma once

#include <string>

#include "app/SystemServices.h"
#include "app/errors/Prompts.h"

// The longest application title; a longer product name loses words from its end.
inline constexpr std::size_t kLongestApplicationTitle = 40;

// The product name without its last word, cut again while it is longer than 40 characters; the
// first cut is made whatever the length. Raises std::invalid_argument when there is no blank
// left to cut at.
std::string CutApplicationTitle(const std::string& productName);

// Sets the application title that every message without a caption of its own carries.
void SetApplicationTitle(Prompts& prompts);

// Seeds the random source from the time of day, draws n from 1 to 100, and opens the maker's
// home page for n = 7 only. Traps nothing.
void OpenHomePageByChance(Clock& clock, RandomSource& random, Shell& shell);

// Whether the program runs from its build tree rather than from an installation: the build
// tree's application folder lies beside the build's CMakeCache.txt. True also when that cannot
// be told.
bool IsInDevelopmentEnvironment(const std::string& applicationFolder);

// The message of the "Help" button.
std::string ContactMessage();
