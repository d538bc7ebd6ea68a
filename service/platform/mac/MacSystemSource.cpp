// The Mac this program runs on: the reporting tools through Shell, kernel values by
// sysctlbyname, processor ticks and page counts from the Mach host interfaces, network
// counters from the interfaces' link-layer entries, disk and graphics activity from the I/O
// registry and the thermal state from the process information. Compiled on Apple platforms
// only.

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/IOKitLib.h>
#include <ifaddrs.h>
#include <mach/mach.h>
#include <mach/mach_host.h>
#include <mach/processor_info.h>
#include <net/if.h>
#include <net/if_dl.h>
#include <net/if_var.h>
#include <objc/message.h>
#include <objc/runtime.h>
#include <sys/socket.h>
#include <sys/sysctl.h>
#include <time.h>
#include <unistd.h>

#include "service/Shell.h"
#include "service/Values.h"
#include "service/platform/mac/MacDecoders.h"
#include "service/platform/mac/MacPlatform.h"

namespace orvane {

namespace {

// A registry property as a plain value: numbers, booleans, text, and dictionaries of them two
// levels deep. Anything else, or a property that is not there, is null.
Value plainValue(CFTypeRef v, int depth = 0) {
    if (!v) return {};
    const CFTypeID type = CFGetTypeID(v);
    if (type == CFBooleanGetTypeID()) return CFBooleanGetValue(static_cast<CFBooleanRef>(v)) != 0;
    if (type == CFNumberGetTypeID()) {
        const auto n = static_cast<CFNumberRef>(v);
        if (CFNumberIsFloatType(n)) {
            double d = 0;
            return CFNumberGetValue(n, kCFNumberDoubleType, &d) ? Value(d) : Value();
        }
        std::int64_t i = 0;
        return CFNumberGetValue(n, kCFNumberSInt64Type, &i) ? Value(i) : Value();
    }
    if (type == CFStringGetTypeID()) {
        char text[256];
        return CFStringGetCString(static_cast<CFStringRef>(v), text, sizeof text,
                                  kCFStringEncodingUTF8)
                   ? Value(text)
                   : Value();
    }
    if (type == CFDictionaryGetTypeID() && depth < 2) {
        const auto dict = static_cast<CFDictionaryRef>(v);
        const CFIndex count = CFDictionaryGetCount(dict);
        if (count <= 0 || count > 1000) return Value::Object{};
        std::vector<const void*> keys(static_cast<std::size_t>(count));
        std::vector<const void*> values(keys.size());
        CFDictionaryGetKeysAndValues(dict, keys.data(), values.data());
        Value::Object out;
        for (std::size_t k = 0; k < keys.size(); ++k)
            if (const Value key = plainValue(keys[k], 2); const std::string* name = key.asString())
                out.emplace(*name, plainValue(values[k], depth + 1));
        return out;
    }
    return {};
}

Value property(io_registry_entry_t entry, const char* key) {
    const CFStringRef name =
        CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingUTF8);
    if (!name) return {};
    const CFTypeRef v = IORegistryEntryCreateCFProperty(entry, name, kCFAllocatorDefault, 0);
    CFRelease(name);
    Value out = plainValue(v);
    if (v) CFRelease(v);
    return out;
}

// Calls `each` with every registered service of the class (or a subclass), in registry order.
template <class Each>
void forEachService(const char* className, Each each) {
    const CFMutableDictionaryRef matching = IOServiceMatching(className);
    io_iterator_t services = 0;
    // The matching dictionary is consumed by the call.
    if (!matching ||
        IOServiceGetMatchingServices(kIOMainPortDefault, matching, &services) != KERN_SUCCESS)
        return;
    while (const io_object_t service = IOIteratorNext(services)) {
        each(service);
        IOObjectRelease(service);
    }
    IOObjectRelease(services);
}

// Each block-storage driver counts the bytes of the one disk it presents (its media child);
// partitions are further down and have no driver of their own. The keys are IOKit's
// kIOBlockStorageDriverStatisticsKey, kIOPropertyProtocolCharacteristicsKey, kIOBSDNameKey and
// kIOMediaWholeKey.
void readDisks(std::vector<DiskCounters>& out) {
    forEachService("IOBlockStorageDriver", [&](io_object_t driver) {
        io_registry_entry_t device = 0;
        Value protocol;
        if (IORegistryEntryGetParentEntry(driver, "IOService", &device) == KERN_SUCCESS) {
            protocol = property(device, "Protocol Characteristics");
            IOObjectRelease(device);
        }
        io_iterator_t children = 0;
        if (IORegistryEntryGetChildIterator(driver, "IOService", &children) != KERN_SUCCESS) return;
        const Value statistics = property(driver, "Statistics");
        bool found = false;
        while (const io_object_t media = IOIteratorNext(children)) {
            if (!found && IOObjectConformsTo(media, "IOMedia")) {
                if (std::optional<DiskCounters> disk =
                        decodeMacDisk(statistics, property(media, "BSD Name"),
                                      property(media, "Whole"), protocol)) {
                    out.push_back(std::move(*disk));
                    found = true;
                }
            }
            IOObjectRelease(media);
        }
        IOObjectRelease(children);
    });
}

// One entry per graphics processor, in registry order, named as the registry names it. The
// statistics are a registry property the driver keeps, read like any other property: the
// device is not opened.
void readGpus(std::vector<GpuLoadFacts>& out) {
    forEachService("IOAccelerator", [&](io_object_t accelerator) {
        io_name_t name = {};
        if (IORegistryEntryGetName(accelerator, name) != KERN_SUCCESS) name[0] = '\0';
        out.push_back(
            {name, "", false, decodeMacGpuLoad(property(accelerator, "PerformanceStatistics"))});
    });
}

class MacSystemSource final : public MacSource {
  public:
    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override;
    std::string sysctlString(const std::string& name) const override;
    std::int64_t sysctlInt(const std::string& name) const override;
    OsVersion osVersion() const override;
    double uptime() const override;
    std::string hostName() const override;
    LiveInputs sampleLive() const override;
    SensorInputs sampleSensors() const override;
};

std::vector<std::uint8_t> MacSystemSource::runData(const std::string& path,
                                                   const std::vector<std::string>& args) const {
    return Shell::runData(path, args);
}

std::string MacSystemSource::sysctlString(const std::string& name) const {
    return Shell::sysctlString(name);
}

std::int64_t MacSystemSource::sysctlInt(const std::string& name) const {
    return Shell::sysctlInt(name);
}

OsVersion MacSystemSource::osVersion() const {
    // "kern.osproductversion" is "14.5" or "14.5.1".
    const std::string text = Shell::sysctlString("kern.osproductversion");
    std::int64_t parts[3] = {0, 0, 0};
    std::size_t k = 0;
    for (char c : text) {
        if (c == '.') {
            if (++k == 3) break;
        } else if (c >= '0' && c <= '9') {
            parts[k] = parts[k] * 10 + (c - '0');
            if (parts[k] > 1'000'000) return {};
        } else {
            break;
        }
    }
    return {parts[0], parts[1], parts[2]};
}

double MacSystemSource::uptime() const {
    // Time awake since boot: CLOCK_UPTIME_RAW does not advance while the Mac sleeps.
    return static_cast<double>(clock_gettime_nsec_np(CLOCK_UPTIME_RAW)) / 1e9;
}

std::string MacSystemSource::hostName() const {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return {};
    return buf;
}

LiveInputs MacSystemSource::sampleLive() const {
    LiveInputs in;
    in.uptime = uptime();
    const mach_port_t host = mach_host_self();

    vm_statistics64_data_t vm{};
    mach_msg_type_number_t count = HOST_VM_INFO64_COUNT;
    if (host_statistics64(host, HOST_VM_INFO64, reinterpret_cast<host_info64_t>(&vm), &count) ==
        KERN_SUCCESS) {
        VmStats s;
        s.pageSize = vm_kernel_page_size;
        s.active = vm.active_count;
        s.inactive = vm.inactive_count;
        s.wire = vm.wire_count;
        s.purgeable = vm.purgeable_count;
        s.compressor = vm.compressor_page_count;
        s.external = vm.external_page_count;
        in.vm = s;

        xsw_usage swap{};
        std::size_t len = sizeof swap;
        if (::sysctlbyname("vm.swapusage", &swap, &len, nullptr, 0) == 0)
            in.swapUsed = swap.xsu_used;
    }

    natural_t cpuCount = 0;
    processor_info_array_t info = nullptr;
    mach_msg_type_number_t infoCount = 0;
    if (host_processor_info(host, PROCESSOR_CPU_LOAD_INFO, &cpuCount, &info, &infoCount) ==
        KERN_SUCCESS) {
        std::vector<CpuTicks> ticks;
        ticks.reserve(cpuCount);
        for (natural_t i = 0; i < cpuCount && (i + 1) * CPU_STATE_MAX <= infoCount; ++i) {
            const integer_t* t = info + i * CPU_STATE_MAX;
            ticks.push_back({static_cast<std::uint32_t>(t[CPU_STATE_USER]),
                             static_cast<std::uint32_t>(t[CPU_STATE_SYSTEM]),
                             static_cast<std::uint32_t>(t[CPU_STATE_IDLE]),
                             static_cast<std::uint32_t>(t[CPU_STATE_NICE])});
        }
        in.cpuTicks = std::move(ticks);
        vm_deallocate(mach_task_self(), reinterpret_cast<vm_address_t>(info),
                      static_cast<vm_size_t>(infoCount) * sizeof(integer_t));
    }
    mach_port_deallocate(mach_task_self(), host);
    return in;
}

SensorInputs MacSystemSource::sampleSensors() const {
    SensorInputs in;
    in.time = uptime();
    // Each interface's link-layer entry carries its byte counters. They are 32 bits wide: one
    // that wrapped reads as a counter that went back, which gives no rate for that second.
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) == 0) {
        for (const ifaddrs* a = list; a; a = a->ifa_next) {
            if (!a->ifa_addr || a->ifa_addr->sa_family != AF_LINK || !a->ifa_data || !a->ifa_name ||
                (a->ifa_flags & IFF_LOOPBACK))
                continue;
            // Ethernet and Wi-Fi are "en"; bridges, tunnels and peer-to-peer links are not.
            const std::string name = a->ifa_name;
            if (name.rfind("en", 0) != 0) continue;
            const auto* d = static_cast<const if_data*>(a->ifa_data);
            in.network.push_back({name, false, d->ifi_ibytes, d->ifi_obytes});
        }
        ::freeifaddrs(list);
    }
    readDisks(in.disks);
    readGpus(in.gpus);
    // [[NSProcessInfo processInfo] thermalState]: 0 nominal, 1 fair, 2 serious, 3 critical.
    if (Class type = objc_getClass("NSProcessInfo")) {
        using Object = id (*)(id, SEL);
        using Integer = long (*)(id, SEL);
        const id info = reinterpret_cast<Object>(objc_msgSend)(reinterpret_cast<id>(type),
                                                               sel_registerName("processInfo"));
        const long state =
            info ? reinterpret_cast<Integer>(objc_msgSend)(info, sel_registerName("thermalState"))
                 : -1;
        if (state >= 0 && state <= 3) in.thermalState = static_cast<ThermalState>(state);
    }
    return in;
}

}  // namespace

std::shared_ptr<const MacSource> makeMacSystemSource() {
    return std::make_shared<MacSystemSource>();
}

}  // namespace orvane
