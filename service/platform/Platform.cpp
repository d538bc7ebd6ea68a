#include "service/platform/Platform.h"

#include "service/Shell.h"

namespace orvane {

std::string Platform::run(const std::string& path, const std::vector<std::string>& args) const {
    const auto data = runData(path, args);
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    if (!Shell::isValidUtf8(text)) return {};
    return Shell::trimUnicode(text);
}

}  // namespace orvane
