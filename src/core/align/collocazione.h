#pragma once
// A placed sample as the operations read it: over the analysis interval, in the per-position
// store the comparisons and the check keep (entry p is position p), and as the list of its
// differences from the reference in the field's notation.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "align/allineamento.h"
#include "base/intervallo.h"
#include "sequence/alfabeto.h"
#include "sequence/campioni.h"
#include "sequence/riferimento.h"
#include "sequence/variante.h"
#include "stato/stato.h"

namespace vorlane {

// Why a sample has no place in a run's results; or, placed from the interval's start with
// alignment off, why that place looks wrong.
enum class MotivoEscluso {
  troppoCorto,
  troppoLungo,
  troppiMancanti,
  nonRiconosciuto,
  fuoriIntervallo,
  piuLungo,             // much longer than the interval
  differenzeAccumulate  // differences piling up from one point on
};
MotivoEscluso motivoEscluso(EsitoCollocazione esito);

// Whether an operation places its samples through a Collocatore: when they are aligned, and
// across the origin, where the fixed rule is a placement too. Otherwise character k of a sample
// is the base at the interval's start + k - 1, on the fast paths of that rule.
inline bool collocaCampioni(bool allinea, const Intervallo& intervallo) {
  return allinea || intervallo.attraversaOrigine();
}

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

// The stretch `tratto` cut at the origin and at each missing position: the range a sample
// covers with data. `prossima(p, a)` gives the first missing position of p..a, or a + 1. The
// placeholder at 3107 holds no data and cuts nothing.
template <class F>
void tagliaTratti(const Intervallo& tratto, F&& prossima, std::vector<Intervallo>& tratti) {
  tratti.clear();
  perOgniTratto(tratto, [&](int da, int a) {
    int primo = da;
    for (int p = da; p <= a;) {
      const int q = prossima(p, a);
      p = q + 1;
      if (q == kSegnaposto) continue;
      if (q > primo) tratti.push_back({primo, q - 1});
      primo = q + 1;
    }
    if (primo <= a) tratti.push_back({primo, a});
  });
}

// The same with the missing positions listed, in the stretch's order.
void trattiSenza(const Intervallo& tratto, std::span<const int> mancanti,
                 std::vector<Intervallo>& tratti);

// The stretches a placed sample (stored in `sequenza`) covers with data ("n" is none), as a
// profile's range.
void trattiCollocati(std::string_view sequenza, const CampioneCollocato& campione,
                     std::vector<Intervallo>& tratti);

// The differences of a sample stored in `sequenza` from `riferimento` (both entry p for
// position p, lower case) over the covered stretch, in its order: a base other than the
// reference's is a substitution, "-" a deletion, an IUPAC code a heteroplasmy; the insertions
// follow the position they come after. Missing data ("n", "?", anything else) is none.
void differenzeCollocate(std::string_view sequenza, std::string_view riferimento,
                         const CampioneCollocato& campione, std::vector<Variante>& differenze);

// The fixed rule as a placement: character k of `testo` at position inizio + k - 1, on across
// the origin, each through the allowed-character table; no more than the genome's length.
void collocaFisso(std::string_view testo, int inizio, const TabellaCaratteri& caratteri,
                  Collocazione& collocazione);

// A profile as a placement: the rCRS over the stretches it covers, its variants applied, "n"
// between the stretches; the placement starts after the widest stretch it does not cover.
void collocaProfilo(const Profilo& profilo, Collocazione& collocazione);

// What an operation keeps to place its samples one after the other over the interval: the
// aligner (or, with alignment off, the fixed rule as a placement), and what of the last sample
// lies in the interval. The sample goes into a store of the caller's (16,570 entries, entry p
// for position p), cleared of the sample before it.
class Collocatore {
 public:
  Collocatore(bool allinea, const Intervallo& intervallo, const TabellaCaratteri& caratteri)
      : allinea_(allinea), intervallo_(intervallo), caratteri_(caratteri) {}
  // Places `testo` into `sequenza`; why not, when it has no place in the interval. A sample
  // covering one position only is too short, as it is for the fixed rule.
  std::optional<MotivoEscluso> colloca(std::string_view testo, std::string& sequenza);
  // The same for a sample of a file: a profile is placed where it says it lies, whether the run
  // aligns or not.
  std::optional<MotivoEscluso> colloca(const Campione& campione, std::string& sequenza);
  // Clears the last sample from `sequenza`.
  void svuota(std::string& sequenza);
  const CampioneCollocato& dentro() const { return dentro_; }

 private:
  std::optional<MotivoEscluso> riportaPosto(const Collocazione& posto, std::string& sequenza);

  const bool allinea_;
  const Intervallo intervallo_;
  const TabellaCaratteri& caratteri_;
  Allineatore allineatore_;
  Collocazione fisso_;
  CampioneCollocato dentro_;
};

// Whether a sample placed from the interval's start looks misplaced: its text (`caratteri`
// long) much longer than the interval, or its differences (positions, in increasing order)
// piling up from one point on, as they do after an indel the fixed rule cannot see.
std::optional<MotivoEscluso> collocazioneSospetta(std::size_t caratteri,
                                                  std::size_t lunghezzaIntervallo,
                                                  std::span<const int> differenze);

// The samples a run could not place, named in one message at its end: a file of thousands of
// reads must not ask for a click per read.
class CampioniEsclusi {
 public:
  // With `sospetti` the samples were placed, and their place looks wrong.
  explicit CampioniEsclusi(bool sospetti = false) : sospetti_(sospetti) {}
  void aggiungi(std::string_view nome, MotivoEscluso motivo);
  void accoda(CampioniEsclusi& altri);
  bool vuoto() const { return quanti_ == 0; }
  void svuota();
  // "2 campioni non sono stati allineati al riferimento e mancano dai risultati:", then a line
  // per sample with its reason, the first ones of the file.
  std::string testo() const;

 private:
  static constexpr std::size_t kMostrati = 20;
  bool sospetti_;
  std::size_t quanti_ = 0;
  std::vector<std::string> righe_;
};

}  // namespace vorlane
