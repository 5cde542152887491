#pragma once
// What the single and the multiple comparison share: the analysis interval, the marking of the
// mutated positions, the mutation list written in lines of 10, and the log block.

#include <cstddef>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "align/collocazione.h"
#include "base/intervallo.h"
#include "base/porta.h"
#include "log/registro.h"
#include "sequence/caricamento.h"
#include "sequence/variante.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

inline constexpr const char* kRigaMutazioni = "Mutazioni                     : ";

// The settings and boxes a comparison reads, taken once per operation.
struct RegoleConfronto {
  double mutazioniDa = 0, mutazioniA = 0;  // NumeroMutazioniDa / NumeroMutazioniA
  // The two position boxes: the positions the interval covers, the end below the start when
  // it runs across the origin.
  Intervallo intervallo;
  // Whether samples are aligned to the reference, or placed from the interval's start on. A
  // sample of an interval across the origin is placed by the aligner's rules either way.
  bool allinea = true;
  bool collocaCampioni() const { return vorlane::collocaCampioni(allinea, intervallo); }

  // Whether a sample with `numeroMutazioni` mutations gets its positions listed.
  bool elenca(double numeroMutazioni) const {
    return mutazioniDa <= numeroMutazioni && numeroMutazioni <= mutazioniA;
  }
};
// An interval that is not valid (see intervalloImpostato) is an error that says why; an end below
// the start runs across the origin.
RegoleConfronto regoleConfronto(const StatoVorlane& stato, const Caselle& caselle);

// Marks the positions of [primo, ultimo], up to the sample's length, whose sample base (a, c, g,
// t) differs from the reference's and counts them in its numeroMutazioni; marks outside the
// range are not touched. The positions it marks are appended to `segnate`, in increasing order:
// a caller that lists them then needs no second pass over the marks. Positions are compared 32
// at a time where the processor has AVX2, unless `avx2` is false (for the tests that check both
// ways).
void segnaMutazioni(CampioneCaricato& campione, std::string_view riferimento, std::size_t primo,
                    std::size_t ultimo, std::vector<int>& segnate, bool avx2 = true);
// The same on a sample and marks of a caller's own, [primo, ultimo] inside both sequences;
// returns how many it marked. For threads that compare samples side by side. With `mancanti`,
// the positions holding no base are listed there, in increasing order.
std::size_t segnaMutazioni(std::string_view campione, std::string_view riferimento,
                           std::size_t primo, std::size_t ultimo, char* marche,
                           std::vector<int>& segnate, bool avx2 = true,
                           std::vector<int>* mancanti = nullptr);

// "*--- " + msg::analisiVorlane + ": " + the short date of `giorno` + " -----------*"
std::string rigaInizioBlocco(const StatoVorlane& stato, const std::tm& giorno);
std::string rigaInizioBlocco(const StatoVorlane& stato);  // today's

struct ElencoMutazioni {
  std::string posizioni;    // every listed position, "," separated
  std::vector<int> numeri;  // the same positions as numbers
  // Where the positions not yet written in a line start in `posizioni`.
  std::size_t inizioParziale = 0;
  int quante = 0;
  // The last 1 to 9 positions, not yet written.
  std::string_view parziale() const {
    return inizioParziale < posizioni.size() ? std::string_view(posizioni).substr(inizioParziale)
                                             : std::string_view();
  }
  void azzera() {
    posizioni.clear();
    numeri.clear();
    inizioParziale = 0;
    quante = 0;
  }
};
// Lists the marked positions of [primo, ultimo] in increasing order; each complete line of 10
// goes to `blocco` as soon as it is full, the rest stays in elenco.parziale().
void elencaMutazioni(const CampioneCaricato& campione, std::size_t primo, std::size_t ultimo,
                     ElencoMutazioni& elenco, BloccoRegistro& blocco);
// The same for positions already known, in increasing order and inside the sequence.
void elencaPosizioni(std::span<const int> posizioni, ElencoMutazioni& elenco,
                     BloccoRegistro& blocco);
// The same for a placed sample's differences, in their order: a substitution as its bare
// position, like the others, and the other kinds in the tree's notation (315.1C, 523d, 16093Y).
// Only the substitutions' positions go to elenco.numeri, which the table's search reads.
void elencaDifferenze(std::span<const Variante> differenze, ElencoMutazioni& elenco,
                      BloccoRegistro& blocco);
// listed x 100 / numeroMutazioni.
std::string percentualeMutazioni(int elencate, double numeroMutazioni);

}  // namespace vorlane
