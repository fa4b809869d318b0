#include "text/memory.h"

#include <malloc.h>

#include <cstdio>
#include <limits>

#include "text/fatal.h"

namespace {

// Requests below this size are left to the allocator; above it the available memory is asked first.
constexpr std::uint64_t kLargeRequest = std::uint64_t{64} << 20;

// Memory the system can still give without taking it from others, from /proc/meminfo; unknown gives the most.
std::uint64_t availableMemory() {
  std::FILE* meminfo = std::fopen("/proc/meminfo", "r");
  if (!meminfo) return std::numeric_limits<std::uint64_t>::max();
  char line[128];
  unsigned long long kib = 0;
  bool found = false;
  while (!found && std::fgets(line, sizeof line, meminfo))
    found = std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1;
  std::fclose(meminfo);
  return found ? static_cast<std::uint64_t>(kib) * 1024 : std::numeric_limits<std::uint64_t>::max();
}

}  // namespace

void ensureMemoryFor(std::uint64_t bytes) {
  if (bytes >= kLargeRequest && bytes >= availableMemory()) allocationFailed(bytes);
}

void keepFreedMemoryForReuse() {
  // Blocks up to the largest threshold the allocator accepts come from the heap, and the heap's top is
  // given back only when half a gigabyte lies free there.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
}
