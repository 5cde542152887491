#pragma once
// The buffers of large files' reading and writing. On a virtual machine a page fault costs
// several microseconds (ten and more on some), and a run over a large file fills megabytes of
// fresh buffers 4 KB at a time. A buffer of 128 KB or more is therefore asked to come in 2 MB
// pages, where the kernel leaves that to the program: one fault and the clearing of a page, a
// fraction of what 32 or more faults cost. Only these buffers ask: the rest of the process's
// memory is the C library's business.

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace vorlane {

struct LiberaBlocco {
  void operator()(char* p) const noexcept { std::free(p); }
};
using BloccoGrande = std::unique_ptr<char[], LiberaBlocco>;

// The bytes a buffer of `n` bytes really takes: from 128 KB on, whole 2 MB pages, so a buffer
// that grows may as well ask for all of what it gets.
std::size_t dimensioneConcessa(std::size_t n);

// Asks for large pages for the 2 MB pages that lie wholly inside [p, p + n): for a container's
// room reserved at once, before anything is written in it.
void chiediPagineGrandi(const void* p, std::size_t n);

// Reserves room for `n` elements in a vector or string, in large pages where they fit.
template <class Contenitore>
void riservaGrande(Contenitore& c, std::size_t n) {
  std::size_t prima = c.capacity();
  c.reserve(n);
  if (c.capacity() != prima)
    chiediPagineGrandi(c.data(), c.capacity() * sizeof(typename Contenitore::value_type));
}

// A buffer of at least `n` bytes, left uninitialised (dimensioneConcessa(n) usable). Throws
// std::bad_alloc when there is no memory for it.
BloccoGrande bloccoGrande(std::size_t n);

}  // namespace vorlane
