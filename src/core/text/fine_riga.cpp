#include "text/fine_riga.h"

#include <bit>
#include <cstdint>

#include "text/blocchi.h"

namespace vorlane {
namespace {
// Of the line ends `fini` and the non-ASCII bytes `alti` of one step, the offset of the first
// end, or -1 when the step holds none; only the bytes before the end count as the line's.
int fineNelPasso(std::uint32_t fini, std::uint32_t alti, bool& nonAscii) {
  if (fini != 0) alti &= (fini & (0u - fini)) - 1;
  nonAscii |= alti != 0;
  return fini != 0 ? std::countr_zero(fini) : -1;
}
}  // namespace

std::size_t cercaFineRigaBlocchi16(const char* inizio, bool& nonAscii) {
  const Blocco16 lf = Blocco16::ripeti('\n'), cr = Blocco16::ripeti('\r');
  // CR, LF and the non-ASCII bytes are below CR + 1 taken as signed, along with TAB and other
  // control characters: one test tells the steps that hold none, which are most of them.
  const Blocco16 sopraCr = Blocco16::ripeti('\r' + 1);
  for (const char* p = inizio;; p += 32) {
    Blocco16 a = Blocco16::carica(p), b = Blocco16::carica(p + 16);
    if ((a.minoriConSegno(sopraCr) | b.minoriConSegno(sopraCr)).maschera() == 0) continue;
    Blocco16 fineA = a.uguali(lf) | a.uguali(cr), fineB = b.uguali(lf) | b.uguali(cr);
    int fine = fineNelPasso(fineA.maschera() | fineB.maschera() << 16,
                            a.maschera() | b.maschera() << 16, nonAscii);
    if (fine >= 0) return static_cast<std::size_t>(p - inizio) + static_cast<std::size_t>(fine);
  }
}

#ifdef VORLANE_AVX2
// The same steps as the 16-byte search, each in one register.
__attribute__((target("avx2"))) std::size_t cercaFineRigaAvx2(const char* inizio, bool& nonAscii) {
  const __m256i lf = _mm256_set1_epi8('\n'), cr = _mm256_set1_epi8('\r');
  const __m256i sopraCr = _mm256_set1_epi8('\r' + 1);
  for (const char* p = inizio;; p += 32) {
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    if (_mm256_movemask_epi8(_mm256_cmpgt_epi8(sopraCr, v)) == 0) continue;
    __m256i fini = _mm256_or_si256(_mm256_cmpeq_epi8(v, lf), _mm256_cmpeq_epi8(v, cr));
    int fine = fineNelPasso(static_cast<std::uint32_t>(_mm256_movemask_epi8(fini)),
                            static_cast<std::uint32_t>(_mm256_movemask_epi8(v)), nonAscii);
    if (fine >= 0) return static_cast<std::size_t>(p - inizio) + static_cast<std::size_t>(fine);
  }
}
#else
std::size_t cercaFineRigaAvx2(const char* inizio, bool& nonAscii) {
  return cercaFineRigaBlocchi16(inizio, nonAscii);
}
#endif

std::size_t cercaFineRiga(const char* p, bool& nonAscii) {
  return avx2Disponibile() ? cercaFineRigaAvx2(p, nonAscii) : cercaFineRigaBlocchi16(p, nonAscii);
}

}  // namespace vorlane
