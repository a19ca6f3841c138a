// Handles the Qt window events that arrive within a given time, without keeping a processor
// busy: the event loop sleeps until an event or the time is up.
#pragma once

#include "app/SystemServices.h"

class QtEventPump : public EventPump {
  public:
    void handleEventsFor(double seconds) override;
};
