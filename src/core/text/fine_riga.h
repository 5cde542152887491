#pragma once
// The line-end search of the line reader, the loop every file operation spends much of its time
// in. From `p`, the first CR or LF, as an offset from p; `nonAscii` is set when a byte before it
// is not ASCII (and left alone otherwise). The caller guarantees a CR or LF ahead and that every
// 64-byte step up to it can be loaded.

#include <cstddef>

#include "text/blocchi.h"

namespace vorlane {

// Both ways, for the tests that check they agree.
std::size_t cercaFineRigaBlocchi16(const char* p, bool& nonAscii);
// Only when avx2Disponibile().
std::size_t cercaFineRigaAvx2(const char* p, bool& nonAscii);

// The search this machine runs: steps of two 32-byte registers where the processor has AVX2,
// of two 16-byte blocks otherwise. Inline: it runs once per line, and a call of its own would
// cost about as much as the choice.
inline std::size_t cercaFineRiga(const char* p, bool& nonAscii) {
  return avx2Disponibile() ? cercaFineRigaAvx2(p, nonAscii) : cercaFineRigaBlocchi16(p, nonAscii);
}

}  // namespace vorlane
