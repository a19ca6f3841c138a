// The one error type of the late-bound automation model: a failing call carries a description
// text, which is what the error report shows to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace automation {

class Error : public std::runtime_error {
  public:
    // `detail`: what the component itself said, for a developer's eyes only (never the report).
    explicit Error(const std::string& description, std::string detail = {})
        : std::runtime_error(description), detail_(std::move(detail)) {}
    std::string description() const { return what(); }
    const std::string& detail() const { return detail_; }

  private:
    std::string detail_;
};

// Raised for any member call on a handle that holds no object.
inline constexpr const char* kObjectNotSet =
    "The object reference is not set: the object was never obtained or has been released.";

}  // namespace automation
