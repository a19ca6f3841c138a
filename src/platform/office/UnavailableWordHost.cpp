#include "platform/office/UnavailableWordHost.h"

#include "platform/automation/Error.h"

automation::Object UnavailableWordHost::create(const std::string& progId) {
    throw automation::Error("No word processor is available on this computer to create \"" +
                            progId + "\".");
}

automation::Object UnavailableWordHost::getActive(const std::string& progId) {
    throw automation::Error("No running \"" + progId + "\" was found.");
}
