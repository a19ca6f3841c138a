// The common open-file dialog of Windows, set up as the browse buttons ask.
#pragma once

#include <windows.h>

#include "select/OpenFileDialog.h"

class Win32OpenFileDialog : public OpenFileDialog {
  public:
    void setOwner(HWND owner) { owner_ = owner; }

    void setFileName(const std::string& name) override { fileName_ = name; }
    std::string fileName() const override { return fileName_; }
    void setFlags(std::int32_t flags) override { flags_ = flags; }
    void setDialogTitle(const std::string& title) override { title_ = title; }
    void setFilter(const std::string& filter) override { filter_ = filter; }
    void ShowOpen() override;

    // "Description|pattern|..." as the dialog takes it: parts ended by NULs, then one more.
    static std::wstring FilterText(const std::string& filter);

  private:
    HWND owner_ = nullptr;
    std::string fileName_, title_, filter_;
    std::int32_t flags_ = 0;
};
