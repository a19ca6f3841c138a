// The one function that the engine module exports: its engine, built on LibreOffice over UNO.
#include "office/OfficeHost.h"
#include "office/WriterSession.h"
#include "office/loader/OfficeEngine.h"

namespace {

class WriterEngine : public office::OfficeEngine {
  public:
    std::unique_ptr<automation::Host> makeHost() override {
        return std::make_unique<office::OfficeHost>();
    }
    std::unique_ptr<office::ComparisonSession> startSession(
        const office::SessionOptions& options) override {
        return std::make_unique<office::WriterSession>(options);
    }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) office::OfficeEngine* QuorvaneOfficeEngine() {
    static WriterEngine engine;
    return &engine;
}
