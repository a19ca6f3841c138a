// The automation host on Linux: "Word.Application" is answered by a private LibreOffice Writer
// instance. No Word ever runs here, so the running-object lookup always fails.
#pragma once

#include "platform/automation/Host.h"
#include "platform/office/WriterSession.h"

namespace office {

class OfficeHost : public automation::Host {
  public:
    // Without a display the office runs headless; with one, its windows can be shown.
    explicit OfficeHost(SessionOptions options = DefaultOptions()) : options_(std::move(options)) {}

    automation::Object create(const std::string& progId) override;
    automation::Object getActive(const std::string& progId) override;

    static SessionOptions DefaultOptions();

  private:
    SessionOptions options_;
};

}  // namespace office
