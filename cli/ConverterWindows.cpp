#include <filesystem>

#include "Converter.h"
#include "app/ApplicationFolder.h"
#include "automation/Error.h"
#include "com/ComHost.h"
#include "compare/WordConversions.h"
#include "redline/FilePath.h"

const char* const kConverterName = "Microsoft Word";
const bool kConverterKeepsBlockControls = true;

namespace {

class WordConverter : public Converter {
  public:
    // Word comes and goes with the host's COM apartment, on the thread that made it.
    WordConverter() : word_(host_) {}

    void toDocx(const std::string& path, const std::string& docxPath) override {
        word_.toDocx(ForWord(path), ForWord(docxPath));
    }
    void fromDocx(const std::string& docxPath, const std::string& path) override {
        word_.fromDocx(ForWord(docxPath), ForWord(path));
    }

  private:
    // Word runs in a process of its own, with a current folder of its own: it is given whole
    // paths, in Windows' spelling.
    static std::string ForWord(const std::string& path) {
        std::error_code error;
        const std::filesystem::path whole = std::filesystem::absolute(PathFromUtf8(path), error);
        return error ? path : redline::Utf8Path(whole.lexically_normal().make_preferred());
    }

    com::ComHost host_;
    WordConversions word_;
};

}  // namespace

std::unique_ptr<Converter> StartConverter(const std::string&) {
    try {
        return std::make_unique<WordConverter>();
    } catch (const automation::Error& e) {
        throw automation::Error(
            "Microsoft Word could not be started, and it is needed for documents that are not "
            ".docx (.doc, .rtf, .odt) and for a result in another format; .docx documents "
            "compare without it.",
            e.description());
    }
}
