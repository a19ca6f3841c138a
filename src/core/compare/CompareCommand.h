// The "Start Comparing" command: checks both paths, warns about a running word processor,
// runs the comparison and says when it is done.
#pragma once

#include <string>

#include "app/errors/Prompts.h"
#include "compare/Word1.h"

// The location text ends with the space that the error report runs on into "at line ".
inline constexpr const char* kPushButton5Location = "in Vantrel2021/08/31.Form1.PushButton5_Click ";
inline constexpr const char* kDoneMessage = "Done.";
inline constexpr const char* kPleaseInputMessage =
    "Please input word file to compare and to compare with.";

// The two path boxes as the command reads them.
class DocumentPaths {
  public:
    virtual ~DocumentPaths() = default;
    virtual std::string documentToCompare() const = 0;      // the text of Text1
    virtual std::string documentToCompareWith() const = 0;  // the text of Text2
};

class CompareCommand {
  public:
    CompareCommand(const DocumentPaths& paths, Word1& word1, Prompts& prompts)
        : paths_(paths), word1_(word1), prompts_(prompts) {}

    void PushButton5_Click();
    bool IsComparing() const { return isComparing_; }

  private:
    const DocumentPaths& paths_;
    Word1& word1_;
    Prompts& prompts_;
    bool isComparing_ = false;
};

// Removes leading and trailing space characters only; tabs and other blanks stay.
std::string TrimSpaces(const std::string& text);
