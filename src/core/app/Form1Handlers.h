// The main window's event procedures in plain C++: the start-up sequence, the five buttons, the
// path boxes' change handlers and the hover feedback. Each front-end draws the window and calls
// these; every decision lives here.
#pragma once

#include <string>

#include "app/Form1View.h"
#include "app/Platform.h"
#include "compare/CompareCommand.h"
#include "compare/Word1.h"
#include "select/DocumentPickers.h"

// The location texts end with the space that the error report runs on into "at line ".
inline constexpr const char* kFormLoadLocation = "in Vantrel2021/08/31.Form1.Form_Load ";
inline constexpr const char* kPushButton1Location = "in Vantrel2021/08/31.Form1.PushButton1_Click ";
inline constexpr const char* kPushButton2Location = "in Vantrel2021/08/31.Form1.PushButton2_Click ";
inline constexpr const char* kSampleDocument = "Samples/sample1.doc";
inline constexpr const char* kSamplesFolder = "Samples/";
inline constexpr const char* kOpenSamplesQuestion =
    "Would you like this software to open the folder where these sample files are stored (so "
    "that you can view them before working with them)?";

class Form1Handlers : private DocumentPaths {
  public:
    Form1Handlers(Platform& platform, Form1View& view);

    // The start-up sequence, run once while the window is still hidden.
    void Form_Load();
    // The main window closed, by any means: the program ends at once, whatever else is open.
    void Form_Unload();
    void PushButton1_Click();
    // Fills both boxes with the sample document and offers to open the folder that holds it.
    void PushButton2_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton6_Click();
    void Text1_Change();
    void Text2_Change();
    // Every mouse-move handler of the window, its buttons, boxes and frames.
    void MouseMove(HoverArea area);

    bool IsComparing() const { return compareCommand_.IsComparing(); }
    // Tells the user, once, that the settings store refused a path written in the background.
    void settingsWriteFailed(const std::string& description) {
        rememberedPaths_.storeFailed(description);
    }

  private:
    std::string documentToCompare() const override;
    std::string documentToCompareWith() const override;

    Platform& platform_;
    Form1View& view_;
    Word1 word1_;
    CompareCommand compareCommand_;
    RememberedPaths rememberedPaths_;
};
