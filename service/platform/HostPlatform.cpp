#include "service/platform/HostPlatform.h"

#if defined(__APPLE__)
#include "service/platform/mac/MacPlatform.h"
#else
#include "service/platform/linux/LinuxPlatform.h"
#endif

namespace orvane {

std::shared_ptr<const Platform> makeHostPlatform(const std::filesystem::path& sysroot) {
#if defined(__APPLE__)
    (void)sysroot;  // a Mac is read through its own interfaces, never under a root
    return std::make_shared<MacPlatform>(makeMacSystemSource());
#else
    return std::make_shared<LinuxPlatform>(sysroot);
#endif
}

}  // namespace orvane
