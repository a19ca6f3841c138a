// Reading a marked-up document back: its text with every tracked change accepted, with every
// change rejected, or with the changes shown inline, as checks and reports need them.
#pragma once

#include <string>

namespace redline {

enum class Reading {
    AcceptAll,
    RejectAll,
    // Changes shown inline: [+inserted+] [-deleted-] [>moved here>] [<moved away<] and
    // [~reformatted~]; a paragraph mark that is inserted, deleted or moved shows as ¶+ ¶- ¶> ¶<.
    Markup,
};

// The text of the .docx at `path` as `reading` gives it: paragraphs end in "\n", table cells in
// "\t" and rows in "\n", a tab is "\t", a line break "\v", a picture or other object "[o]", a
// text box "[o]{its text}", a note "[^its text]" and a comment "[#author: its text]" where its
// reference stands (so a comment whose reference a reading takes away is not there); then each
// section's headers and footers that hold text, each under a line "[header default]" and the
// like. Read the tests' own way (support/TestPackage); throws std::runtime_error when it cannot
// be read.
std::string ReadText(const std::string& path, Reading reading);

}  // namespace redline
