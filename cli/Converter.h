// The office that turns documents in other formats into Word 2007+ for the engine, and the
// result into the format asked for: a private LibreOffice Writer on Linux, Word over COM on
// Windows. Started only for a job that needs it; every failure an automation::Error.
#pragma once

#include <memory>
#include <string>

class Converter {
  public:
    virtual ~Converter() = default;
    // Stores the document at `path` as a Word 2007+ document at `docxPath`, with every check
    // that opening it makes.
    virtual void toDocx(const std::string& path, const std::string& docxPath) = 0;
    // Stores the Word 2007+ document at `docxPath` at `path`, in the format its extension names.
    virtual void fromDocx(const std::string& docxPath, const std::string& path) = 0;
};

// Starts this platform's office; raises automation::Error saying what is missing. On Linux the
// office's engine module sits beside the program, or in `engineFolder` when one is given.
std::unique_ptr<Converter> StartConverter(const std::string& engineFolder = "");

// The office that converts, as the usage text names it.
extern const char* const kConverterName;

// Whether a result the office stores in another format keeps content controls that hold whole
// paragraphs; one that drops them gets their content in their place.
extern const bool kConverterKeepsBlockControls;
