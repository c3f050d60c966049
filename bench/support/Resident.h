#pragma once

#include <cstdint>

namespace pagetap::bench {

// A resident memory figure of this process from /proc/self/status in bytes: VmRSS, the whole
// resident memory, or RssAnon, its private (anonymous) part. 0 when it cannot be read.
std::int64_t ResidentBytes(const char* field = "VmRSS");

}  // namespace pagetap::bench
