// Sensors and throughput on Linux: names as people know them, rates from two samples a second
// apart, and a sleeping device left alone. The fake trees' readings are pinned whole by their
// records (tests/fixtures/records/linux-*.json).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "service/Report.h"
#include "service/Sensors.h"
#include "service/SystemService.h"
#include "service/TaskLoop.h"
#include "service/platform/linux/DrmClients.h"
#include "service/platform/linux/Sensors.h"
#include "service/platform/linux/Throughput.h"
#include "tests/service/LinuxTestSupport.h"
#include "tests/service/ServiceFakes.h"

namespace orvane {
namespace {

using namespace linux_test;

TEST(LinuxSensors, NamesAsPeopleKnowThem) {
    struct Case {
        const char* chip;
        const char* label;
        int index;
        bool fan;
        const char* device;
        const char* sensor;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"coretemp", "Package id 0", 1, false, "CPU", "CPU Package"},
             {"coretemp", "Package id 1", 1, false, "CPU", "CPU Package 1"},
             {"coretemp", "Core 3", 5, false, "CPU", "Core 3"},
             {"k10temp", "Tdie", 2, false, "CPU", "CPU"},
             {"k10temp", "Tccd2", 4, false, "CPU", "CCD 2"},
             {"amdgpu", "junction", 2, false, "GPU", "GPU Hotspot"},
             {"nvme", "Composite", 1, false, "NVMe", "NVMe"},
             {"nvme", "Sensor 1", 2, false, "NVMe", "NVMe Sensor 1"},
             {"BAT0", "", 1, false, "Battery", "Battery"},
             {"BAT1", "temp", 1, false, "Battery", "Battery"},
             {"iwlwifi_1", "", 1, false, "Wi-Fi", "Wi-Fi"},
             {"thinkpad", "", 2, false, "System", "System 2"},
             {"acpitz", "", 1, false, "acpitz", "acpitz temp1"},
             {"nct6798", "SYSTIN", 1, false, "nct6798", "nct6798 SYSTIN"},
             {"thinkpad", "", 2, true, "System", "Fan 2"},
             {"nct6798", "CPU FAN", 1, true, "nct6798", "CPU FAN"},
         }) {
        const auto n = c.fan ? LinuxSensors::fanName(c.chip, c.label, c.index)
                             : LinuxSensors::temperatureName(c.chip, c.label, c.index);
        EXPECT_EQ(n.device + " / " + n.sensor, std::string(c.device) + " / " + c.sensor)
            << c.chip << " " << c.label;
    }
}

TEST(Throughput, MalformedLinesAreSkipped) {
    std::vector<NetworkCounters> net;
    Throughput::parseNetDev(
        "Inter-| Receive | Transmit\n face |bytes packets|bytes\n"
        "eth0:1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n"  // large counters run into the colon
        "short: 1 2 3\nbad: 1 2 3 4 5 6 7 8 x\n  wlan0: 18446744073709551615 0 0 0 0 0 0 0 7",
        net);
    ASSERT_EQ(net.size(), 2u);
    EXPECT_EQ(net[0], (NetworkCounters{"eth0", false, 1, 9}));
    EXPECT_EQ(net[1], (NetworkCounters{"wlan0", false, UINT64_MAX, 7}));

    std::vector<DiskCounters> disks;
    Throughput::parseDiskStats(
        "8 0 sda 1 0 4 0 2 0 6 0 0 0 0\n8 1 sda1 1 0 x 0 2 0 6\n"
        "8 16 sdb 1 0 36028797018963968 0 2 0 6 0 0 0 0\n8 32 sdc 1 0 2",
        disks);
    ASSERT_EQ(disks.size(), 1u);  // sdb's sectors overflow in bytes
    EXPECT_EQ(disks[0], (DiskCounters{"sda", 4 * 512, 6 * 512}));
}

