// A handle to a late-bound automation object: properties and methods are looked up by name at
// call time. An empty handle raises automation::Error on every member access.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Variant.h"

namespace automation {

// What a backend (COM, the office stand-in, a test script) implements for one object.
// Member and argument names are matched without regard to case.
class Dispatch {
  public:
    virtual ~Dispatch() = default;
    virtual Variant get(const std::string& name) = 0;
    virtual void put(const std::string& name, const Variant& value) = 0;
    virtual Variant call(const std::string& name, const std::vector<Variant>& positional,
                         const std::vector<NamedArgument>& named) = 0;
    virtual Variant defaultValue() = 0;
};

class Object {
  public:
    Object() = default;
    explicit Object(std::shared_ptr<Dispatch> dispatch) : dispatch_(std::move(dispatch)) {}

    bool isSet() const { return dispatch_ != nullptr; }

    Variant get(const std::string& name) const;
    void put(const std::string& name, const Variant& value) const;
    Variant call(const std::string& name, const std::vector<Variant>& positional = {},
                 const std::vector<NamedArgument>& named = {}) const;
    Variant defaultValue() const;

    const std::shared_ptr<Dispatch>& dispatch() const { return dispatch_; }

  private:
    Dispatch& target() const;
    std::shared_ptr<Dispatch> dispatch_;
};

// Case-insensitive comparison of member and argument names (ASCII, as automation names are).
bool sameName(const std::string& a, const std::string& b);

}  // namespace automation
