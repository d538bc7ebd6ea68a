// Decoded tool output: one dynamic value type for JSON (system_profiler) and property
// lists (ioreg), with the kind tests the collectors need, and the lenient integer
// conversions.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvane {

class Value {
  public:
    using Array = std::vector<Value>;
    using Object = std::map<std::string, Value, std::less<>>;
    // Raw bytes (a property-list <data>).
    struct Data {
        std::vector<std::uint8_t> bytes;
        bool operator==(const Data&) const = default;
    };
    // A property-list <date>, seconds since 2001-01-01 as the format stores it.
    struct Date {
        double seconds = 0;
        bool operator==(const Date&) const = default;
    };

    Value() = default;  // null
    Value(std::nullptr_t) {}
    Value(bool b) : v_(b) {}
    Value(int i) : v_(static_cast<std::int64_t>(i)) {}
    Value(std::int64_t i) : v_(i) {}
    Value(double d) : v_(d) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(Data d) : v_(std::move(d)) {}
    Value(Date d) : v_(d) {}
    Value(Array a) : v_(std::move(a)) {}
    Value(Object o) : v_(std::move(o)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isBool() const { return std::holds_alternative<bool>(v_); }
    bool isInt() const { return std::holds_alternative<std::int64_t>(v_); }
    bool isReal() const { return std::holds_alternative<double>(v_); }
    // A number as the platform decoders give it: integers, reals and booleans.
    bool isNumber() const { return isBool() || isInt() || isReal(); }
    bool isString() const { return std::holds_alternative<std::string>(v_); }
    bool isArray() const { return std::holds_alternative<Array>(v_); }
    bool isObject() const { return std::holds_alternative<Object>(v_); }
    // An array whose every element is an object (an empty array qualifies).
    bool isArrayOfObjects() const;

    const bool* asBool() const { return std::get_if<bool>(&v_); }
    const std::int64_t* asInt() const { return std::get_if<std::int64_t>(&v_); }
    const double* asReal() const { return std::get_if<double>(&v_); }
    const std::string* asString() const { return std::get_if<std::string>(&v_); }
    const Array* asArray() const { return std::get_if<Array>(&v_); }
    const Object* asObject() const { return std::get_if<Object>(&v_); }
    const Data* asData() const { return std::get_if<Data>(&v_); }
    const Date* asDate() const { return std::get_if<Date>(&v_); }

    // Member of an object; nullptr when this is not an object or the key is absent.
    const Value* get(std::string_view key) const;
    // Member as text; nullptr when absent or not text.
    const std::string* getString(std::string_view key) const;
    // Member as an object; nullptr when absent or not an object.
    const Value* getObject(std::string_view key) const;

    bool operator==(const Value&) const = default;

  private:
    std::variant<std::monostate, bool, std::int64_t, double, std::string, Data, Date, Array, Object>
        v_;
};

// JSON as system_profiler prints it. Only an object at the top level is data; anything
// else (empty input, malformed text, a bare array or scalar) gives nothing.
std::optional<Value> decodeJsonObject(std::span<const std::uint8_t> bytes);
// Any well-formed JSON document (used for capture files).
std::optional<Value> decodeJson(std::span<const std::uint8_t> bytes);
// A property list in XML or binary form; nothing when it does not decode.
std::optional<Value> decodePlist(std::span<const std::uint8_t> bytes);

// The first element of `root[key]` when that is a non-empty array of objects, else nullptr.
const Value* firstItem(const std::optional<Value>& root, std::string_view key);
// `root[key]` when it is an array of objects (possibly empty), else nullptr.
const Value::Array* arrayOfObjects(const std::optional<Value>& root, std::string_view key);

// Strict decimal integer: optional single sign, then ASCII digits only, no overflow.
std::optional<std::int64_t> parseDecimal(std::string_view text);

// Lenient integer conversion: absent 0; numbers truncated toward zero (booleans 1 or 0);
// text by the strict decimal parse (0 when it is not a number); anything else 0.
std::int64_t intOf(const Value* v);
std::int64_t int64Of(const Value* v);

// A finite number (integer or real) as a double; the fallback for anything else.
double numberOr(const Value* v, double fallback);

// Truncated toward zero; beyond the 64-bit range it saturates, NaN is 0.
std::int64_t saturatingInt64(double d);
// Sums and negation that stop at the ends of the 64-bit range instead of overflowing.
std::int64_t saturatingAdd(std::int64_t a, std::int64_t b);
std::int64_t saturatingNegate(std::int64_t a);

}  // namespace orvane
