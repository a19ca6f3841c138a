#include <pwd.h>
#include <unistd.h>

#include "office/loader/ComparisonSession.h"

namespace office {

std::string DefaultAuthor() {
    if (const passwd* account = getpwuid(getuid())) {
        std::string full = account->pw_gecos ? account->pw_gecos : "";
        full = full.substr(0, full.find(','));
        if (!full.empty()) return full;
        if (account->pw_name && *account->pw_name) return account->pw_name;
    }
    return "Quorvane";
}

}  // namespace office
