// The main window as its handlers see it, whatever draws it: the Qt window on Linux, the native
// one on Windows.
#pragma once

#include <string>

#include "look/Appearance.h"
#include "select/DocumentPickers.h"

class Form1View : public SkinnedWindow {
  public:
    virtual PathBox& Text1() = 0;
    virtual PathBox& Text2() = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Replaces the designed blank icon with the application's own.
    virtual void showApplicationIcon() = 0;
    // The picture the window shows whenever its pointer shape is the custom one.
    virtual void setCustomCursor(const std::string& path, const CursorImage& image) = 0;
    virtual int pointerShape() const = 0;
    virtual void setPointerShape(int shape) = 0;
};
