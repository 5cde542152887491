#pragma once
// The haplogroup of a sample from the whole tree. Every haplogroup is scored by the weighted
// Kulczynski measure between the sample's variants and the haplogroup's expected variants:
//   qualità = (W(shared) / W(expected) + W(shared) / W(sample)) / 2,
// W the sum of the variants' weights, a ratio with nothing to divide by counting as 1 (nothing
// expected is nothing missed; a sample with no variants leaves nothing unexplained). Only
// variants inside the sample's coverage count, and hot spots (puntoCaldo) on neither side. A
// variant weighs 3 at a site that changes once in the tree, falling on a log scale to 1 at the
// tree's fastest site: a match at a rare site says more about the lineage than one at a site
// that has changed on many branches.
//
// Exact ties are common (haplogroups that differ only outside the coverage score alike): the
// tied haplogroups vote for their top-level group, the group with most votes wins (on equal
// votes the one met first in the tree), and within it the haplogroup related to most of the
// tied ones (ancestors and descendants, of any group) is the call, the first in the tree on
// equal counts. A clade tied with its parent thus comes back as the parent, the deepest call the
// coverage supports.
//
// The margin is the call's score minus the best score of a haplogroup of another top-level
// group: how far the sample is from being called something else at top level.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "phylotree/albero.h"
#include "phylotree/copertura.h"
#include "sequence/variante.h"

namespace vorlane {

// Sites that change so often, or are aligned so differently from one sample to the next, that
// a match or a miss there says nothing of the lineage: the insertions in the HV2 C tract
// (309.1C, 309.2C, 310.1T, 315.1C) and after 16193, the AC repeat's indels at 523-524, the
// substitutions at 16182, 16183 and 16519, and 3107, which the rCRS keeps only as a placeholder.
// The classifier leaves them out of both the sample and the haplogroups.
bool puntoCaldo(const Variante& v);

inline constexpr double kMargineAffidabile = 0.1;

// A variant's weight in hundredths: 300 at a site that changes at most once, 100 at the tree's
// fastest, log-linear in between.
int pesoVariante(int cambiSito, int cambiMassimi);

struct Classificazione {
  int aplogruppo = -1;  // into the tree's aplogruppi()
  std::string nome;
  double qualita = 0;
  double margine = 0;
  bool affidabile() const { return margine >= kMargineAffidabile; }
};

struct ConfrontoAplogruppo {
  std::vector<Variante> mancanti;  // expected by the haplogroup, not in the sample
  std::vector<Variante> inattese;  // in the sample, not expected by the haplogroup
};

// The tree seen through one coverage, built once for all the samples that share it (a few
// milliseconds for the whole PhyloTree). Haplogroups with the same expected variants inside the
// coverage are scored once. It does not change once built, so threads may share it, each with a
// Lavoro of its own.
class ClassificatoreAplogruppi {
 public:
  ClassificatoreAplogruppi(const AlberoAplogruppi& albero, const Copertura& copertura);

  // Scratch kept between the samples of one thread, so that a sample allocates nothing.
  struct Lavoro {
    std::vector<int> raro;  // per set, the weight of the sample's rare variants it expects
    std::vector<int> toccati, campione, pesoForma, forme, candidati, pari, membri, voti, antenati;
    std::vector<double> qualitaToccati;
    std::vector<float> tettoVeloce;  // each form's bound, in single precision
    std::size_t quanteForme = 0;     // those of forme that formeVicine found
    std::size_t quantiToccati = 0;   // the touched sets, at the head of toccati
    std::vector<Variante> contate;
    std::uint64_t maschera = 0;  // the sample's common variants, as bits of the forms
    double inversoCampione = 0, senzaCampione = 0;
  };
  // The best haplogroup for the sample's variants; variants outside the coverage and hot spots
  // are ignored, a variant given twice counts once.
  Classificazione classifica(std::span<const Variante> campione) const;
  Classificazione classifica(std::span<const Variante> campione, Lavoro& lavoro) const;
  // The counted variants on which the sample and one haplogroup differ, each list increasing.
  ConfrontoAplogruppo confronta(int aplogruppo, std::span<const Variante> campione) const;

  const AlberoAplogruppi& albero() const { return *albero_; }
  bool conta(const Variante& v) const { return copertura_.contiene(v.posizione) && !puntoCaldo(v); }

