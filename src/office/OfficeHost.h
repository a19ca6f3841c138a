// The automation host on Linux: "Word.Application" is answered by a private LibreOffice Writer
// instance, kept warm between comparisons. No Word ever runs here, so the running-object lookup
// always fails.
#pragma once

#include <memory>

#include "automation/Host.h"
#include "office/WarmOffice.h"

namespace office {

class OfficeHost : public automation::Host {
  public:
    // Without a display the office runs headless; with one, its windows can be shown.
    explicit OfficeHost(SessionOptions options = DefaultOptions());

    // Checks the installation at once and starts the office in the background; the object's
    // first call waits for it. A warm office kept from before is taken instead.
    automation::Object create(const std::string& progId) override;
    automation::Object getActive(const std::string& progId) override;

    static SessionOptions DefaultOptions();
    WarmOffice& warmOffice() { return *warm_; }

  private:
    SessionOptions options_;
    std::shared_ptr<WarmOffice> warm_;
};

}  // namespace office
