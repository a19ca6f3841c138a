// Typed values that late binding carries between the program and an automation server:
// empty, 32-bit integer, automation Boolean, text (optionally by reference) and object.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace automation {

class Dispatch;
class Object;
struct NamedArgument;

class Variant {
  public:
    enum class Type { Empty, Int32, Boolean, Text, Object };

    // An automation Boolean is 16 bits with every bit set for true.
    static constexpr std::int16_t kTrue = -1;
    static constexpr std::int16_t kFalse = 0;

    Variant() = default;
    // Factories rather than converting constructors, so that a string literal can never
    // silently become a Boolean or an integer.
    static Variant int32(std::int32_t value);
    static Variant boolean(bool value);
    static Variant text(std::string value);
    static Variant textByRef(std::string value);
    static Variant object(const Object& value);

    Type type() const;
    bool isEmpty() const { return type() == Type::Empty; }
    bool isByRef() const { return byRef_; }

    // Conversions raise automation::Error when the value is of another type.
    std::int32_t toInt32() const;
    bool toBool() const;
    std::int16_t rawBoolean() const;
    const std::string& toText() const;
    Object toObject() const;

    // Member access straight through an object-valued result: word.get("Documents").call(...).
    Variant get(const std::string& name) const;
    Variant call(const std::string& name, const std::vector<Variant>& positional = {},
                 const std::vector<NamedArgument>& named = {}) const;

    // For test output and diagnostics: "Int32 2", "Text& \"a.doc\"", "Boolean -1".
    std::string describe() const;

    friend bool operator==(const Variant& a, const Variant& b);

  private:
    struct BooleanValue {
        std::int16_t bits;
        friend bool operator==(BooleanValue, BooleanValue) = default;
    };
    using Value = std::variant<std::monostate, std::int32_t, BooleanValue, std::string,
                               std::shared_ptr<Dispatch>>;
    Value value_;
    bool byRef_ = false;
};

struct NamedArgument {
    std::string name;
    Variant value;
};

}  // namespace automation
