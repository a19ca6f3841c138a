// The desktop's shell on Qt: the user's browser and file manager, each handed its address as an
// argument, never through a command line.
#pragma once

#include "app/SystemServices.h"

class QtShell : public Shell {
  public:
    void openWebPage(const std::string& address) override;
    void openFolder(const std::string& folder) override;
};
