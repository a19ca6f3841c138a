// The services the program reaches the outside world through, built once by the composition
// root (or by a test) and handed to the main window.
#pragma once

#include "app/errors/Prompts.h"
#include "app/settings/SettingsStore.h"
#include "platform/automation/Host.h"
#include "select/OpenFileDialog.h"

struct Platform {
    automation::Host& host;
    Prompts& prompts;
    SettingsStore& settings;
    OpenFileDialog& commonDialog;
};
