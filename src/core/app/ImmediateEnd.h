// The end of the program as the main window's closing and the failed start-up check need it:
// at once, with every window, after the settings store has written the values it still holds.
#pragma once

#include "app/SystemServices.h"
#include "app/settings/WriteBehindSettingsStore.h"

class ImmediateEnd : public ProgramEnd {
  public:
    explicit ImmediateEnd(WriteBehindSettingsStore& settings) : settings_(settings) {}
    [[noreturn]] void endNow(int exitCode) override;

  private:
    WriteBehindSettingsStore& settings_;
};
