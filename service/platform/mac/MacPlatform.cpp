#include "service/platform/mac/MacPlatform.h"

#include "service/Shell.h"
#include "service/platform/mac/MacDecoders.h"

namespace orvane {

std::string MacSource::run(const std::string& path, const std::vector<std::string>& args) const {
    const auto data = runData(path, args);
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    if (!Shell::isValidUtf8(text)) return {};
    return Shell::trimUnicode(text);
}

HardwareFacts MacPlatform::hardware() const {
    return decodeMacHardware(*source_);
}

PowerFacts MacPlatform::power() const {
    return decodeMacPower(source_->runData(kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"}),
                          source_->runData(kSystemProfiler, {"SPPowerDataType", "-json"}));
}

std::vector<VolumeFacts> MacPlatform::volumes() const {
    return decodeMacVolumes(source_->runData(kSystemProfiler, {"SPStorageDataType", "-json"}));
}

std::vector<GpuFacts> MacPlatform::graphics() const {
    return decodeMacGraphics(source_->runData(kSystemProfiler, {"SPDisplaysDataType", "-json"}));
}

}  // namespace orvane
