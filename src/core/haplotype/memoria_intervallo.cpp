#include "haplotype/memoria_intervallo.h"

#include <algorithm>
#include <cmath>

#include "text/blocchi.h"

namespace vorlane {

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
// go through the table. The block tests are the ones the file readers use (one instruction
// gathers the sixteen results on x86-64).
void MemoriaIntervallo::copia(char* destinazione, std::string_view testo) const {
  const char* sorgente = testo.data();
  std::size_t n = testo.size(), i = 0;
  if (basiDirette_) {
    const Blocco16 minuscole = Blocco16::ripeti(0x20), a = Blocco16::ripeti('a'),
                   c = Blocco16::ripeti('c'), g = Blocco16::ripeti('g'), t = Blocco16::ripeti('t');
    for (; i + 16 <= n; i += 16) {
      Blocco16 v = Blocco16::carica(sorgente + i) | minuscole;
      if ((v.uguali(a) | v.uguali(c) | v.uguali(g) | v.uguali(t)).maschera() == 0xFFFF) {
        v.salva(destinazione + i);
        continue;
      }
      for (std::size_t k = i; k < i + 16; ++k)
        destinazione[k] = caratteri_[static_cast<unsigned char>(sorgente[k])];
    }
  }
  for (; i < n; ++i) destinazione[i] = caratteri_[static_cast<unsigned char>(sorgente[i])];
}

}  // namespace vorlane
