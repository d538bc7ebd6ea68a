#include "service/Values.h"

#include "service/PlistScan.h"
#include "service/Utf8.h"

#include <plist/plist.h>

#include <cmath>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <string_view>

namespace orvane {

namespace {

// Deeper documents than this are not tool output; refusing them keeps the recursive
// conversion below far from the stack limit.
constexpr int kMaxDepth = PlistLimits{}.maxDepth;

#if defined(ORVANE_PLIST_UNIX_DATE)
// 2001-01-01T00:00:00Z in seconds since 1970.
constexpr std::int64_t kMacEpoch = 978307200;
#endif
// More values than this in one document are not tool output either (a capture's largest file,
// live samples of a large machine, holds a few hundred thousand); each takes tens of bytes, so
// a document of millions of empty objects would take hundreds of megabytes.
constexpr std::size_t kMaxJsonValues = 1'000'000;

// Builds a Value straight from the JSON parser's events, without the parser's own document
// in between (half the memory and time for a large capture), and stops at nesting deeper
// than kMaxDepth or more than kMaxJsonValues values.
class JsonBuilder {
  public:
    using json = nlohmann::json;

    bool null() { return add(Value()); }
    bool boolean(bool b) { return add(Value(b)); }
    bool number_integer(json::number_integer_t i) { return add(Value(std::int64_t{i})); }
    // Above the signed range the platform's number object wraps the same way.
    bool number_unsigned(json::number_unsigned_t u) {
        return add(Value(static_cast<std::int64_t>(u)));
    }
    bool number_float(json::number_float_t d, const json::string_t&) { return add(Value(d)); }
    bool string(json::string_t& s) { return add(Value(std::move(s))); }
    bool binary(json::binary_t&) { return false; }
    bool start_object(std::size_t) { return open(true); }
    bool key(json::string_t& k) {
        frames_.back().key = std::move(k);
        return true;
    }
    bool end_object() { return close(); }
    bool start_array(std::size_t) { return open(false); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
        return false;
    }

    std::optional<Value> result;

  private:
    struct Frame {
        bool object = false;
        Value::Array array;
        Value::Object members;
        std::string key;
    };

    bool open(bool object) {
        if (frames_.size() >= static_cast<std::size_t>(kMaxDepth)) return false;
        frames_.emplace_back().object = object;
        return true;
    }
    bool close() {
        Frame f = std::move(frames_.back());
        frames_.pop_back();
        return add(f.object ? Value(std::move(f.members)) : Value(std::move(f.array)));
    }
    bool add(Value v) {
        if (++values_ > kMaxJsonValues) return false;
        if (frames_.empty()) {
            result = std::move(v);
        } else if (Frame& top = frames_.back(); top.object) {
            top.members.insert_or_assign(std::move(top.key), std::move(v));
        } else {
            top.array.push_back(std::move(v));
        }
        return true;
    }

