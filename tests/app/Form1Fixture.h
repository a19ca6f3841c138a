// The main window built with scripted services and the real Qt message boxes.
#pragma once

#include <gtest/gtest.h>

#include "app/Form1.h"
#include "platform/desktop/QtPrompts.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"
#include "support/ScriptedOpenFileDialog.h"

class Form1Fixture : public ::testing::Test {
  protected:
    template <typename T>
    T* control(const char* name) {
        T* widget = form.findChild<T*>(name);
        if (!widget) ADD_FAILURE() << "no control " << name;
        return widget;
    }

    ScriptedHost host;
    QtPrompts prompts;
    MemorySettingsStore settings;
    ScriptedOpenFileDialog dialog;
    Platform platform{host, prompts, settings, dialog};
    Form1 form{platform};
};
