// The start-up check that the word processor can be started at all.
#pragma once

#include <string>

#include "app/SystemServices.h"
#include "app/errors/Prompts.h"
#include "automation/Host.h"

// The exit code of a program that ended because no word processor could be started.
inline constexpr int kNoWordExitCode = 1;

// The message shown when no word processor could be made: five paragraphs, and where Word's
// place is taken by a stand-in (`standInFailure` not empty) a sixth that says why it failed.
std::string WordNotCreatedMessage(const std::string& standInFailure = {});

// Makes a word processor and tells it to quit at once, ignoring every failure. When none can be
// made, shows the message and ends the program when the user has closed it.
void CheckWordInstalled(automation::Host& host, Prompts& prompts, ProgramEnd& end,
                        bool wordIsStandIn);
