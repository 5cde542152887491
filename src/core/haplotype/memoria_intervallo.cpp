#include "haplotype/memoria_intervallo.h"

#include <algorithm>
#include <cmath>

#include "text/blocchi.h"

namespace vorlane {

MemoriaIntervallo::MemoriaIntervallo(const StatoVorlane& stato, double da, double a, bool avx2)
    : caratteri_(tabellaCaratteri(stato)), da_(da), a_(a), avx2_(avx2 && avx2Disponibile()) {
  intero_ = da == std::floor(da) && da >= 0 && a >= da;
  if (intero_) massimo_ = std::floor(a - da) + 1;
  basiDirette_ = true;
  for (char b : {'A', 'C', 'G', 'T', 'a', 'c', 'g', 't'})
    basiDirette_ = basiDirette_ && caratteri_[static_cast<unsigned char>(b)] == (b | 0x20);
}

double MemoriaIntervallo::memorizza(std::string& sequenza, std::string_view testo) const {
  if (!intero_) return memorizzaSequenza(sequenza, caratteri_, testo, da_, a_);
  double quanti = std::min(static_cast<double>(testo.size()), massimo_);
  // A line reaching past the sequence needs the careful path, which names the position.
  if (da_ + quanti - 1 > kUltimaPosizione)
    return memorizzaSequenza(sequenza, caratteri_, testo, da_, a_);
  copia(sequenza.data() + static_cast<std::size_t>(da_),
        testo.substr(0, static_cast<std::size_t>(quanti)));
  return da_ + quanti;
}

namespace {
// Characters through the table, for the blocks that are not all bases and the tail.
void perTabella(char* destinazione, const char* sorgente, std::size_t n,
                const TabellaCaratteri& caratteri) {
  for (std::size_t i = 0; i < n; ++i)
    destinazione[i] = caratteri[static_cast<unsigned char>(sorgente[i])];
}

// Blocks made only of bases are folded to lower case as a whole; any other block goes through
// the table. The block tests are the ones the file readers use (one instruction gathers the
// sixteen results on x86-64). Returns how many characters it stored: whole blocks.
std::size_t copiaBlocchi16(char* destinazione, const char* sorgente, std::size_t n,
                           const TabellaCaratteri& caratteri) {
  const Blocco16 minuscole = Blocco16::ripeti(0x20), a = Blocco16::ripeti('a'),
                 c = Blocco16::ripeti('c'), g = Blocco16::ripeti('g'), t = Blocco16::ripeti('t');
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    Blocco16 v = Blocco16::carica(sorgente + i) | minuscole;
    if ((v.uguali(a) | v.uguali(c) | v.uguali(g) | v.uguali(t)).maschera() == 0xFFFF)
      v.salva(destinazione + i);
    else
      perTabella(destinazione + i, sorgente + i, 16, caratteri);
  }
  return i;
}

#ifdef VORLANE_AVX2
// copiaBlocchi16 in blocks of 32, one register each: a 400-character line takes 13 tests.
__attribute__((target("avx2"))) std::size_t copiaBlocchiAvx2(char* destinazione,
                                                             const char* sorgente, std::size_t n,
                                                             const TabellaCaratteri& caratteri) {
  const __m256i minuscole = _mm256_set1_epi8(0x20), a = _mm256_set1_epi8('a'),
                c = _mm256_set1_epi8('c'), g = _mm256_set1_epi8('g'), t = _mm256_set1_epi8('t');
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i v = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(sorgente + i)),
                                minuscole);
    __m256i basi =
        _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, a), _mm256_cmpeq_epi8(v, c)),
                        _mm256_or_si256(_mm256_cmpeq_epi8(v, g), _mm256_cmpeq_epi8(v, t)));
    if (_mm256_movemask_epi8(basi) == -1)
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(destinazione + i), v);
    else
      perTabella(destinazione + i, sorgente + i, 32, caratteri);
  }
  return i;
}
#else
std::size_t copiaBlocchiAvx2(char*, const char*, std::size_t, const TabellaCaratteri&) {
  return 0;
}
#endif
}  // namespace

void MemoriaIntervallo::copia(char* destinazione, std::string_view testo) const {
  const char* sorgente = testo.data();
  std::size_t n = testo.size(), i = 0;
  if (basiDirette_) {
    if (avx2_) i = copiaBlocchiAvx2(destinazione, sorgente, n, caratteri_);
    i += copiaBlocchi16(destinazione + i, sorgente + i, n - i, caratteri_);
  }
  perTabella(destinazione + i, sorgente + i, n - i, caratteri_);
}

}  // namespace vorlane
