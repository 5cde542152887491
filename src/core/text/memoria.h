#pragma once
// What the program's operator new (memoria.cpp) does with a block's size.

#include <cstddef>

namespace vorlane {

// The bytes a block of `n` bytes really takes: from a size on, blocks come in whole 2 MB pages,
// and a buffer that grows may as well ask for all of what it gets.
std::size_t dimensioneConcessa(std::size_t n);

}  // namespace vorlane
