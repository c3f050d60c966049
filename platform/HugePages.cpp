#include "platform/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace {
constexpr std::uintptr_t kHugePageBytes = std::uintptr_t{2} << 20;
}

void AdviseHugePages(void* data, std::size_t bytes) {
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  const std::uintptr_t end = (start + bytes) & ~(kHugePageBytes - 1);
  if (end <= first) return;
  // Advice only: a kernel that refuses it fills the buffer in small pages as before.
  madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}
