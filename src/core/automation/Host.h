// The platform's automation layer: makes new objects from a ProgID and finds running ones.
#pragma once

#include <string>

#include "automation/Object.h"

namespace automation {

class Host {
  public:
    virtual ~Host() = default;
    // A new, separate instance of the class; raises automation::Error when it cannot be made.
    virtual Object create(const std::string& progId) = 0;
    // The instance already registered as running; raises automation::Error when there is none.
    virtual Object getActive(const std::string& progId) = 0;
};

}  // namespace automation
