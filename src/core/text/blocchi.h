#pragma once
// Sixteen bytes tested at once, for the loops that look at every byte of a large file. A test
// gives a block of 0xFF where it holds and 0 elsewhere; `maschera` turns a block into bits,
// bit i for byte i.

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// GCC and Clang on x86-64 can build a function for AVX2 beside the rest of the program, which
// stays runnable on any x86-64: such a function is called only after avx2Disponibile().
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VORLANE_AVX2 1
#include <immintrin.h>
#endif

namespace vorlane {

// Whether the processor runs AVX2 instructions, asked once.
inline bool avx2Disponibile() {
#ifdef VORLANE_AVX2
  static const bool disponibile = __builtin_cpu_supports("avx2");
  return disponibile;
#else
  return false;
#endif
}

#if defined(__SSE2__)
class Blocco16 {
 public:
  static Blocco16 carica(const char* p) {
    return Blocco16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  void salva(char* p) const { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v_); }
  static Blocco16 ripeti(char c) { return Blocco16(_mm_set1_epi8(c)); }
  Blocco16 operator|(Blocco16 b) const { return Blocco16(_mm_or_si128(v_, b.v_)); }
  Blocco16 uguali(Blocco16 b) const { return Blocco16(_mm_cmpeq_epi8(v_, b.v_)); }
  // Bytes below those of b taken as signed: below b's in ASCII, and every non-ASCII byte.
  Blocco16 minoriConSegno(Blocco16 b) const { return Blocco16(_mm_cmplt_epi8(v_, b.v_)); }
  // The high bit of each byte: of a test, where it holds; of data, where a byte is not ASCII.
  std::uint32_t maschera() const { return static_cast<std::uint32_t>(_mm_movemask_epi8(v_)); }

 private:
  explicit Blocco16(__m128i v) : v_(v) {}
  __m128i v_;
};
#else
// Without SSE2 (NEON has no mask extraction) the vector operations of GCC and Clang are used and
// the high bit of each byte is gathered by a multiplication that moves the bit of byte j to bit
// 56 + j without two terms meeting (the first byte in memory is the lowest on little-endian).
class Blocco16 {
  using Byte16 = std::uint8_t __attribute__((vector_size(16)));
  using Segnati16 = std::int8_t __attribute__((vector_size(16)));

 public:
  static Blocco16 carica(const char* p) {
    Byte16 v;
    std::memcpy(&v, p, sizeof v);
    return Blocco16(v);
  }
  void salva(char* p) const { std::memcpy(p, &v_, sizeof v_); }
  static Blocco16 ripeti(char c) {
    Byte16 v;
    std::memset(&v, c, sizeof v);
    return Blocco16(v);
  }
  Blocco16 operator|(Blocco16 b) const { return Blocco16(v_ | b.v_); }
  Blocco16 uguali(Blocco16 b) const { return Blocco16(reinterpret_cast<Byte16>(v_ == b.v_)); }
  Blocco16 minoriConSegno(Blocco16 b) const {
    return Blocco16(reinterpret_cast<Byte16>(reinterpret_cast<Segnati16>(v_) <
                                             reinterpret_cast<Segnati16>(b.v_)));
  }
  std::uint32_t maschera() const {
    std::uint64_t parole[2];
    std::memcpy(parole, &v_, sizeof parole);
    return static_cast<std::uint32_t>(bitAlti(parole[0]) | bitAlti(parole[1]) << 8);
  }

 private:
  explicit Blocco16(Byte16 v) : v_(v) {}
  static std::uint64_t bitAlti(std::uint64_t d) {
    static_assert(std::endian::native == std::endian::little);
    return (((d & 0x8080808080808080ull) >> 7) * 0x0102040810204080ull) >> 56;
  }
  Byte16 v_;
};
#endif

}  // namespace vorlane
