#pragma once
// Memory about to be written in full, made present with one system call.
// Each first write to a page otherwise stops for a page fault, fresh memory
// and memory shared with a forked child alike, and on virtual machines those
// cost more than the writing itself. Only whole pages inside the range are
// touched; where the system cannot, nothing happens.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

namespace prefault {

inline void ForWriting(void* data, std::size_t bytes) {
#if defined(__linux__)
#ifdef MADV_POPULATE_WRITE
  constexpr int kPopulateWrite = MADV_POPULATE_WRITE;
#else
  constexpr int kPopulateWrite = 23;  // Linux 5.14 and later; older ones refuse it
#endif
  static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  if (page == 0 || bytes < 4 * page) return;  // not worth a system call
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(page - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, kPopulateWrite);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace prefault
