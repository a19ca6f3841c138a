// What quorvane-compare is asked to do: its command line parsed and checked, and the usage
// text that says what it takes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "redline/Compare.h"

struct Arguments {
    std::vector<std::string> documents;
    std::string output, author, batch, report;
    int jobs = 0;
    bool json = false, text = false;
    // --combine: documents[0] the original, the others reviewers' copies; reviewers[i] the name
    // --reviewer gave documents[i], or "".
    bool combine = false;
    std::vector<std::string> reviewers;
    redline::CompareOptions settings;
    std::string gitPath;  // the path git names, when run as git's diff driver
};

// Parses the command line (`argv[0]` the program); answers an exit code when the program should
// end at once: after --help or --version, or with the usage text after a mistake.
std::optional<int> ParseArguments(const std::vector<std::string>& argv, Arguments& args);

// Says what is wrong with the command line, then how to use it, on stderr; answers kUsage.
int Usage(const std::string& problem);

// The comparison's settings: those given, and the author's name (the account's when not given).
redline::CompareOptions Settings(const Arguments& args);

// The job the documents on the command line make: a comparison, or with --combine a combining.
struct CompareJob;
CompareJob JobOf(const Arguments& args);
