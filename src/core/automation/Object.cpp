#include "automation/Object.h"

#include <algorithm>

#include "automation/Error.h"

namespace automation {

Dispatch& Object::target() const {
    if (!dispatch_) throw Error(kObjectNotSet);
    return *dispatch_;
}

Variant Object::get(const std::string& name) const {
    return target().get(name);
}

void Object::put(const std::string& name, const Variant& value) const {
    target().put(name, value);
}

Variant Object::call(const std::string& name, const std::vector<Variant>& positional,
                     const std::vector<NamedArgument>& named) const {
    return target().call(name, positional, named);
}

Variant Object::defaultValue() const {
    return target().defaultValue();
}

bool sameName(const std::string& a, const std::string& b) {
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : char(c); };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace automation
