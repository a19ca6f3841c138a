// The automation host on Windows: COM, with the apartment it needs for as long as it lives.
#pragma once

#include "platform/automation/Host.h"

namespace com {

class ComHost : public automation::Host {
  public:
    ComHost();
    // Every object made through the host must be released before it goes.
    ~ComHost() override;
    ComHost(const ComHost&) = delete;
    ComHost& operator=(const ComHost&) = delete;

    automation::Object create(const std::string& progId) override;
    automation::Object getActive(const std::string& progId) override;

  private:
    bool initialised_ = false;
};

}  // namespace com
