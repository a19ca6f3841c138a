// The automation host on a machine with no word processor to drive: every request fails with a
// plain explanation.
#pragma once

#include "platform/automation/Host.h"

class UnavailableWordHost : public automation::Host {
public:
    automation::Object create(const std::string& progId) override;
    automation::Object getActive(const std::string& progId) override;
};
