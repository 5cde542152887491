#include "io/memoria.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace vorlane {
namespace {
constexpr std::size_t kPaginaGrande = std::size_t{1} << 21;
constexpr std::size_t kSogliaGrande = std::size_t{1} << 17;
}  // namespace

std::size_t dimensioneConcessa(std::size_t n) {
  if (n < kSogliaGrande || n > SIZE_MAX - kPaginaGrande) return n;
  return (n + kPaginaGrande - 1) & ~(kPaginaGrande - 1);
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
    if (p)
      ::madvise(p, intero, MADV_HUGEPAGE);
    else  // the alignment costs up to 2 MB more room, which a limited process may not have
      p = std::malloc(intero);
  }
  if (!p) throw std::bad_alloc();
  return BloccoGrande(static_cast<char*>(p));
}

}  // namespace vorlane
