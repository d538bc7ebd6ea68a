#include "service/platform/HostPlatform.h"

#if defined(__APPLE__)
#include "service/platform/MacPlatform.h"
#elif defined(__linux__) && __has_include("service/platform/linux/LinuxPlatform.h")
#define ORVANE_HAVE_LINUX 1
#include "service/platform/linux/LinuxPlatform.h"
#else
#include "service/platform/ReplayPlatform.h"
#endif

namespace orvane {

std::shared_ptr<const Platform> makeHostPlatform(const std::filesystem::path& sysroot) {
#if defined(__APPLE__)
    (void)sysroot;
    return std::make_shared<MacPlatform>();
#elif defined(ORVANE_HAVE_LINUX)
    return std::make_shared<LinuxPlatform>(sysroot);
#else
    return std::make_shared<ReplayPlatform>(sysroot / "nonexistent");
#endif
}

}  // namespace orvane
