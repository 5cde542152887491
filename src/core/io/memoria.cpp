#include "io/memoria.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace vorlane {
namespace {
constexpr std::size_t kPaginaGrande = std::size_t{1} << 21;
constexpr std::size_t kSogliaGrande = std::size_t{1} << 17;
constexpr std::uintptr_t kPagina = 4096;
}  // namespace

std::size_t dimensioneConcessa(std::size_t n) {
  if (n < kSogliaGrande || n > SIZE_MAX - kPaginaGrande) return n;
  return (n + kPaginaGrande - 1) & ~(kPaginaGrande - 1);
}

void chiediPagineGrandi(const void* p, std::size_t n) {
  auto inizio = reinterpret_cast<std::uintptr_t>(p);
  if (n < kPaginaGrande || inizio > UINTPTR_MAX - n - kPagina) return;
  // The whole 4 KB pages the room lies on: a block of this size is a mapping of its own, which
  // begins a few bytes before the room, often on a 2 MB boundary; asking from the first whole
  // 2 MB page on would leave the first 2 MB to small pages.
  std::uintptr_t da = inizio & ~(kPagina - 1);
  std::uintptr_t a = (inizio + n + kPagina - 1) & ~(kPagina - 1);
  ::madvise(reinterpret_cast<void*>(da), a - da, MADV_HUGEPAGE);
}

BloccoGrande bloccoGrande(std::size_t n) {
  void* p = nullptr;
  if (n < kSogliaGrande) {
    p = std::malloc(n == 0 ? 1 : n);
  } else if (n <= SIZE_MAX - kPaginaGrande) {
    // On a 2 MB boundary and asked for in large pages as a whole, before anything is written in
    // it (a page already touched stays small).
    std::size_t intero = dimensioneConcessa(n);
    p = std::aligned_alloc(kPaginaGrande, intero);
    if (p) ::madvise(p, intero, MADV_HUGEPAGE);
  }
  if (!p) throw std::bad_alloc();
  return BloccoGrande(static_cast<char*>(p));
}

}  // namespace vorlane
