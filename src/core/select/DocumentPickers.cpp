#include "select/DocumentPickers.h"

#include "app/Product.h"
#include "app/errors/StepTrap.h"

void BrowseForDocument(OpenFileDialog& dialog, Prompts& prompts, const char* location,
                       PathBox& box) {
    StepTrap trap(prompts, location);
    trap.step(100, [&] { dialog.setFileName(""); });
    trap.step(102, [&] { dialog.setFlags(kOpenFileFlags); });
    trap.step(104, [&] { dialog.setDialogTitle(kOpenFileTitle); });
    trap.step(106, [&] { dialog.setFilter(kOpenFileFilter); });
    trap.step(108, [&] { dialog.ShowOpen(); });
    if (trap.returnIf(110, [&] { return dialog.fileName().empty(); })) return;
    trap.step(112, [&] { box.assignText(dialog.fileName()); });
}

void RememberedPaths::remember(const char* key, const std::string& text) {
    try {
        store_.write(kMakerName, kProductName, key, text);
        toldOfFailure_ = false;
    } catch (const SettingsError& e) {
        storeFailed(e.what());
    }
}

void RememberedPaths::storeFailed(const std::string& description) {
    if (toldOfFailure_) return;
    toldOfFailure_ = true;
    prompts_.inform("The document path could not be remembered for the next start. " + description +
                    " The path stays in its box and can still be compared.");
}