// Replaces the first `from` in `text` by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// Through the service, which reads at most once a second: the rates worked out by hand.
TEST(LinuxSensors, TwoSamplesASecondApartGiveTheRates) {
    ScratchTree t;
    t.copyFrom(fixtureTree("workstation"));
    const std::string netDev = readText(t.root() / "proc/net/dev");
    const std::string diskStats = readText(t.root() / "proc/diskstats");
    TaskLoop main;
    double now = 0;
    auto svc = SystemService::create(std::make_shared<LinuxPlatform>(t.root()), main.queue(),
                                     [&] { return now; });
    auto sampleAt = [&](double clock, const char* uptime) {
        now = clock;
        t.write("proc/uptime", uptime);
        const bool asked = svc->updateSensors();
        EXPECT_TRUE(main.runUntil([&] { return svc->sensors().time == std::stod(uptime); }));
        return asked;
    };
    ASSERT_TRUE(sampleAt(0, "5000.00 1"));
    EXPECT_FALSE(svc->updateSensors());  // asked for less than a second ago
    now = 0.9;
    EXPECT_FALSE(svc->updateSensors());

    // enp5s0: 1 250 000 bytes received and 50 000 sent; nvme0n1: 2048 sectors read and 4096
    // written, in one second.
    t.write("proc/net/dev",
            replaced(replaced(netDev, "51234567890", "51235817890"), "7345678901", "7345728901"));
    t.write("proc/diskstats",
            replaced(replaced(diskStats, "208392712", "208394760"), "984127366", "984131462"));
    ASSERT_TRUE(sampleAt(1, "5001.00 1"));
    const SensorReadings& s = svc->sensors();
    ASSERT_EQ(s.network.size(), 1u);  // lo, the bridge and the veth left out
    EXPECT_EQ(s.network[0],
              (NetworkActivity{"enp5s0", false, 51235817890, 7345728901, 1'250'000.0, 50'000.0}));
    ASSERT_EQ(s.disks.size(), 1u);  // the partition and the RAID device left out
    EXPECT_EQ(s.disks[0], (DiskActivity{"nvme0n1", 208394760ull * 512, 984131462ull * 512,
                                        1'048'576.0, 2'097'152.0}));

    // Counters that went back (the interface came up again) give no rate.
    t.write("proc/net/dev", netDev);
    ASSERT_TRUE(sampleAt(2, "5002.00 1"));
    EXPECT_EQ(svc->sensors().network[0].receivedPerSecond, std::nullopt);
    EXPECT_EQ(svc->sensors().disks[0].readPerSecond, 0.0);
}

// The suspended GPU's files are FIFOs: opening one would block a reader and would let the
// writer waiting on it go on. Neither may happen; once awake, the GPU is read.
TEST(LinuxSensors, ASleepingGpuIsNotTouched) {
    ::alarm(60);  // a read that blocks fails the run instead of hanging it
    ScratchTree t;
    t.copyFrom(fixtureTree("workstation"));
    const std::string gpu = "sys/devices/pci0000:00/0000:00:03.1/0000:0c:00.0/";
    t.write(gpu + "power/runtime_status", "suspended\n");
    std::atomic<int> opened{0};
    std::vector<std::thread> writers;
    std::vector<std::string> fifos;
    for (const char* file : {"gpu_busy_percent", "hwmon/hwmon2/name", "hwmon/hwmon2/temp1_input",
                             "hwmon/hwmon2/fan1_input"}) {
        fifos.push_back((t.root() / (gpu + file)).string());
        t.fifo(gpu + file);
        writers.emplace_back([&opened, path = fifos.back()] {
            const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
            if (fd >= 0) ::close(fd);
            ++opened;
        });
    }
    LinuxPlatform platform(t.root());
    for (int i = 0; i < 2; ++i) {
        const SensorInputs in = platform.sampleSensors();
        ASSERT_EQ(in.devices.size(), 3u);
        EXPECT_EQ(in.devices[1], (SensorDeviceFacts{"GPU", true, {}, {}}));
        EXPECT_EQ(in.gpus, (std::vector<GpuLoadFacts>{{"card0", "amdgpu", true, std::nullopt}}));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(opened, 0);
    for (const std::string& fifo : fifos) {
        const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        while (fd >= 0 && opened < static_cast<int>(&fifo - fifos.data()) + 1)
            std::this_thread::yield();
        if (fd >= 0) ::close(fd);
        std::filesystem::remove(fifo);
    }
    for (std::thread& w : writers)
        w.join();

    t.writeAll(
        "gpu_busy_percent=41|hwmon/hwmon2/name=amdgpu|hwmon/hwmon2/temp1_input=46000|"
        "hwmon/hwmon2/fan1_input=900|power/runtime_status=active",
        gpu);
    const SensorInputs in = platform.sampleSensors();
    EXPECT_EQ(in.devices[1].temperatures.front(), (TemperatureFacts{"GPU", 46.0, 100.0}));
    EXPECT_EQ(in.devices[1].fans, (std::vector<FanFacts>{{"Fan 1", 900.0}}));
    EXPECT_EQ(in.gpus, (std::vector<GpuLoadFacts>{{"card0", "amdgpu", false, 41.0}}));
    ::alarm(0);
}

// Every interface's and disk's rates summed; two minutes kept; a clock gone back starts over.
TEST(ThroughputHistory, SumsRatesAndKeepsTwoMinutes) {
    SensorReadings r;
    r.network = {{"eth0", false, 0, 0, 100.0, std::nullopt}, {"wlan0", true, 0, 0, 50.0, 7.0}};
    r.disks = {{"sda", 0, 0, std::nullopt, std::nullopt}};
    ThroughputHistory h;
    for (double t : {1.0, 2.0, 121.0, 122.0})
        h.append(r, t);
    ASSERT_EQ(h.points().size(), 3u);  // the first is more than two minutes before the last
    EXPECT_EQ(h.points().back(), (ThroughputPoint{122, 150.0, 7.0, std::nullopt, std::nullopt}));
    h.append(SensorReadings{}, 50);
    EXPECT_EQ(h.points(), (std::deque<ThroughputPoint>{{50, {}, {}, {}, {}}}));
}

// Fdinfo as i915, xe and amdgpu write it; another file's fdinfo is no client.
TEST(DrmClients, FdinfoShapes) {
    using E = DrmFdinfo::Engine;
    struct Case {
        const char* text;
        std::optional<DrmFdinfo> expected;
    };
    const std::string head = "pos:\t0\nflags:\t02100002\nmnt_id:\t26\nino:\t685\n";
    for (const Case& c : std::initializer_list<Case>{
             {"drm-driver:\ti915\ndrm-client-id:\t18\ndrm-pdev:\t0000:00:02.0\n"
              "drm-total-system0:\t4 KiB\ndrm-engine-render:\t9609233924 ns\n"
              "drm-engine-video:\t0 ns\ndrm-engine-capacity-video:\t2\n"
              "drm-engine-video-enhance:\t12 ns\n",
              DrmFdinfo{"i915",
                        "0000:00:02.0",
                        18,
                        {E{"render", 9609233924, {}, 1, false}, E{"video", 0, {}, 2, false},
                         E{"video-enhance", 12, {}, 1, false}}}},
             {"drm-driver:\txe\ndrm-client-id:\t4\ndrm-pdev:\t0000:00:02.0\n"
              "drm-cycles-rcs:\t28257900\ndrm-total-cycles-rcs:\t7655183225\n"
              "drm-cycles-vcs:\t0\ndrm-total-cycles-vcs:\t7655183225\n"
              "drm-engine-capacity-vcs:\t2\ndrm-cycles-ccs:\t5\n",
              DrmFdinfo{
                  "xe",
                  "0000:00:02.0",
                  4,
                  {E{"rcs", 28257900, 7655183225, 1, true}, E{"vcs", 0, 7655183225, 2, true}}}},
             {"drm-driver:\tamdgpu\ndrm-pdev:\t0000:0c:00.0\ndrm-client-id:\t7\npasid:\t32771\n"
              "drm-memory-vram:\t15912 KiB\ndrm-engine-gfx:\t1237281022 ns\n"
              "drm-engine-dec:\t5 ms\ndrm-engine-compute:\tx ns\n",
              DrmFdinfo{"amdgpu", "0000:0c:00.0", 7, {E{"gfx", 1237281022, {}, 1, false}}}},
             {"eventfd-count:\t0\neventfd-id: 3\n", std::nullopt},
         })
        EXPECT_EQ(parseDrmFdinfo(head + c.text), c.expected) << c.text;
}

// The busiest engine's share between two samples, one client's fdinfo before and after.
TEST(DrmClients, LoadFromEngineTimeAndCycles) {
    struct Case {
        const char* before;
        const char* after;
        double seconds;
        std::optional<double> load;
    };
    const std::string pci = "0000:00:02.0";
    for (const Case& c : std::initializer_list<Case>{
             {"drm-engine-render: 1000000000 ns", "drm-engine-render: 1250000000 ns", 1, 25.0},
             {"drm-engine-video: 0 ns\ndrm-engine-capacity-video: 2",
              "drm-engine-video: 1000000000 ns\ndrm-engine-capacity-video: 2", 1, 50.0},
             {"drm-engine-gfx: 0 ns", "drm-engine-gfx: 900000000 ns", 0.5, 100.0},
             {"drm-cycles-rcs: 1000\ndrm-total-cycles-rcs: 10000",
              "drm-cycles-rcs: 1250\ndrm-total-cycles-rcs: 11000", 7, 25.0},
             {"drm-engine-render: 2000000000 ns", "drm-engine-render: 1000000000 ns", 1, 0.0},
             {"drm-engine-render: 5 ns", "drm-engine-render: 9 ns", 0, std::nullopt},
         }) {
        ScratchTree t;
        t.link("sys/class/drm/renderD128/device", "../../../devices/pci0000:00/" + pci);
        t.dir("sys/devices/pci0000:00/" + pci);
        t.link("proc/42/fd/7", "/dev/dri/renderD128");
        const std::string head = "drm-driver: i915\ndrm-client-id: 3\ndrm-pdev: " + pci + "\n";
        t.write("proc/42/fdinfo/7", head + c.before);
        const SysFs fs(t.root());
        DrmClients clients(fs);
        const auto awake = [](const std::string&) { return true; };
        EXPECT_TRUE(clients.sample(10, awake).empty());
        t.write("proc/42/fdinfo/7", head + c.after);
        const auto loads = clients.sample(10 + c.seconds, awake);
        EXPECT_EQ(loads.count(pci) ? std::optional(loads.at(pci)) : std::nullopt, c.load)
            << c.after;
    }
}

// An awake xe GPU shared by two processes counts its client once; the sleeping GPU's client
// file is a FIFO that nothing may open.
TEST(LinuxSensors, GpuLoadFromClientsNeverWakesASleepingGpu) {
    ::alarm(60);
    ScratchTree t;
    const std::string awake = "sys/devices/pci0000:00/0000:00:02.0/";
    const std::string asleep = "sys/devices/pci0000:00/0000:00:01.0/0000:03:00.0/";
    for (const auto& [dev, driver, status, card, node] :
         std::initializer_list<std::array<std::string, 5>>{
             {awake, "xe", "active", "card0", "renderD128"},
             {asleep, "i915", "suspended", "card1", "renderD129"}}) {
        t.write(dev + "power/runtime_status", status + "\n");
        t.link(dev + "driver", "/sys/bus/pci/drivers/" + driver);
        for (const std::string& n : {card, node}) {
            t.link(dev + "drm/" + n + "/device",
                   "../../../" + fs::path(dev).parent_path().filename().string());
            t.link("sys/class/drm/" + n, "../../" + dev.substr(4) + "drm/" + n);
        }
    }
    const auto xe = [](int cycles, int total) {
        return "drm-driver: xe\ndrm-client-id: 4\ndrm-pdev: 0000:00:02.0\ndrm-cycles-rcs: " +
               std::to_string(cycles) + "\ndrm-total-cycles-rcs: " + std::to_string(total) + "\n";
    };
    for (const char* pid : {"100", "200"}) {
        t.link(std::string("proc/") + pid + "/fd/5", "/dev/dri/renderD128");
        t.write(std::string("proc/") + pid + "/fdinfo/5", xe(100, 1000));
    }
    t.link("proc/300/fd/9", "/dev/dri/renderD129");
    t.fifo("proc/300/fdinfo/9");
    const std::string fifo = (t.root() / "proc/300/fdinfo/9").string();
    std::atomic<bool> opened{false};
    std::thread writer([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd >= 0) ::close(fd);
        opened = true;
    });

    LinuxPlatform platform(t.root());
    EXPECT_EQ(platform.sampleSensors().gpus,
              (std::vector<GpuLoadFacts>{{"card1", "i915", true, std::nullopt}}));
    for (const char* pid : {"100", "200"})
        t.write(std::string("proc/") + pid + "/fdinfo/5", xe(400, 2000));
    EXPECT_EQ(platform.sampleSensors().gpus,
              (std::vector<GpuLoadFacts>{{"card0", "xe", false, 30.0},
                                         {"card1", "i915", true, std::nullopt}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(opened);
    const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer.join();
    if (fd >= 0) ::close(fd);
    ::alarm(0);
}

// The laptop's readings in the text report and the metrics (the JSON is pinned by its record).
TEST(SensorReport, TextAndMetricsOfTheLaptop) {
    LinuxPlatform platform(fixtureTree("laptop"));
    Snapshot r;
    r.sensors = collectSensors({}, platform.sampleSensors());
    const std::string text = formatReport(r, ReportFormat::text);
    const std::string metrics = formatReport(r, ReportFormat::openmetrics);
    for (const auto& [out, line] :
         std::initializer_list<std::pair<const std::string*, const char*>>{
             {&text, "\nSensors\n  CPU Package        52.0 °C (critical 100 °C)\n"},
             {&text, "  System Fan 1       2405 RPM\n"},
             {&text, "  wlp0s20f3 (wireless) 2.87 GB received, 192.8 MB sent\n"},
             {&text, "\nDisks\n  nvme0n1            9.42 GB read, 43.07 GB written\n  sda "},
             {&metrics, "orvane_temperature_celsius{device=\"CPU\",sensor=\"CPU Package\"} 52\n"},
             {&metrics, "orvane_fan_speed_rpm{device=\"System\",sensor=\"Fan 2\"} 2398\n"},
             {&metrics,
              "# TYPE orvane_network_received_bytes_total counter\n"
              "orvane_network_received_bytes_total{interface=\"wlp0s20f3\"} 2874519363\n"},
             {&metrics, "orvane_disk_written_bytes_total{disk=\"nvme0n1\"} 43073211392\n"},
         })
        EXPECT_NE(out->find(line), std::string::npos) << line << "\n" << *out;
}

}  // namespace
}  // namespace orvane
