#include "CompareJob.h"
#include "Converter.h"
#include "office/loader/OfficeEngine.h"

const char* const kConverterName = "LibreOffice Writer";
const bool kConverterKeepsBlockControls = false;

namespace {

class WriterConverter : public Converter {
  public:
    explicit WriterConverter(std::unique_ptr<office::ComparisonSession> session)
        : session_(std::move(session)) {}

    void toDocx(const std::string& path, const std::string& docxPath) override {
        session_->convert(path, docxPath);
    }

    void fromDocx(const std::string& docxPath, const std::string& path) override {
        auto result = session_->open(docxPath);
        session_->store(result, path, ExportFilter(path));
        session_->close(result);
    }

  private:
    std::unique_ptr<office::ComparisonSession> session_;
};

}  // namespace

std::unique_ptr<Converter> StartConverter(const std::string& engineFolder) {
    // Headless, and the tracked changes' author is the engine's business: the office only
    // converts.
    office::SessionOptions options;
    options.headless = true;
    return std::make_unique<WriterConverter>(
        office::LoadOfficeEngine(engineFolder.empty() ? office::ProgramFolder() : engineFolder)
            .startSession(options));
}
