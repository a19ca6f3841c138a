// The main window built with scripted services and the real Qt message boxes.
#pragma once

#include <gtest/gtest.h>

#include "qt/Form1.h"
#include "qt/QtPrompts.h"
#include "support/ScriptedServices.h"

class Form1Fixture : public ::testing::Test {
  protected:
    template <typename T>
    T* control(const char* name) {
        T* widget = form.findChild<T*>(name);
        if (!widget) ADD_FAILURE() << "no control " << name;
        return widget;
    }

    ScriptedPlatform scripted;
    QtPrompts prompts;
    ScriptedHost& host = scripted.host;
    MemorySettingsStore& settings = scripted.settings;
    ScriptedOpenFileDialog& dialog = scripted.dialog;
    RecordingEnd& end = scripted.end;
    Platform platform = scripted.platformWith(prompts, settings);
    Form1 form{platform};
};
