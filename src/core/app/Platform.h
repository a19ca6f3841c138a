// The services the program reaches the outside world through, built once by the composition
// root (or by a test) and handed to the main window.
#pragma once

#include <string>

#include "app/SystemServices.h"
#include "app/errors/Prompts.h"
#include "app/settings/SettingsStore.h"
#include "automation/Host.h"
#include "select/OpenFileDialog.h"

struct Platform {
    automation::Host& host;
    Prompts& prompts;
    SettingsStore& settings;
    OpenFileDialog& commonDialog;
    Shell& shell;
    Clock& clock;
    RandomSource& random;
    ProgramEnd& end;
    // The folder of the program file, below which the optional files lie.
    std::string applicationFolder;
    // Whether "Word.Application" is answered by a stand-in (LibreOffice Writer) rather than Word.
    bool wordIsStandIn = false;
};
