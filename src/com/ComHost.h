// The automation host on Windows: COM, with the apartment it needs for as long as it lives.
#pragma once

#include <memory>

#include "automation/Host.h"
#include "com/BusyServer.h"

namespace com {

class ComHost : public automation::Host {
  public:
    // `busyLimit`: how long a call that the server refuses as busy is made again.
    explicit ComHost(std::chrono::milliseconds busyLimit = kBusyServerLimit);
    // Every object made through the host must be released before it goes.
    ~ComHost() override;
    ComHost(const ComHost&) = delete;
    ComHost& operator=(const ComHost&) = delete;

    automation::Object create(const std::string& progId) override;
    automation::Object getActive(const std::string& progId) override;

  private:
    bool initialised_ = false;
    std::chrono::milliseconds busyLimit_;
    std::unique_ptr<BusyServerFilter> filter_;
};

}  // namespace com
