#include "automation/Variant.h"

#include "automation/Error.h"
#include "automation/Object.h"

namespace automation {

Variant Variant::int32(std::int32_t value) {
    Variant v;
    v.value_ = value;
    return v;
}

Variant Variant::boolean(bool value) {
    Variant v;
    v.value_ = BooleanValue{value ? kTrue : kFalse};
    return v;
}

Variant Variant::text(std::string value) {
    Variant v;
    v.value_ = std::move(value);
    return v;
}

Variant Variant::textByRef(std::string value) {
    Variant v = text(std::move(value));
    v.byRef_ = true;
    return v;
}

Variant Variant::object(const Object& value) {
    Variant v;
    if (value.isSet()) v.value_ = value.dispatch();
    return v;
}

Variant::Type Variant::type() const {
    switch (value_.index()) {
        case 1:
            return Type::Int32;
        case 2:
            return Type::Boolean;
        case 3:
            return Type::Text;
        case 4:
            return Type::Object;
        default:
            return Type::Empty;
    }
}

namespace {
[[noreturn]] void typeMismatch(const char* wanted) {
    throw Error(std::string("Type mismatch: the value is not ") + wanted + ".");
}
}  // namespace

std::int32_t Variant::toInt32() const {
    if (auto* v = std::get_if<std::int32_t>(&value_)) return *v;
    typeMismatch("a 32-bit integer");
}

bool Variant::toBool() const {
    return rawBoolean() != kFalse;
}

std::int16_t Variant::rawBoolean() const {
    if (auto* v = std::get_if<BooleanValue>(&value_)) return v->bits;
    typeMismatch("a Boolean");
}

const std::string& Variant::toText() const {
    if (auto* v = std::get_if<std::string>(&value_)) return *v;
    typeMismatch("text");
}

Object Variant::toObject() const {
    if (auto* v = std::get_if<std::shared_ptr<Dispatch>>(&value_)) return Object(*v);
    throw Error("Object required: the value is not an object.");
}

Variant Variant::get(const std::string& name) const {
    return toObject().get(name);
}

Variant Variant::call(const std::string& name, const std::vector<Variant>& positional,
                      const std::vector<NamedArgument>& named) const {
    return toObject().call(name, positional, named);
}

std::string Variant::describe() const {
    switch (type()) {
        case Type::Empty:
            return "Empty";
        case Type::Int32:
            return "Int32 " + std::to_string(toInt32());
        case Type::Boolean:
            return "Boolean " + std::to_string(rawBoolean());
        case Type::Text:
            return std::string(byRef_ ? "Text& " : "Text ") + '"' + toText() + '"';
        case Type::Object:
            return "Object";
    }
    return "?";
}

bool operator==(const Variant& a, const Variant& b) {
    return a.byRef_ == b.byRef_ && a.value_ == b.value_;
}

}  // namespace automation
