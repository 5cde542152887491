#pragma once
// The buffers of large files' reading and writing. On a virtual machine a page fault costs
// several microseconds (ten and more on some), and a run over a large file fills megabytes of
// fresh buffers 4 KB at a time. A buffer of 128 KB or more is therefore asked to come in 2 MB
// pages, where the kernel leaves that to the program: one fault and the clearing of a page, a
// fraction of what 32 or more faults cost. Only these buffers ask: the rest of the process's
// memory is the C library's business.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace vorlane {

struct LiberaBlocco {
  void operator()(char* p) const noexcept { std::free(p); }
};
using BloccoGrande = std::unique_ptr<char[], LiberaBlocco>;

// The bytes a buffer of `n` bytes really takes: from 128 KB on, whole 2 MB pages, so a buffer
// that grows may as well ask for all of what it gets.
std::size_t dimensioneConcessa(std::size_t n);

// A buffer of at least `n` bytes, left uninitialised (dimensioneConcessa(n) usable). Throws
// std::bad_alloc when there is no memory for it.
BloccoGrande bloccoGrande(std::size_t n);

// The allocator of a container that grows large (a log's queue, a check's matrix, the multiple
// comparison's result list): its room comes from bloccoGrande, so from 128 KB on it starts on a
// 2 MB boundary and lies wholly in large pages. Room the C library maps for itself begins a few
// bytes past a 2 MB boundary, so the large pages asked for it would leave the 2 MB at either end
// of it, which is all of a room of a few megabytes, to small pages.
template <class T>
struct AllocatoreGrande {
  using value_type = T;
  AllocatoreGrande() = default;
  template <class U>
  AllocatoreGrande(const AllocatoreGrande<U>&) noexcept {}
  T* allocate(std::size_t n) {
    static_assert(alignof(T) <= alignof(std::max_align_t));
    if (n > SIZE_MAX / 2 / sizeof(T)) throw std::bad_array_new_length();
    return reinterpret_cast<T*>(bloccoGrande(n * sizeof(T)).release());
  }
  void deallocate(T* p, std::size_t) noexcept { std::free(p); }
  template <class U>
  bool operator==(const AllocatoreGrande<U>&) const noexcept {
    return true;
  }
};

// Text and lists that grow large, on the allocator above.
using TestoGrande = std::basic_string<char, std::char_traits<char>, AllocatoreGrande<char>>;
template <class T>
using VettoreGrande = std::vector<T, AllocatoreGrande<T>>;

}  // namespace vorlane
