// Drives the word processor through its automation interface: the comparison itself and the
// check for a copy that the user already has running.
#pragma once

#include <string>

#include "app/errors/Prompts.h"
#include "automation/Host.h"

inline constexpr const char* kWordProgId = "Word.Application";
// The location text ends with the space that the error report runs on into "at line ".
inline constexpr const char* kCompareDocFilesLocation =
    "in Vantrel2021/08/31.Word1.CompareDocFiles ";
inline constexpr const char* kWordMayBeOpenQuestion =
    "Word may be open. It is recommended that you close Word first. Use Ctrl+Alt+Del > Task "
    "Manager > WINWORD.EXE if necessary.\r\n\r\nWould you like to proceed anyway?";

class Word1 {
  public:
    Word1(automation::Host& host, Prompts& prompts) : host_(host), prompts_(prompts) {}

    // Has a new word processor instance merge `second` into `first`, the result in a new
    // document left open and visible. Reports its own failures; never raises.
    void CompareDocFiles(std::string first, std::string second);

    // False when the comparison may go ahead; true when the user declined because a word
    // processor is already running. Traps nothing: a failure belongs to the Compare command's
    // step that called it, which reports it under its own line number.
    bool ConfirmWordClosed();

    // Whether a running "Word.Application" answers with the name "Microsoft Word". Any failure
    // answers false.
    bool IsWordRunning();

  private:
    automation::Host& host_;
    Prompts& prompts_;
};
