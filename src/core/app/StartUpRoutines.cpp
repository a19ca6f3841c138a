#include "app/StartUpRoutines.h"

#include <stdexcept>

#include "app/ApplicationFolder.h"
#include "app/Product.h"

std::string CutApplicationTitle(const std::string& productName) {
    std::string title = productName;
    do {
        const auto blank = title.rfind(' ');
        if (blank == std::string::npos) {
            throw std::invalid_argument("Invalid procedure call or argument: \"" + title +
                                        "\" has no blank to cut the application title at.");
        }
        title.resize(blank);
    } while (title.size() > kLongestApplicationTitle);
    return title;
}

void SetApplicationTitle(Prompts& prompts) {
    prompts.setApplicationTitle(CutApplicationTitle(kProductName));
}

void OpenHomePageByChance(Clock& clock, RandomSource& random, Shell& shell) {
    random.seed(clock.secondsSinceMidnight());
    const int n = static_cast<int>(random.next() * 100) + 1;
    if (n == 7) shell.openWebPage(kHomePage);
}

bool IsInDevelopmentEnvironment(const std::string& applicationFolder) {
    std::error_code error;
    const auto cache = PathFromUtf8(applicationFolder).parent_path() / "CMakeCache.txt";
    const bool built = std::filesystem::exists(cache, error);
    return built || error;
}

std::string ContactMessage() {
    return std::string("Questions? Please contact Team ") + kMakerName + " at " + kContactPage;
}
