// The Windows shell: the maker's home page through Explorer, minimised with focus, and a folder
// opened by its default action. Paths and addresses go as arguments, never into a command shell.
#pragma once

#include <windows.h>

#include "app/SystemServices.h"

class Win32Shell : public Shell {
  public:
    void setOwner(HWND owner) { owner_ = owner; }
    void openWebPage(const std::string& address) override;
    void openFolder(const std::string& folder) override;

  private:
    HWND owner_ = nullptr;
};
