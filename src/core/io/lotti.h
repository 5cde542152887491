#pragma once
// Work in batches on the engine's threads (io/fili.h), handed on in order: oneTBB's
// parallel_pipeline with a serial stage that fills the next batch (records read one after the
// other, or the next stretch of a list), a parallel stage that works it and a serial stage that
// hands it on. The caller's three functions know nothing of threads; with one thread they run one
// after the other on the calling thread, and the outcome is the same.
//
// A batch whose filling or working threw is still handed on, with what it holds, and the
// exception then comes back from lavoraLotti: everything before the failure reaches the caller in
// order, nothing after it does.

#include <tbb/parallel_pipeline.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "io/fili.h"
#include "io/righe.h"
#include "io/scrittura.h"

namespace vorlane {

template <class Lotto>
struct FasiLotti {
  // A fresh batch; batches are reused, so what it keeps between uses (buffers, scratch) is made
  // once per batch in flight, not once per batch.
  std::function<std::unique_ptr<Lotto>()> nuovo;
  // Serial, in order: fills the batch; false when there is nothing more to fill it with.
  std::function<bool(Lotto&)> riempi;
  // On any thread, several batches at once: may change only its batch.
  std::function<void(Lotto&)> lavora;
  // Serial, in order.
  std::function<void(Lotto&)> consegna;
};

namespace dettaglio {

template <class Lotto>
class Condotta {
 public:
  explicit Condotta(const FasiLotti<Lotto>& fasi) : fasi_(fasi) {}

  void lavora(std::size_t fili) {
    if (fili < 2) {
      while (Voce* v = prendi()) consegna(lavora(v));
      return;
    }
    // Two batches per thread and two more in flight: while a slow batch holds up the hand-on,
    // the other threads still find batches to work.
    arenaMotore().execute([&] {
      tbb::parallel_pipeline(
          fili * 2 + 2, tbb::make_filter<void, Voce*>(tbb::filter_mode::serial_in_order,
                                                      [this](tbb::flow_control& fc) {
                                                        Voce* v = prendi();
                                                        if (!v) fc.stop();
                                                        return v;
                                                      }) &
                            tbb::make_filter<Voce*, Voce*>(tbb::filter_mode::parallel,
                                                           [this](Voce* v) { return lavora(v); }) &
                            tbb::make_filter<Voce*, void>(tbb::filter_mode::serial_in_order,
                                                          [this](Voce* v) { consegna(v); }));
    });
  }

 private:
  struct Voce {
    std::unique_ptr<Lotto> lotto;
    std::exception_ptr errore;
  };

  // The next batch filled; null at the end, or after a batch that failed.
  Voce* prendi() {
    if (finito_) return nullptr;
    Voce* v = libera();
    v->errore = nullptr;
    try {
      if (!fasi_.riempi(*v->lotto)) {
        restituisci(v);
        finito_ = true;
        return nullptr;
      }
    } catch (...) {
      v->errore = std::current_exception();
      finito_ = true;
    }
    return v;
  }

  Voce* lavora(Voce* v) {
    try {
      fasi_.lavora(*v->lotto);
    } catch (...) {
      // Working stopped before filling did: that is where the batch ends.
      v->errore = std::current_exception();
    }
    return v;
  }

  void consegna(Voce* v) {
    std::exception_ptr errore = v->errore;
    fasi_.consegna(*v->lotto);
    restituisci(v);
    if (errore) std::rethrow_exception(errore);
  }

  Voce* libera() {
    std::lock_guard<std::mutex> blocco(mutex_);
    if (!libere_.empty()) {
      Voce* v = libere_.back();
      libere_.pop_back();
      return v;
    }
    tutte_.push_back(std::make_unique<Voce>(Voce{fasi_.nuovo(), nullptr}));
    libere_.reserve(tutte_.size());
    return tutte_.back().get();
  }

  void restituisci(Voce* v) {
    std::lock_guard<std::mutex> blocco(mutex_);
    libere_.push_back(v);
  }

  const FasiLotti<Lotto>& fasi_;
  bool finito_ = false;  // of the filling stage
  std::mutex mutex_;
  std::vector<std::unique_ptr<Voce>> tutte_;
  std::vector<Voce*> libere_;
};

}  // namespace dettaglio

template <class Lotto>
void lavoraLotti(const FasiLotti<Lotto>& fasi, std::size_t fili = filiMotore()) {
  dettaglio::Condotta<Lotto> condotta(fasi);
  condotta.lavora(fili);
}

// The lines of a file worked the same way, for tables whose every row stands alone. `Op` gives
// Appunti, appunti(), inizia(Appunti&) and consegna(Appunti&) as for samples
// (sequence/lavoro_campioni.h), and
//   void fai(std::string_view riga, std::size_t numero, Appunti&) const;
// for each line in order, `numero` its 1-based line number.
template <class Op>
void lavoraRighe(LettoreRighe& file, Op& op, std::size_t fili = filiMotore()) {
  // About 256 KB of text per batch.
  constexpr std::size_t kByte = 1 << 18;
  struct Lotto {
    explicit Lotto(Op& op) : appunti(op.appunti()) {}
    std::string testo;
    std::vector<std::size_t> fini;
    std::size_t primaRiga = 0;
    typename Op::Appunti appunti;
  };
  FasiLotti<Lotto> fasi;
  fasi.nuovo = [&] { return std::make_unique<Lotto>(op); };
  fasi.riempi = [&](Lotto& l) {
    l.testo.clear();
    l.fini.clear();
    op.inizia(l.appunti);
    std::string_view riga;
    while (l.testo.size() < kByte && file.leggi(riga)) {
      if (l.fini.empty()) l.primaRiga = file.numeroRiga();
      l.testo.append(riga);
      l.fini.push_back(l.testo.size());
    }
    return !l.fini.empty();
  };
  fasi.lavora = [&](Lotto& l) {
    std::size_t inizio = 0;
    for (std::size_t i = 0; i < l.fini.size(); inizio = l.fini[i++])
      op.fai(std::string_view(l.testo).substr(inizio, l.fini[i] - inizio), l.primaRiga + i,
             l.appunti);
  };
  fasi.consegna = [&](Lotto& l) { op.consegna(l.appunti); };
  lavoraLotti(fasi, fili);
}

// Text made for items 0..quante-1, `perLotto` at a time, on the engine's threads, and added to
// `destinazione` in order: `fai(uscita, da, a)` writes the lines of items [da, a) into `uscita`.
template <class Fai>
void testoInOrdine(ScrittoreTesto& destinazione, std::size_t quante, std::size_t perLotto,
                   const Fai& fai) {
  struct Lotto {
    ScrittoreTesto righe;
    std::size_t da = 0, a = 0;
  };
  std::size_t prossima = 0;
  FasiLotti<Lotto> fasi;
  fasi.nuovo = [] { return std::make_unique<Lotto>(); };
  fasi.riempi = [&](Lotto& l) {
    l.righe.riportaA(0);
    l.da = prossima;
    l.a = prossima = std::min(quante, prossima + perLotto);
    return l.da < l.a;
  };
  fasi.lavora = [&](Lotto& l) { fai(l.righe, l.da, l.a); };
  fasi.consegna = [&](Lotto& l) { destinazione.accoda(l.righe.testo()); };
  lavoraLotti(fasi);
}

}  // namespace vorlane
