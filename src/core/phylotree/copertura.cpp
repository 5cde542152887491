#include "phylotree/copertura.h"

#include <algorithm>

namespace vorlane {

namespace {

void copri(std::bitset<kUltimaPosizione + 1>& posizioni, int da, int a) {
  for (int p = std::max(da, 1); p <= std::min(a, kUltimaPosizione); ++p) posizioni.set(p);
}

}  // namespace

Copertura::Copertura(const std::vector<Intervallo>& intervalli) {
  for (const Intervallo& i : intervalli) {
    if (i.inizio <= i.fine) {
      copri(posizioni_, i.inizio, i.fine);
    } else {
      copri(posizioni_, i.inizio, kUltimaPosizione);
      copri(posizioni_, 1, i.fine);
    }
  }
}

}  // namespace vorlane
