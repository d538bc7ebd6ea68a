// The byte counters of /proc/net/dev and /proc/diskstats. Both are read every second while
// throughput is shown, so parsing reuses the caller's vectors.
#pragma once

#include <string_view>
#include <vector>

#include "service/platform/SensorFacts.h"

namespace orvane::Throughput {

// Every interface of /proc/net/dev ("  eth0: rx-bytes rx-packets ... tx-bytes ..."): received
// bytes are the first number after the colon, sent bytes the ninth. The two header lines and
// malformed lines are skipped. `wireless` is left false.
void parseNetDev(std::string_view text, std::vector<NetworkCounters>& out);

// Every device of /proc/diskstats ("major minor name reads merged sectors ms writes merged
// sectors ..."): sectors read are the sixth field, sectors written the tenth, each of 512
// bytes whatever the disk's own sector size. Malformed lines are skipped.
void parseDiskStats(std::string_view text, std::vector<DiskCounters>& out);

}  // namespace orvane::Throughput
