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
    if (i.da <= i.a) {
      copri(posizioni_, i.da, i.a);
    } else {
      copri(posizioni_, i.da, kUltimaPosizione);
      copri(posizioni_, 1, i.a);
    }
  }
}

}  // namespace vorlane
