#include "haplotype/memoria_intervallo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace vorlane {
namespace {

// GCC and Clang vectors: plain SSE2 on x86-64, NEON on ARM, byte loops elsewhere.
using Blocco16 = std::uint8_t __attribute__((vector_size(16)));

Blocco16 carica(const char* p) {
  Blocco16 b;
  std::memcpy(&b, p, sizeof b);
  return b;
}

// Whether all sixteen lanes of a comparison result are true. On x86-64 one instruction gathers
// the lanes' top bits: taking the two halves out of the vector register costs several more.
bool tutti(Blocco16 esito) {
#ifdef __SSE2__
  using Byte16 = char __attribute__((vector_size(16)));
  return __builtin_ia32_pmovmskb128(reinterpret_cast<Byte16>(esito)) == 0xFFFF;
#else
  std::uint64_t parole[2];
  std::memcpy(parole, &esito, sizeof parole);
  return (parole[0] & parole[1]) == ~std::uint64_t{0};
#endif
}

}  // namespace

MemoriaIntervallo::MemoriaIntervallo(const StatoVorlane& stato, double da, double a)
    : caratteri_(tabellaCaratteri(stato)), da_(da), a_(a) {
  intero_ = da == std::floor(da) && da >= 0 && a >= da;
  if (intero_) massimo_ = std::floor(a - da) + 1;
  basiDirette_ = true;
  for (char b : {'A', 'C', 'G', 'T', 'a', 'c', 'g', 't'})
    basiDirette_ = basiDirette_ && caratteri_[static_cast<unsigned char>(b)] == (b | 0x20);
}

double MemoriaIntervallo::memorizza(StatoVorlane& stato, std::string_view testo) const {
  if (!intero_) return memorizzaSequenza(stato, caratteri_, testo, da_, a_);
  double quanti = std::min(static_cast<double>(testo.size()), massimo_);
  // A line reaching past the sequence needs the careful path, which names the position.
  if (da_ + quanti - 1 > kUltimaPosizione)
    return memorizzaSequenza(stato, caratteri_, testo, da_, a_);
  copia(stato.sequenzaCampione.data() + static_cast<std::size_t>(da_),
        testo.substr(0, static_cast<std::size_t>(quanti)));
  return da_ + quanti;
}

// Blocks made only of bases are folded to lower case as a whole; any other block, and the tail,
// go through the table.
void MemoriaIntervallo::copia(char* destinazione, std::string_view testo) const {
  const char* sorgente = testo.data();
  std::size_t n = testo.size(), i = 0;
  if (basiDirette_) {
    for (; i + 16 <= n; i += 16) {
      Blocco16 v = carica(sorgente + i) | 0x20;
      if (tutti((v == 'a') | (v == 'c') | (v == 'g') | (v == 't'))) {
        std::memcpy(destinazione + i, &v, sizeof v);
        continue;
      }
      for (std::size_t k = i; k < i + 16; ++k)
        destinazione[k] = caratteri_[static_cast<unsigned char>(sorgente[k])];
    }
  }
  for (; i < n; ++i) destinazione[i] = caratteri_[static_cast<unsigned char>(sorgente[i])];
}

}  // namespace vorlane
