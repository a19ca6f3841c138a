// The two browse buttons beside the path boxes and the remembering of both paths.
#pragma once

#include <string>

#include "app/errors/Prompts.h"
#include "app/settings/SettingsStore.h"
#include "select/OpenFileDialog.h"

// The location text ends with the space that the error report runs on into "at line ".
inline constexpr const char* kPushButton4Location = "in Vantrel2021/08/31.Form1.PushButton4_Click ";
inline constexpr const char* kPushButton6Location = "in Vantrel2021/08/31.Form1.PushButton6_Click ";
inline constexpr const char* kFirstPathKey = "Excel File";     // holds Text1, a Word document
inline constexpr const char* kSecondPathKey = "Compare With";  // holds Text2
// Long file names, explorer style, read-only box shown and ticked; no must-exist check.
inline constexpr std::int32_t kOpenFileFlags = 0x280001;
inline constexpr const char* kOpenFileTitle = "Select Excel File";
inline constexpr const char* kOpenFileFilter = "All Excel Files (*.doc*)|*.doc*|";

// A path box as the handlers see it: assigning a different text runs its change handler.
class PathBox {
  public:
    virtual ~PathBox() = default;
    virtual std::string currentText() const = 0;
    virtual void assignText(const std::string& text) = 0;
};

// Shows the open-file dialog and puts the chosen path into `box` (PushButton4_Click and
// PushButton6_Click differ only in the box and the location their reports name).
void BrowseForDocument(OpenFileDialog& dialog, Prompts& prompts, const char* location,
                       PathBox& box);

// Stores every change of a path box at once under its key. A store that cannot be written is
// told to the user once, not at every keystroke, and the box keeps its text.
class RememberedPaths {
  public:
    RememberedPaths(SettingsStore& store, Prompts& prompts) : store_(store), prompts_(prompts) {}

    void Text1_Change(const std::string& text) { remember(kFirstPathKey, text); }
    void Text2_Change(const std::string& text) { remember(kSecondPathKey, text); }
    // A write that failed after the change handler had returned (the store writes behind).
    void storeFailed(const std::string& description);

  private:
    void remember(const char* key, const std::string& text);

    SettingsStore& store_;
    Prompts& prompts_;
    bool toldOfFailure_ = false;
};
