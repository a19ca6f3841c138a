// Word as the command line's converter on Windows: a document in any format Word reads stored
// as Word 2007+, and a Word 2007+ document stored in another format. One hidden instance of its
// own, showing no alerts and never a password prompt, which quits when the converter goes.
#pragma once

#include <optional>
#include <string>

#include "automation/Host.h"

class WordConversions {
  public:
    // Starts Word; raises automation::Error when it cannot be started.
    explicit WordConversions(automation::Host& host);
    ~WordConversions();
    WordConversions(const WordConversions&) = delete;
    WordConversions& operator=(const WordConversions&) = delete;

    // Stores the document at `path` as a Word 2007+ document at `docxPath`.
    void toDocx(const std::string& path, const std::string& docxPath);
    // Stores the Word 2007+ document at `docxPath` at `path`, in the format its extension
    // names (.docx, .doc, .rtf, .odt, .pdf).
    void fromDocx(const std::string& docxPath, const std::string& path);

    // Word's file format for a result's extension (lower case, with its dot), if Word writes it.
    static std::optional<int> FormatFor(const std::string& extension);

  private:
    void saveAs(const std::string& path, const std::string& target, int format);

    automation::Object word_;
};
