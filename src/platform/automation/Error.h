// The one error type of the late-bound automation model: a failing call carries a description
// text, which is what the error report shows to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace automation {

class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& description) : std::runtime_error(description) {}
    std::string description() const { return what(); }
};

// Raised for any member call on a handle that holds no object.
inline constexpr const char* kObjectNotSet =
    "The object reference is not set: the object was never obtained or has been released.";

}  // namespace automation