    std::vector<Frame> frames_;
    std::size_t values_ = 0;
};

// The two forms the tools write, told apart by their first bytes: "bplist00" is binary; "<"
// after optional white space and a UTF-8 byte order mark is XML, handed over from that "<".
// Anything else (JSON or OpenStep text, which newer libraries would also take) is no data.
enum class PlistForm { none, binary, xml };

PlistForm plistForm(std::span<const std::uint8_t>& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("bplist00")) return PlistForm::binary;
    std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    start = text.find_first_not_of(" \t\r\n", start);
    if (start == std::string_view::npos || text[start] != '<') return PlistForm::none;
    bytes = bytes.subspan(start);
    return PlistForm::xml;
}

std::optional<Value> fromPlist(plist_t node, int depth) {
    if (!node || depth > kMaxDepth) return std::nullopt;
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            std::uint8_t b = 0;
            plist_get_bool_val(node, &b);
            return Value(b != 0);
        }
        case PLIST_UINT: {
            // Stored as 64 bits; negative values (an amperage) come back in two's complement.
            std::uint64_t u = 0;
            plist_get_uint_val(node, &u);
            return Value(static_cast<std::int64_t>(u));
        }
        case PLIST_UID: {
            std::uint64_t u = 0;
            plist_get_uid_val(node, &u);
            return Value(static_cast<std::int64_t>(u));
        }
        case PLIST_REAL: {
            double d = 0;
            plist_get_real_val(node, &d);
            return Value(d);
        }
        case PLIST_STRING: {
            // With its length: a string may hold U+0000, on which the copying getter asserts.
            std::uint64_t len = 0;
            const char* s = plist_get_string_ptr(node, &len);
            return Value(s ? std::string(s, len) : std::string());
        }
        case PLIST_KEY: {
            // Keys holding U+0000 are refused before parsing (plistWithinLimits).
            char* s = nullptr;
            plist_get_key_val(node, &s);
            std::string text = s ? s : "";
            std::free(s);
            return Value(std::move(text));
        }
        case PLIST_DATA: {
            char* d = nullptr;
            std::uint64_t len = 0;
            plist_get_data_val(node, &d, &len);
            Value::Data data;
            if (d) data.bytes.assign(d, d + len);
            std::free(d);
            return Value(std::move(data));
        }
        case PLIST_DATE: {
#if defined(ORVANE_PLIST_UNIX_DATE)
            // Newer libraries answer whole seconds since 1970 (their older getter is
            // deprecated); the value keeps the format's own epoch, 2001-01-01.
            std::int64_t unixSeconds = 0;
            plist_get_unix_date_val(node, &unixSeconds);
            return Value(Value::Date{static_cast<double>(unixSeconds - kMacEpoch)});
#else
            std::int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return Value(Value::Date{sec + usec / 1e6});
#endif
        }
        case PLIST_ARRAY: {
            Value::Array a;
            const std::uint32_t n = plist_array_get_size(node);
            a.reserve(n);
            for (std::uint32_t i = 0; i < n; ++i) {
                auto v = fromPlist(plist_array_get_item(node, i), depth + 1);
                if (!v) return std::nullopt;
                a.push_back(std::move(*v));
            }
            return Value(std::move(a));
        }
        case PLIST_DICT: {
            Value::Object o;
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            if (!it) return Value(std::move(o));
            std::optional<Value> result;
            for (;;) {
                char* key = nullptr;
                plist_t val = nullptr;
                plist_dict_next_item(node, it, &key, &val);
                if (!val) {
                    std::free(key);
                    result = Value(std::move(o));
                    break;
                }
                auto v = fromPlist(val, depth + 1);
                if (!v || !key) {
                    std::free(key);
                    break;
                }
                o.insert_or_assign(key, std::move(*v));
                std::free(key);
            }
            std::free(it);
            return result;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

bool Value::isArrayOfObjects() const {
    const Array* a = asArray();
    if (!a) return false;
    for (const auto& e : *a)
        if (!e.isObject()) return false;
    return true;
}

const Value* Value::get(std::string_view key) const {
    const Object* o = asObject();
    if (!o) return nullptr;
    auto it = o->find(key);
    return it == o->end() ? nullptr : &it->second;
}

const std::string* Value::getString(std::string_view key) const {
    const Value* v = get(key);
    return v ? v->asString() : nullptr;
}

const Value* Value::getObject(std::string_view key) const {
    const Value* v = get(key);
    return v && v->isObject() ? v : nullptr;
}

std::optional<Value> decodeJson(std::span<const std::uint8_t> bytes) {
    // As characters: the library's input adapters before 3.11.3 fail to compile with libc++ 19
    // for iterators over unsigned char.
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (JsonBuilder builder; nlohmann::json::sax_parse(text.begin(), text.end(), &builder))
        return std::move(builder.result);
    // One bad character in a name does not make the whole document unreadable.
    const auto mended = Utf8::mendJson(text);
    JsonBuilder builder;
    if (!mended || !nlohmann::json::sax_parse(mended->begin(), mended->end(), &builder))
        return std::nullopt;
    return std::move(builder.result);
}

std::optional<Value> decodeJsonObject(std::span<const std::uint8_t> bytes) {
    auto v = decodeJson(bytes);
    if (!v || !v->isObject()) return std::nullopt;
    return v;
}

std::optional<Value> decodePlist(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    const PlistForm form = plistForm(bytes);
    if (form == PlistForm::none) return std::nullopt;
    // The library recurses and asserts on what no tool writes: look at exactly what it will
    // be given before it parses.
    if (!plistWithinLimits(bytes)) return std::nullopt;
    plist_t root = nullptr;
    const char* data = reinterpret_cast<const char*>(bytes.data());
    const auto size = static_cast<std::uint32_t>(bytes.size());
    if (form == PlistForm::binary) {
        plist_from_bin(data, size, &root);
    } else {
        plist_from_xml(data, size, &root);
    }
    if (!root) return std::nullopt;
    std::unique_ptr<void, void (*)(plist_t)> guard(root, plist_free);
    return fromPlist(root, 0);
}

const Value::Array* arrayOfObjects(const std::optional<Value>& root, std::string_view key) {
    if (!root) return nullptr;
    const Value* v = root->get(key);
    return v && v->isArrayOfObjects() ? v->asArray() : nullptr;
}

const Value* firstItem(const std::optional<Value>& root, std::string_view key) {
    const Value::Array* a = arrayOfObjects(root, key);
    return a && !a->empty() ? &a->front() : nullptr;
}

std::optional<std::int64_t> parseDecimal(std::string_view text) {
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
        if (text.empty()) return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const int digit = c - '0';
        // Accumulate toward the sign so that the most negative value parses too.
        if (__builtin_mul_overflow(value, 10, &value)) return std::nullopt;
        if (negative ? __builtin_sub_overflow(value, digit, &value)
                     : __builtin_add_overflow(value, digit, &value))
            return std::nullopt;
    }
    return value;
}

std::int64_t intOf(const Value* v) {
    if (!v) return 0;
    if (const bool* b = v->asBool()) return *b ? 1 : 0;
    if (const std::int64_t* i = v->asInt()) return *i;
    if (const double* d = v->asReal()) return saturatingInt64(*d);
    if (const std::string* s = v->asString()) return parseDecimal(*s).value_or(0);
    return 0;
}

std::int64_t int64Of(const Value* v) {
    return intOf(v);
}

double numberOr(const Value* v, double fallback) {
    if (!v) return fallback;
    if (const double* d = v->asReal()) return std::isfinite(*d) ? *d : fallback;
    if (const std::int64_t* i = v->asInt()) return static_cast<double>(*i);
    return fallback;
}

std::int64_t saturatingInt64(double d) {
    if (std::isnan(d)) return 0;
    // 2^63 is exactly representable; anything at or beyond it saturates.
    constexpr double kLimit = 9223372036854775808.0;
    if (d >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (d < -kLimit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(d);  // truncates toward zero
}

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b > 0 ? std::numeric_limits<std::int64_t>::max()
                 : std::numeric_limits<std::int64_t>::min();
}

std::int64_t saturatingNegate(std::int64_t a) {
    return a == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max()
                                                         : -a;
}

}  // namespace orvane
