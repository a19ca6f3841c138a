#include "splash/SplashShow.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "app/ApplicationFolder.h"
#include "app/Product.h"

namespace {
constexpr double kSecondsPerDay = 24 * 60 * 60;
constexpr double kSplashSeconds = 4;
constexpr double kDevelopmentSplashSeconds = 0.4;
}  // namespace

double NumberFromText(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double number = std::strtod(begin, &end);
    const bool onlyBlanksFollow =
        end != begin && std::all_of(static_cast<const char*>(end), begin + text.size(),
                                    [](char c) { return c == ' '; });
    if (!onlyBlanksFollow) {
        throw std::invalid_argument("Type mismatch: \"" + text + "\" is not a number.");
    }
    return number;
}

std::string FirstPlainFile(const std::string& folder,
                           const std::function<bool(const std::string&)>& hidden) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(folder), error)) {
        const std::u8string name = entry.path().filename().u8string();
        if (!name.empty() && name[0] == u8'.') continue;
        const std::u8string path = entry.path().u8string();
        if (hidden(std::string(path.begin(), path.end()))) continue;
        std::error_code kind;
        if (entry.is_regular_file(kind)) return std::string(name.begin(), name.end());
    }
    return {};
}

void WaitSeconds(double seconds, Clock& clock, EventPump& events) {
    const double start = clock.secondsSinceMidnight();
    for (;;) {
        const double now = clock.secondsSinceMidnight();
        if (now < start || now - start >= seconds) return;
        // Woken at the end of the wait, or at midnight, whichever comes first.
        events.handleEventsFor(std::min(seconds - (now - start), kSecondsPerDay - now));
    }
}

void SplashShow(SplashView& view, SettingsStore& settings, Clock& clock, EventPump& events,
                const std::string& applicationFolder, bool inDevelopment) {
    if (NumberFromText(settings.read(kMakerName, kProductName, kShowAgainKey, "0")) != 0) return;
    const std::string folder = BelowFolder(applicationFolder, kSplashFolder);
    const std::string name =
        FirstPlainFile(folder, [&view](const std::string& path) { return view.hidesFile(path); });
    if (name.empty()) return;
    const std::string picture = folder + name;
    if (!FileIsPresent(picture)) return;
    view.setCaption(kProductName);
    view.placeImage(0, 0);
    const TwipSize size = view.loadPicture(picture);
    const int band = size.height + kCheckBoxBand;
    view.setImageHeight(band);
    view.setSize(size.width, band);
    view.setCheckBoxTop(band - view.checkBoxHeight() - kCheckBoxGap);
    // A frame just inside the edges; the picture is painted over it.
    view.placeLine(1, 0, 0, 0, kLineReach);
    view.placeLine(2, 0, 0, kLineReach, 0);
    view.placeLine(3, size.width - kLineInset, 0, size.width - kLineInset, kLineReach);
    view.placeLine(4, 0, band - kLineInset, kLineReach, band - kLineInset);
    view.showCentred();
    WaitSeconds(inDevelopment ? kDevelopmentSplashSeconds : kSplashSeconds, clock, events);
    view.hide();
}

void Check1_Click(SettingsStore& settings, Prompts& prompts, bool ticked) {
    try {
        settings.write(kMakerName, kProductName, kShowAgainKey, ticked ? "1" : "0");
    } catch (const SettingsError& e) {
        prompts.inform(std::string("The choice could not be remembered for the next start. ") +
                       e.what());
    }
}
