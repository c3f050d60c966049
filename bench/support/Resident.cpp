#include "bench/support/Resident.h"

#include <fstream>
#include <string>

namespace pagetap::bench {

std::int64_t ResidentBytes(const char* field) {
  const std::string label = std::string(field) + ":";
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(label, 0) == 0) return std::stoll(line.substr(label.size())) * 1024;
  }
  return 0;
}

}  // namespace pagetap::bench
