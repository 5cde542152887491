#pragma once
// Where a sample differs from the reference: the one comparison under the check, the single and
// multiple comparisons and the conversion. The sample text and the reference text are laid side
// by side from one origin; the reference comes in lower case with its fold, 0x20 where it holds
// a letter, so that a sample character OR-ed with the fold equals the reference's exactly when
// it is the reference's letter in either case. Each operation then decides what a marked
// position means to it (a base the comparisons count, a token of the table, a listed position).
//
// Samples agree with the reference almost everywhere, and where they differ is random: the
// positions are compared 64 at a time, by one AVX2 comparison per 32 where the processor has it
// and sixteen at a time otherwise, and only the few marked ones reach the caller's function,
// without a branch per position.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/blocchi.h"

namespace vorlane {

// The fold of a lower-case reference text: 0x20 at its letters a-z, 0 elsewhere.
std::string piegaDi(std::string_view minuscolo);
// The fold of a reference with a letter at every position, 0x20 throughout: room for `n`
// positions of it, and for the whole genome's.
const char* piegaLettere(std::size_t n);

namespace dettaglio {

// Bit i set where c[i] | piega[i] is not r[i], for i < 16.
inline std::uint64_t diversi16(const char* c, const char* piega, const char* r) {
  auto carica = Blocco16::carica;
  return ~(carica(c) | carica(piega)).uguali(carica(r)).maschera() & 0xFFFFu;
}

// The same for the n < 64 characters from c, sixteen at a time and the rest one by one.
inline std::uint64_t diversiFino64(const char* c, const char* piega, const char* r, std::size_t n) {
  std::uint64_t m = 0;
  std::size_t k = 0;
  for (; k + 16 <= n; k += 16) m |= diversi16(c + k, piega + k, r + k) << k;
  for (; k < n; ++k)
    m |= static_cast<std::uint64_t>(static_cast<char>(c[k] | piega[k]) != r[k]) << k;
  return m;
}

template <class F>
inline void perBit(std::uint64_t m, std::size_t da, F& f) {
  for (; m != 0; m &= m - 1) f(da + static_cast<std::size_t>(std::countr_zero(m)));
}

template <class F>
void diverse16(const char* c, const char* r, const char* piega, std::size_t n, F& f) {
  std::size_t da = 0;
  for (; da + 64 <= n; da += 64)
    perBit(diversi16(c + da, piega + da, r + da) |
               diversi16(c + da + 16, piega + da + 16, r + da + 16) << 16 |
               diversi16(c + da + 32, piega + da + 32, r + da + 32) << 32 |
               diversi16(c + da + 48, piega + da + 48, r + da + 48) << 48,
           da, f);
  if (da < n) perBit(diversiFino64(c + da, piega + da, r + da, n - da), da, f);
}

#ifdef VORLANE_AVX2
__attribute__((target("avx2"))) inline std::uint64_t diversi32(const char* c, const char* piega,
                                                               const char* r) {
  const __m256i* campione = reinterpret_cast<const __m256i*>(c);
  const __m256i* pieghe = reinterpret_cast<const __m256i*>(piega);
  const __m256i* riferimento = reinterpret_cast<const __m256i*>(r);
  __m256i piegato = _mm256_or_si256(_mm256_loadu_si256(campione), _mm256_loadu_si256(pieghe));
  __m256i uguali = _mm256_cmpeq_epi8(piegato, _mm256_loadu_si256(riferimento));
  return ~static_cast<std::uint32_t>(_mm256_movemask_epi8(uguali));
}

__attribute__((target("avx2"))) inline std::uint64_t diversi64(const char* c, const char* piega,
                                                               const char* r) {
  return diversi32(c, piega, r) | diversi32(c + 32, piega + 32, r + 32) << 32;
}

// n at least 64. The caller's function is inlined here, so nothing built without AVX2 runs
// with the registers' upper halves in use (which slows some processors down).
template <class F>
__attribute__((target("avx2"))) void diverseAvx2(const char* c, const char* r, const char* piega,
                                                 std::size_t n, F& f) {
  std::size_t da = 0;
  for (; da + 64 <= n; da += 64) perBit(diversi64(c + da, piega + da, r + da), da, f);
  // The last characters: the step of 64 that ends with them, those compared already left out.
  if (da < n) {
    const std::size_t k = n - 64;
    perBit(diversi64(c + k, piega + k, r + k) >> (da - k), da, f);
  }
}
#endif

}  // namespace dettaglio

// Calls f(k), in increasing order, for every k < n where campione[k] OR-ed with piega[k] is not
// riferimento[k]. `avx2` false keeps to sixteen at a time, for the tests that compare both ways.
template <class F>
void perOgniDifferenza(const char* campione, const char* riferimento, const char* piega,
                       std::size_t n, F&& f, bool avx2 = true) {
#ifdef VORLANE_AVX2
  if (avx2 && n >= 64 && avx2Disponibile())
    return dettaglio::diverseAvx2(campione, riferimento, piega, n, f);
#endif
  dettaglio::diverse16(campione, riferimento, piega, n, f);
}

}  // namespace vorlane