 private:
  struct Insieme {
    int atteso = 0;           // weight of the expected variants
    std::vector<int> membri;  // haplogroups, increasing
    std::vector<int> gruppi;  // their top-level groups, each once
    int vincitore = -1;       // the call when this set alone holds the best score
  };
  // The score as the fraction numeratore / denominatore of the two ratios' sum, so that ties are
  // found exactly.
  struct Punteggio {
    std::int64_t numeratore = 0, denominatore = 1;
    double qualita() const { return static_cast<double>(numeratore) / (2.0 * denominatore); }
    bool operator<(const Punteggio& b) const {
      return numeratore * b.denominatore < b.numeratore * denominatore;
    }
    bool operator==(const Punteggio& b) const {
      return numeratore * b.denominatore == b.numeratore * denominatore;
    }
  };

  void preparaColonne();
  Insieme nuovoInsieme(const std::vector<int>& membri, Lavoro& lavoro) const;
  void aggiungiInsieme(const std::vector<int>& colonne, Insieme insieme,
                       std::vector<std::vector<int>>& insiemiColonna);
  void preparaForme(const std::vector<std::vector<int>>& insiemiColonna);
  int colonna(const Variante& v) const;
  int peso(const Variante& v) const;
  int preparaCampione(std::span<const Variante> campione, Lavoro& lavoro) const;
  void accumula(Lavoro& lavoro) const;
  int trovato(std::size_t insieme, const Lavoro& lavoro) const;
  double tettoForma(std::size_t forma, const Lavoro& lavoro) const;
  void formeVicine(double soglia, Lavoro& lavoro) const;
  double qualita(std::size_t insieme, int trovato, const Lavoro& lavoro) const;
  bool toccato(std::size_t insieme, const Lavoro& lavoro) const {
    return lavoro.raro[insieme] != 0;
  }
  double migliore(Lavoro& lavoro) const;
  void candidati(double soglia, Lavoro& lavoro) const;
  double miglioreFuori(int gruppo, Lavoro& lavoro) const;
  Punteggio punteggio(int insieme, int pesoCampione, const Lavoro& lavoro) const;
  Classificazione scegli(int pesoCampione, Lavoro& lavoro) const;
  int spareggio(std::span<const int> pari, Lavoro& lavoro) const;
  int vincitore(std::span<const int> insiemiPari, Lavoro& lavoro) const;

  const AlberoAplogruppi* albero_;
  Copertura copertura_;
  std::vector<Variante> variantiColonna_;  // the tree's counted variants, increasing: the columns
  std::vector<int> primaColonna_;  // position p's columns: primaColonna_[p] .. primaColonna_[p + 1]
  std::vector<int> pesoColonna_;
  std::vector<int> pesoPosizione_;  // the weight of a substitution at position p
  // A column that many sets expect (16223T, 263G, 73G) is a bit of bitColonna_, and the sets
  // with the same such bits make one form; any other column keeps the list of the sets that
  // expect it, insiemiColonne_[inizioColonna_[c] .. inizioColonna_[c + 1]).
  std::vector<int> bitColonna_;  // -1 for a column with a list
  std::vector<int> pesoBit_;
  std::vector<std::size_t> inizioColonna_;
  std::vector<int> insiemiColonne_;
  std::vector<Insieme> insiemi_;
  std::vector<double> inversoAtteso_;  // 1 / (2 atteso), 0 for the empty set
  std::vector<int> formaInsieme_;
  // Form f's sets, the empty set left out, by increasing atteso (then index):
  // insiemiForme_[inizioForma_[f] .. inizioForma_[f + 1]); formaInsieme_ is -1 for the empty set.
  // Before primoAltro_[f], only sets of the group of the form's first set.
  std::vector<std::uint64_t> mascheraForma_;
  std::vector<std::size_t> inizioForma_;
  std::vector<int> insiemiForme_;
  std::vector<int> pesoBitForma_;    // bit b's weight in form f at b * forms + f, or 0
  std::vector<float> inversoTesta_;  // inversoAtteso_ of each form's first set
  std::vector<std::size_t> primoAltro_;
  std::vector<int> soloGruppo_;  // the set's one group, -1 for a set spanning groups
  int insiemeVuoto_ = -1;
};

// The call for one sample on the whole PhyloTree, for a caller with a single sample.
Classificazione classificaAplogruppo(std::span<const Variante> campione,
                                     const Copertura& copertura);

}  // namespace vorlane
