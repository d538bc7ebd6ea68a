#include "service/PlistScan.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace orvane {

namespace {

// ---- XML ------------------------------------------------------------------------------

// A character reference ("&#0;", "&#x000;") whose value is 0; `i` is just past "&#".
bool isNulReference(std::string_view text, std::size_t i) {
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    std::size_t digits = 0;
    while (i < text.size() && text[i] == '0') {
        ++i;
        ++digits;
    }
    return digits > 0 && i < text.size() && text[i] == ';';
}

bool xmlWithinLimits(std::string_view text, const PlistLimits& limits) {
    if (text.find('\0') != std::string_view::npos) return false;
    int depth = 0;
    for (std::size_t i = text.find_first_of("<&"); i != std::string_view::npos;
         i = text.find_first_of("<&", i + 1)) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '#' && isNulReference(text, i + 2))
                return false;
            continue;
        }
        const bool closing = i + 1 < text.size() && text[i + 1] == '/';
        const std::string_view tag = text.substr(i + (closing ? 2 : 1));
        const bool container = tag.starts_with("array") || tag.starts_with("dict");
        if (!container) continue;
        const std::size_t end = tag.find('>');
        const bool empty = end != std::string_view::npos && end > 0 && tag[end - 1] == '/';
        if (closing) {
            depth = std::max(0, depth - 1);
        } else if (!empty && ++depth > limits.maxDepth) {
            return false;
        }
    }
    return true;
}

// ---- binary ---------------------------------------------------------------------------

class BinaryScan {
  public:
    BinaryScan(std::span<const std::uint8_t> bytes, const PlistLimits& limits)
        : b_(bytes), limits_(limits) {}

    bool run() {
        if (b_.size() < 8 + 32) return false;
        const std::size_t t = b_.size() - 32;
        offsetSize_ = b_[t + 6];
        refSize_ = b_[t + 7];
        const std::uint64_t count = be(t + 8, 8);
        const std::uint64_t root = be(t + 16, 8);
        const std::uint64_t table = be(t + 24, 8);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) return false;
        if (count == 0 || count > limits_.maxNodes || root >= count || table < 8 || table > t ||
            count > (t - table) / offsetSize_)
            return false;
        table_ = static_cast<std::size_t>(table);
        objects_.resize(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < objects_.size(); ++i)
            if (!readObject(i)) return false;
        return walk(static_cast<std::size_t>(root));
    }

  private:
    struct Object {
        std::size_t firstRef = 0;  // where its references start (containers)
        std::uint64_t refs = 0;    // how many (a dictionary: keys, then as many values)
        std::uint64_t keys = 0;    // of those, the dictionary's keys
        bool nulText = false;      // a string holding U+0000
        bool text = false;
        int depth = 0;            // filled in by the walk
        std::uint64_t nodes = 0;  // likewise
        enum { kNew, kOpen, kDone } state = kNew;
    };

    std::uint64_t be(std::size_t at, std::size_t n) const {
        std::uint64_t v = 0;
        for (std::size_t k = 0; k < n; ++k)
            v = (v << 8) | b_[at + k];
        return v;
    }

    // The object count that follows a marker with 0xF as its low nibble.
    bool length(std::size_t& at, std::uint64_t& n) const {
        const std::uint8_t low = b_[at] & 0x0F;
        ++at;
        if (low != 0x0F) {
            n = low;
            return true;
        }
        if (at >= table_ || (b_[at] & 0xF0) != 0x10) return false;
        const std::size_t width = std::size_t{1} << (b_[at] & 0x0F);
        if (width > 8 || at + 1 + width > table_) return false;
        n = be(at + 1, width);
        at += 1 + width;
        return true;
    }

    bool readObject(std::size_t i) {
        const std::uint64_t offset = be(table_ + i * offsetSize_, offsetSize_);
        if (offset < 8 || offset >= table_) return false;
        std::size_t at = static_cast<std::size_t>(offset);
        const std::uint8_t type = b_[at] >> 4;
        Object& o = objects_[i];
        if (type == 0x5 || type == 0x6) {
            std::uint64_t n = 0;
            if (!length(at, n)) return false;
            const std::uint64_t unit = type == 0x6 ? 2 : 1;
            if (n > (table_ - at) / unit) return false;
            o.text = true;
            for (std::uint64_t k = 0; k < n && !o.nulText; ++k)
                o.nulText =
                    unit == 1 ? b_[at + k] == 0 : (b_[at + 2 * k] | b_[at + 2 * k + 1]) == 0;
        } else if (type == 0xA || type == 0xC || type == 0xD) {
            std::uint64_t n = 0;
            if (!length(at, n)) return false;
            const std::uint64_t refs = type == 0xD ? 2 * n : n;
            if (n > table_ || refs > (table_ - at) / refSize_) return false;
            o.firstRef = at;
            o.refs = refs;
            o.keys = type == 0xD ? n : 0;
        }
        return true;
    }

    std::size_t ref(const Object& o, std::uint64_t k) const {
        return static_cast<std::size_t>(be(o.firstRef + k * refSize_, refSize_));
    }

    // Depth and expanded size of every object reached from the root, without recursion.
    bool walk(std::size_t root) {
        struct Frame {
            std::size_t object;
            std::uint64_t next = 0;
        };
        std::vector<Frame> stack{{root}};
        objects_[root].state = Object::kOpen;
        while (!stack.empty()) {
            Frame& f = stack.back();
            Object& o = objects_[f.object];
            if (f.next == o.refs) {
                o.depth += 1;
                o.nodes += 1;
                o.state = Object::kDone;
                const std::size_t done = f.object;
                stack.pop_back();
                if (!stack.empty()) {
                    Object& parent = objects_[stack.back().object];
                    parent.depth = std::max(parent.depth, objects_[done].depth);
                    parent.nodes += objects_[done].nodes;
                    if (parent.nodes > limits_.maxNodes) return false;
                }
                continue;
            }
            const bool isKey = f.next < o.keys;
            const std::size_t child = ref(o, f.next++);
            if (child >= objects_.size()) return false;
            Object& c = objects_[child];
            if (isKey && (!c.text || c.nulText)) return false;
            if (c.state == Object::kOpen) return false;  // a cycle
            if (c.state == Object::kDone) {
                o.depth = std::max(o.depth, c.depth);
                o.nodes += c.nodes;
                if (o.nodes > limits_.maxNodes) return false;
                continue;
            }
            if (static_cast<int>(stack.size()) >= limits_.maxDepth) return false;
            c.state = Object::kOpen;
            stack.push_back({child});
        }
        return true;
    }

    std::span<const std::uint8_t> b_;
    PlistLimits limits_;
    std::size_t offsetSize_ = 0;
    std::size_t refSize_ = 0;
    std::size_t table_ = 0;
    std::vector<Object> objects_;
};

}  // namespace

bool plistWithinLimits(std::span<const std::uint8_t> bytes, const PlistLimits& limits) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    // The library takes exactly this prefix as binary and anything else as XML.
    if (text.starts_with("bplist00")) return BinaryScan(bytes, limits).run();
    return xmlWithinLimits(text, limits);
}

}  // namespace orvane
