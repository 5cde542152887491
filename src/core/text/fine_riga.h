#pragma once
// The line-end search of the line reader, the loop every file operation spends much of its time
// in. From `p`, the first CR or LF, as an offset from p; `nonAscii` is set when a byte before it
// is not ASCII (and left alone otherwise). The caller guarantees a CR or LF ahead and that every
// 64-byte step up to it can be loaded.

#include <cstddef>

namespace vorlane {

// The search this machine runs: steps of two 32-byte registers where the processor has AVX2,
// of two 16-byte blocks otherwise.
std::size_t cercaFineRiga(const char* p, bool& nonAscii);

// Both ways, for the tests that check they agree.
std::size_t cercaFineRigaBlocchi16(const char* p, bool& nonAscii);
// Only when avx2Disponibile() (text/blocchi.h).
std::size_t cercaFineRigaAvx2(const char* p, bool& nonAscii);

}  // namespace vorlane
