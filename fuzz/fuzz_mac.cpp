// The Mac decoders over fuzzed tool documents, then the collectors over their facts. The first
// byte chooses the decoder; the documents follow, separated by "\n--\n" lines.
#include <map>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "service/Values.h"
#include "service/platform/mac/MacDecoders.h"

using namespace orvane;

namespace {

// A Mac whose tool outputs and kernel values come from the fuzz input.
class FuzzMacSource final : public MacSource {
  public:
    explicit FuzzMacSource(fuzz::FuzzInput& in) {
        const auto bytes = [](std::span<const std::uint8_t> p) {
            return std::vector<std::uint8_t>(p.begin(), p.end());
        };
        hardware_ = bytes(in.part());
        memory_ = bytes(in.part());
        build_ = bytes(in.part());
        kernel_ = decodeJson(in.part());
        version_ = {in.take<std::int64_t>(), in.take<std::int64_t>(), in.take<std::int64_t>()};
        uptime_ = in.take<double>();
    }
    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override {
        if (path == kSwVers) return build_;
        if (args.empty()) return {};
        if (args[0] == "SPHardwareDataType") return hardware_;
        if (args[0] == "SPMemoryDataType") return memory_;
        return {};
    }
    std::string sysctlString(const std::string& name) const override {
        const std::string* s = kernel_ ? kernel_->getString(name) : nullptr;
        return s ? *s : std::string();
    }
    std::int64_t sysctlInt(const std::string& name) const override {
        const Value* v = kernel_ ? kernel_->get(name) : nullptr;
        const std::int64_t* i = v ? v->asInt() : nullptr;
        return i ? *i : 0;
    }
    OsVersion osVersion() const override { return version_; }
    double uptime() const override { return uptime_; }
    std::string hostName() const override { return "fuzz"; }
    LiveInputs sampleLive() const override { return {}; }

  private:
    std::vector<std::uint8_t> hardware_, memory_, build_;
    std::optional<Value> kernel_;
    OsVersion version_;
    double uptime_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    switch (in.byte() % 4) {
        case 0: {
            const auto registry = in.part();
            const auto report = in.part();
            fuzz::collectAll({}, decodeMacPower(registry, report), {}, {});
            break;
        }
        case 1:
            fuzz::collectAll({}, {}, decodeMacVolumes(in.part()), {});
            break;
        case 2:
            fuzz::collectAll({}, {}, {}, decodeMacGraphics(in.part()));
            break;
        default: {
            const FuzzMacSource source(in);
            fuzz::collectAll(decodeMacHardware(source), {}, {}, {});
            break;
        }
    }
    return 0;
}
