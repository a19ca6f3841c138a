// The main window for tests of its handlers: logs every change the handlers make, and runs the
// change handler when a box's text is assigned a different text, as the real boxes do.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/Form1View.h"

class ScriptedPathBox : public PathBox {
  public:
    std::string currentText() const override { return text_; }
    void assignText(const std::string& text) override;

    std::function<void()> onChange;

  private:
    std::string text_;
};

class ScriptedForm1View : public Form1View {
  public:
    PathBox& Text1() override { return text1; }
    PathBox& Text2() override { return text2; }
    void setCaption(const std::string& caption) override;
    void showApplicationIcon() override;
    void setCustomCursor(const std::string& path, const CursorImage& image) override;
    int pointerShape() const override { return pointer; }
    void setPointerShape(int shape) override;
    void paintButtonFace() override;
    void applySkin(const Skin& skin) override;

    ScriptedPathBox text1, text2;
    int pointer = 0;
    // Each change as a line: "caption ...", "icon", "cursor WxH at X,Y", "pointer 99",
    // "button face", "skin".
    std::vector<std::string> changes;
    // Lines whose change raises an error instead.
    std::vector<std::string> failing;

  private:
    void record(const std::string& line);
};
