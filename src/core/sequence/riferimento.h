#pragma once
#include <string_view>

#include "base/intervallo.h"
#include "base/porta.h"
#include "stato/stato.h"

namespace vorlane {

// The built-in reference: 16,569 lower-case bases, "x" at 3107 where the published sequence
// has the placeholder N.
std::string_view testoRiferimento();
// The position the published sequence keeps only as a placeholder.
inline constexpr int kSegnaposto = 3107;
inline constexpr const char* kCitazioneRiferimento =
    "Andrews et al., 1999 (Nature Genetics 23:147)";

// Calls f(da, a) for the plain stretches of `tratto` in its order: one, or two across the
// origin; none for an empty one (inizio 0).
template <class F>
void perOgniTratto(const Intervallo& tratto, F&& f) {
  if (tratto.inizio <= 0) return;
  if (!tratto.attraversaOrigine()) return f(tratto.inizio, tratto.fine);
  f(tratto.inizio, kUltimaPosizione);
  f(1, tratto.fine);
}

// Calls f(p) for every position of the stretch, in its order across the origin.
template <class F>
void perOgniPosizione(const Intervallo& tratto, F&& f) {
  perOgniTratto(tratto, [&](int da, int a) {
    for (int p = da; p <= a; ++p) f(p);
  });
}

// Fills stato.sequenzaRiferimento (entry p is position p, entry 0 empty) and names the
// reference in the window.
void CaricaSequenzaRiferimento(StatoVorlane& stato, Porta& porta);

}  // namespace vorlane
