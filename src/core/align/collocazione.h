#pragma once
// A placed sample as the operations read it: over the analysis interval, in the per-position
// store the comparisons and the check keep (entry p is position p), and as the list of its
// differences from the reference in the field's notation.

#include <string>
#include <string_view>
#include <vector>

#include "align/allineamento.h"
#include "phylotree/variante.h"
#include "sequence/intervallo.h"

namespace vorlane {

// Whether position p lies in the interval, which may run across the origin.
bool nellIntervallo(const Intervallo& intervallo, int p);

// What of a placed sample falls inside the interval.
struct CampioneCollocato {
  // The interval's positions the sample covers, as one stretch in the interval's order;
  // coperto.inizio 0 when it covers none.
  Intervallo coperto;
  std::vector<Inserzione> inserzioni;  // after a covered position that is not the last
  bool copre() const { return coperto.inizio > 0; }
};

// Writes the covered positions of the interval into `sequenza` (16,570 entries) and keeps the
// insertions between them. Entries outside are not touched.
CampioneCollocato riporta(const Collocazione& collocazione, const Intervallo& intervallo,
                          std::string& sequenza);

// Calls f(p) for every position of the stretch, in its order across the origin.
template <class F>
void perOgniPosizione(const Intervallo& tratto, F&& f) {
  if (tratto.inizio <= 0) return;
  if (!tratto.attraversaOrigine()) {
    for (int p = tratto.inizio; p <= tratto.fine; ++p) f(p);
    return;
  }
  for (int p = tratto.inizio; p <= 16569; ++p) f(p);
  for (int p = 1; p <= tratto.fine; ++p) f(p);
}

// The differences of a sample stored in `sequenza` from `riferimento` (both entry p for
// position p, lower case) over the covered stretch, in its order: a base other than the
// reference's is a substitution, "-" a deletion, an IUPAC code a heteroplasmy; the insertions
// follow the position they come after. Missing data ("n", "?", anything else) is none.
void differenzeCollocate(std::string_view sequenza, std::string_view riferimento,
                         const CampioneCollocato& campione, std::vector<Variante>& differenze);

// The Italian reason a sample could not be placed, for the message that names it.
const char* motivoNonCollocato(EsitoCollocazione esito);

}  // namespace vorlane
