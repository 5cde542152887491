// The program's operator new. On a virtual machine a page fault costs several microseconds (ten
// and more on some), and a run over a large file touches megabytes of fresh memory 4 KB at a
// time: the buffers of its reader and writers, the log's queue, the rows kept for a report. A
// block of 128 KB or more is therefore asked to come in 2 MB pages where the kernel leaves that
// to the program: one fault and the clearing of a page, a fraction of what 32 or more faults
// cost. Small blocks go to malloc as before, and delete stays free.
//
// Left out of the sanitizer builds: their own operator new is what checks new/delete pairs.

#include "text/memoria.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORLANE_NEW_DEL_SANITIZER
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VORLANE_NEW_DEL_SANITIZER
#endif

#include <cstddef>
#include <cstdint>

namespace {
constexpr std::size_t kPaginaGrande = std::size_t{1} << 21;
constexpr std::size_t kSogliaGrande = std::size_t{1} << 17;
}  // namespace

// The same rounding in the sanitizer builds, where it only asks for a little more.
std::size_t vorlane::dimensioneConcessa(std::size_t n) {
  if (n < kSogliaGrande || n > SIZE_MAX - kPaginaGrande) return n;
  return (n + kPaginaGrande - 1) & ~(kPaginaGrande - 1);
}

#ifndef VORLANE_NEW_DEL_SANITIZER

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace {
// A large block starts on a 2 MB boundary and is asked for in 2 MB pages as a whole, before
// anything is written in it (a page already touched stays small). free() takes it back like any
// other block.
void* bloccoGrande(std::size_t n) {
  // A size the rounding up would wrap around cannot be had anyway.
  if (n > SIZE_MAX - kPaginaGrande) return nullptr;
  std::size_t intero = vorlane::dimensioneConcessa(n);
  void* p = std::aligned_alloc(kPaginaGrande, intero);
  if (p) ::madvise(p, intero, MADV_HUGEPAGE);
  return p;
}
}  // namespace

void* operator new(std::size_t n) {
  for (;;) {
    if (void* p = n >= kSogliaGrande ? bloccoGrande(n) : std::malloc(n == 0 ? 1 : n)) return p;
    std::new_handler gestore = std::get_new_handler();
    if (!gestore) throw std::bad_alloc();
    gestore();
  }
}

void operator delete(void* p) noexcept {
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

#endif
