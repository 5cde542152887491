#pragma once
// The samples of a file worked on the engine's threads, one function per sample, their outputs
// handed on in file order (io/lotti.h). Samples are read one after the other into batches, so a
// bad sample stops the work in file order: every sample before it is handed on, none after it.
//
// An operation `Op` gives:
//   using Appunti = ...;                               what a batch's samples write into, and
//                                                      their scratch; reused from batch to batch
//   Appunti appunti();                                 a fresh one
//   void inizia(Appunti&);                             serial, in order, once the batch is read
//   void fai(const Campione&, Appunti&) const;         on any thread, for each sample in order
//   void consegna(Appunti&);                           serial, in order

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

#include "io/lotti.h"
#include "sequence/campioni.h"

namespace vorlane {

// Samples per batch: enough that handing a batch over costs little beside working it, few
// enough that the batches of a large file keep every thread busy to its end. A fuzz target sets
// fewer, so that inputs of a few KB go through the hand-over the way files of megabytes do.
inline std::atomic<std::size_t>& campioniPerLotto() {
  static std::atomic<std::size_t> quanti{512};
  return quanti;
}

// Works every sample of `file`; false when an Arlequin line without TAB ended them, after the
// samples before it were handed on.
template <class Op>
bool lavoraCampioni(LettoreCampioni& file, Op& op, std::size_t fili = filiMotore()) {
  struct Lotto {
    explicit Lotto(Op& op) : appunti(op.appunti()) {}
    std::vector<Campione> campioni = std::vector<Campione>(campioniPerLotto());
    std::size_t quanti = 0;
    bool senzaTab = false;
    typename Op::Appunti appunti;
  };
  bool finito = false, senzaTab = false;
  FasiLotti<Lotto> fasi;
  fasi.nuovo = [&] { return std::make_unique<Lotto>(op); };
  fasi.riempi = [&](Lotto& l) {
    l.quanti = 0;
    l.senzaTab = false;
    op.inizia(l.appunti);
    while (!finito && l.quanti < l.campioni.size()) {
      Lettura esito = file.prossimo(l.campioni[l.quanti]);
      if (esito == Lettura::campione) {
        ++l.quanti;
        continue;
      }
      finito = true;
      l.senzaTab = esito == Lettura::senzaTab;
    }
    return l.quanti > 0 || l.senzaTab;
  };
  fasi.lavora = [&](Lotto& l) {
    for (std::size_t i = 0; i < l.quanti; ++i) op.fai(l.campioni[i], l.appunti);
  };
  fasi.consegna = [&](Lotto& l) {
    op.consegna(l.appunti);
    senzaTab = senzaTab || l.senzaTab;
  };
  lavoraLotti(fasi, fili);
  return !senzaTab;
}

}  // namespace vorlane
