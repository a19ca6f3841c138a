// While it lives, a write that the settings store failed behind the window's back is told to the
// user on the window's own thread; once it has gone, no late failure can reach the window.
#pragma once

class Form1;
class WriteBehindSettingsStore;

class SettingsFailureRelay {
  public:
    SettingsFailureRelay(WriteBehindSettingsStore& store, Form1& form);
    ~SettingsFailureRelay();
    SettingsFailureRelay(const SettingsFailureRelay&) = delete;
    SettingsFailureRelay& operator=(const SettingsFailureRelay&) = delete;

  private:
    WriteBehindSettingsStore& store_;
};
