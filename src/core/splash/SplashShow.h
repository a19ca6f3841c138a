// The splash screen's behaviour: whether to show it, the picture from the "Splash" folder with
// the window fitted and framed around it, the wait, and the "Hide this at next startup" choice.
#pragma once

#include <functional>
#include <string>

#include "app/SystemServices.h"
#include "app/errors/Prompts.h"
#include "app/settings/SettingsStore.h"

inline constexpr const char* kShowAgainKey = "ShowAgain";
inline constexpr const char* kSplashFolder = "Splash/";
inline constexpr int kCheckBoxBand = 300;  // twips below the picture, for the check box
inline constexpr int kCheckBoxGap = 20;    // from the check box to the band's bottom
inline constexpr int kLineInset = 10;      // of the right and bottom lines
inline constexpr int kLineReach = 10000;   // the far end of every line; the window clips it

struct TwipSize {
    int width = 0, height = 0;
};

// The splash window as SplashShow sees it, in twips.
class SplashView {
  public:
    virtual ~SplashView() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void placeImage(int left, int top) = 0;
    // Loads the picture into the picture box, which takes the picture's size; answers that size.
    // Raises an error when the loader cannot read the file.
    virtual TwipSize loadPicture(const std::string& path) = 0;
    virtual void setImageHeight(int height) = 0;
    virtual void setSize(int width, int height) = 0;
    virtual int checkBoxHeight() const = 0;
    virtual void setCheckBoxTop(int top) = 0;
    // Line 1 to 4, from (x1, y1) to (x2, y2).
    virtual void placeLine(int line, int x1, int y1, int x2, int y2) = 0;
    // Shows the window, not modal and without an owner, centred on the screen.
    virtual void showCentred() = 0;
    // Hides the window; it stays loaded.
    virtual void hide() = 0;
    // Whether the desktop keeps the file at `path` out of its user's sight beyond a leading dot
    // (on Windows, the hidden and system marks).
    virtual bool hidesFile(const std::string& path) const = 0;
};

// Shows the splash for a few seconds unless the user chose to hide it. Raises what fails (a
// "ShowAgain" that is not a number, a picture that cannot be loaded): it traps nothing.
void SplashShow(SplashView& view, SettingsStore& settings, Clock& clock, EventPump& events,
                const std::string& applicationFolder, bool inDevelopment);

// Waits `seconds` while window events go on being handled; a wait that would run past midnight
// ends at midnight.
void WaitSeconds(double seconds, Clock& clock, EventPump& events);

// Remembers the state of "Hide this at next startup": "1" ticked, "0" not. A store that cannot
// be written is told to the user.
void Check1_Click(SettingsStore& settings, Prompts& prompts, bool ticked);

// The first plain file that a listing of `folder` gives, or "" when there is none; sub-folders,
// names starting with a dot and the files that `hidden` answers true for do not count.
std::string FirstPlainFile(const std::string& folder,
                           const std::function<bool(const std::string&)>& hidden);

// The number that a settings text holds; raises std::invalid_argument when it holds none.
double NumberFromText(const std::string& text);
