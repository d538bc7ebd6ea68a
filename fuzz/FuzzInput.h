// Splits one fuzz input into the values a target needs. Works the same with every compiler,
// so the regression inputs replay in ordinary builds too.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace orvane::fuzz {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(data, size) {}

    bool empty() const { return rest_.empty(); }

    // The next byte, 0 once the input is used up.
    std::uint8_t byte() {
        if (rest_.empty()) return 0;
        const std::uint8_t b = rest_.front();
        rest_ = rest_.subspan(1);
        return b;
    }

    // The next raw value of a trivially copyable type, zero-filled at the end of the input.
    template <typename T>
    T take() {
        unsigned char raw[sizeof(T)] = {};
        const std::size_t n = std::min(sizeof(T), rest_.size());
        if (n) std::memcpy(raw, rest_.data(), n);
        rest_ = rest_.subspan(n);
        T value;
        std::memcpy(&value, raw, sizeof(T));
        return value;
    }

    // Bytes up to the next separator line ("\n--\n"), or all that is left.
    std::span<const std::uint8_t> part() {
        const std::string_view all(reinterpret_cast<const char*>(rest_.data()), rest_.size());
        const std::size_t at = all.find(kSeparator);
        const std::size_t len = at == std::string_view::npos ? all.size() : at;
        const auto out = rest_.first(len);
        rest_ = rest_.subspan(at == std::string_view::npos ? len : len + kSeparator.size());
        return out;
    }
    std::string_view text() {
        const auto p = part();
        return {reinterpret_cast<const char*>(p.data()), p.size()};
    }

    static constexpr std::string_view kSeparator = "\n--\n";

  private:
    std::span<const std::uint8_t> rest_;
};

}  // namespace orvane::fuzz
