#include "mutation/combinazioni.h"

#include <cmath>
#include <limits>

#include "base/errore.h"
#include "text/testo.h"

namespace vorlane {

TabellaCombinazioni::TabellaCombinazioni(std::int32_t righe, std::int32_t colonne)
    : righe_(righe), colonne_(colonne) {
  if (righe < 1 || colonne < 1) throw ErroreVorlane("dimensioni della tabella non valide");
  celle_.resize(static_cast<std::size_t>(righe) * static_cast<std::size_t>(colonne));
}

double Prodotto(std::int32_t n, std::int32_t k) {
  return procedura("Prodotto", [&] {
    double p = 1.0;
    for (std::int64_t i = k; i <= n; ++i) p *= static_cast<double>(i);
    if (std::isinf(p)) throw ErroreVorlane("overflow");
    return p;
  });
}

std::int32_t Cnk(std::int32_t n, std::int32_t k) {
  return procedura("Cnk", [&] {
    double d = Prodotto(k, 2);
    std::int64_t basso = static_cast<std::int64_t>(n) - k + 1;
    if (basso > std::numeric_limits<std::int32_t>::max() ||
        basso < std::numeric_limits<std::int32_t>::min())
      throw ErroreVorlane("overflow");
    double q = arrotondaPari(Prodotto(n, static_cast<std::int32_t>(basso)) / d);
    if (!(q >= std::numeric_limits<std::int32_t>::min() &&
          q <= std::numeric_limits<std::int32_t>::max()))
      throw ErroreVorlane("overflow");
    return static_cast<std::int32_t>(q);
  });
}

bool CombinazioniSemplici(std::int32_t n, std::int32_t k, TabellaCombinazioni& tabella) {
  return procedura("CombinazioniSemplici", [&] {
    std::int32_t totale = Cnk(n, k);
    tabella = TabellaCombinazioni(totale, k);
    for (std::int32_t j = 1; j <= k; ++j) tabella(1, j) = j;
    for (std::int32_t r = 2; r <= totale; ++r) {
      std::int32_t j = k;
      while (tabella(r - 1, j) >= n - k + j) --j;
      for (std::int32_t c = 1; c < j; ++c) tabella(r, c) = tabella(r - 1, c);
      tabella(r, j) = tabella(r - 1, j) + 1;
      for (std::int32_t c = j + 1; c <= k; ++c) tabella(r, c) = tabella(r, c - 1) + 1;
    }
    return true;
  });
}

}  // namespace vorlane
