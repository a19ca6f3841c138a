#include "office/OfficeHost.h"

#include <cstdlib>

#include "automation/Error.h"
#include "office/OfficeProcess.h"
#include "office/WordApplication.h"

namespace office {

SessionOptions OfficeHost::DefaultOptions() {
    SessionOptions options;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    options.headless = !((x11 && *x11) || (wayland && *wayland));
    return options;
}

OfficeHost::OfficeHost(SessionOptions options)
    : options_(std::move(options)), warm_(std::make_shared<WarmOffice>(options_)) {}

automation::Object OfficeHost::create(const std::string& progId) {
    if (!automation::sameName(progId, "Word.Application")) {
        throw automation::Error("Cannot create an object of the class \"" + progId +
                                "\": only \"Word.Application\" is available.");
    }
    CheckOfficeInstalled(options_.programDir);
    return MakeWordApplication(warm_->take(), warm_);
}

automation::Object OfficeHost::getActive(const std::string& progId) {
    throw automation::Error("No running \"" + progId + "\" was found.");
}

}  // namespace office
