// Handles the window messages that arrive within a given time, without keeping a processor busy:
// the thread sleeps until a message comes or the time is up.
#pragma once

#include "app/SystemServices.h"

class Win32EventPump : public EventPump {
  public:
    void handleEventsFor(double seconds) override;
};
