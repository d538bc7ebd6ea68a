#include "service/platform/linux/MountInfo.h"

#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

// Fields of a line, split on single spaces (the kernel escapes spaces inside fields).
std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos <= line.size()) {
        const std::size_t space = line.find(' ', pos);
        const std::size_t end = space == std::string_view::npos ? line.size() : space;
        if (end > pos) out.push_back(line.substr(pos, end - pos));
        if (space == std::string_view::npos) break;
        pos = space + 1;
    }
    return out;
}

}  // namespace

std::string MountInfo::unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value <= 0xFF && value != 0) {
                out += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::vector<MountInfo> MountInfo::parse(std::string_view text) {
    std::vector<MountInfo> mounts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;

        const std::vector<std::string_view> f = fields(line);
        if (f.size() < 9) continue;
        std::size_t sep = 6;
        while (sep < f.size() && f[sep] != "-")
            ++sep;
        if (sep + 2 >= f.size()) continue;

        const std::string_view dev = f[2];
        const std::size_t colon = dev.find(':');
        if (colon == std::string_view::npos) continue;
        const auto major = SysText::parseUnsigned(dev.substr(0, colon));
        const auto minor = SysText::parseUnsigned(dev.substr(colon + 1));
        if (!major || !minor || *major > 0xFFFFFFFFu || *minor > 0xFFFFFFFFu) continue;

        MountInfo m;
        m.major = static_cast<std::uint32_t>(*major);
        m.minor = static_cast<std::uint32_t>(*minor);
        m.root = unescape(f[3]);
        m.mountPoint = unescape(f[4]);
        m.fsType = unescape(f[sep + 1]);
        m.source = unescape(f[sep + 2]);
        if (m.mountPoint.empty() || m.mountPoint.front() != '/') continue;
        mounts.push_back(std::move(m));
    }
    return mounts;
}

}  // namespace orvane
