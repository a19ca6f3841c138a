// The Linux engine, a module of ours loaded at run time so that the program starts, and says
// what to install, on a machine without LibreOffice: the host that answers "Word.Application",
// and comparison sessions for the command line. No UNO here.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "automation/Host.h"
#include "office/loader/ComparisonSession.h"

namespace office {

class OfficeEngine {
  public:
    virtual ~OfficeEngine() = default;
    virtual std::unique_ptr<automation::Host> makeHost() = 0;
    virtual std::unique_ptr<ComparisonSession> startSession(const SessionOptions& options) = 0;
};

inline constexpr const char* kEngineModuleFile = "libquorvane-office.so";
// The module's one exported function, answering its engine.
inline constexpr const char* kEngineEntry = "QuorvaneOfficeEngine";

// The folder of the running program, where the engine module sits beside it.
std::string ProgramFolder();

// The engine module in `folder`, loaded at the first call and kept for the life of the program.
// Raises automation::Error saying what is missing when it cannot be loaded.
OfficeEngine& LoadOfficeEngine(const std::string& folder);

// Answers "Word.Application" through the engine in `folder`, loaded at the first creation. No
// Word ever runs here, so the running-object lookup always fails, without loading anything.
class EngineHost : public automation::Host {
  public:
    explicit EngineHost(std::string folder) : folder_(std::move(folder)) {}

    automation::Object create(const std::string& progId) override;
    automation::Object getActive(const std::string& progId) override;

  private:
    std::string folder_;
    std::mutex mutex_;
    std::unique_ptr<automation::Host> host_;
};

}  // namespace office
