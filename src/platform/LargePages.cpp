#include "platform/LargePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

void PrepareLargeBuffer(void* data, std::size_t size) {
#if defined(__linux__)
  if (data == nullptr || size == 0) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t end = begin + size;
#if defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kBlock = std::uintptr_t{2} << 20;
  const std::uintptr_t firstBlock = (begin + kBlock - 1) & ~(kBlock - 1);
  const std::uintptr_t lastBlock = end & ~(kBlock - 1);
  if (lastBlock > firstBlock) madvise(reinterpret_cast<void*>(firstBlock), lastBlock - firstBlock, MADV_HUGEPAGE);
#endif
#if defined(MADV_POPULATE_WRITE)
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  if (page == 0 || (page & (page - 1)) != 0) return;
  const std::uintptr_t first = begin & ~(page - 1);
  const std::uintptr_t last = (end + page - 1) & ~(page - 1);
  madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#endif
#else
  (void)data;
  (void)size;
#endif
}
