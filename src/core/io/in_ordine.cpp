#include "io/in_ordine.h"

#include <tbb/parallel_pipeline.h>
#include <tbb/task_arena.h>

#include <atomic>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

#include "io/fili.h"

namespace vorlane {

using Uscita = LavoroInOrdine::Uscita;

class Condotta {
 public:
  explicit Condotta(LavoroInOrdine& lavoro, std::size_t quanti)
      : lavoro_(lavoro), quanti_(quanti) {}

  EsitoInOrdine lavora(std::size_t fili) {
    if (fili < 2 || quanti_ < 2) {
      while (Uscita* u = prendi()) consegna(*fa(u));
    } else {
      // Pieces in flight: two per thread and two more, so that while a slow piece holds up the
      // hand-on, the other threads still find pieces to make rather than wait.
      std::size_t inVolo = fili * 2 + 2;
      arenaMotore().execute([&] {
        tbb::parallel_pipeline(
            inVolo, tbb::make_filter<void, Uscita*>(tbb::filter_mode::serial_in_order,
                                                    [this](tbb::flow_control& fc) {
                                                      Uscita* u = prendi();
                                                      if (!u) fc.stop();
                                                      return u;
                                                    }) &
                        tbb::make_filter<Uscita*, Uscita*>(tbb::filter_mode::parallel,
                                                           [this](Uscita* u) { return fa(u); }) &
                        tbb::make_filter<Uscita*, void>(tbb::filter_mode::serial_in_order,
                                                        [this](Uscita* u) { consegna(*u); }));
      });
    }
    if (erroreConsegna_) std::rethrow_exception(erroreConsegna_);
    return esito();
  }

 private:
  // The next piece, readied; null when there is none or the work stopped.
  Uscita* prendi() {
    if (fermo_.load(std::memory_order_relaxed) || finito_ || preso_ == quanti_) return nullptr;
    Uscita* u = nullptr;
    try {
      u = libera();
      u->pezzo_ = preso_;
      if (!lavoro_.presa(preso_, *u)) {
        restituisci(u);
        finito_ = true;
        return nullptr;
      }
    } catch (...) {
      // Out of memory, or the piece's start could not be found: the work ends before it.
      if (u) restituisci(u);
      interrotto_ = true;
      finito_ = true;
      return nullptr;
    }
    ++preso_;
    return u;
  }

  Uscita* fa(Uscita* u) {
    u->completo_ = false;
    // A piece after one that did not end well is not handed on: no need to make it.
    if (fermo_.load(std::memory_order_relaxed)) return u;
    try {
      u->completo_ = lavoro_.faiPezzo(u->pezzo_, *u);
    } catch (...) {
      // The operation's own business: the piece did not end well.
    }
    return u;
  }

  void consegna(Uscita& u) {
    if (!fermo_.load(std::memory_order_relaxed)) {
      if (!u.completo_) {
        fermo_ = true;
        incompleta_ = &u;
        return;
      }
      try {
        lavoro_.consegna(u);
        ++consegnati_;
      } catch (...) {
        erroreConsegna_ = std::current_exception();
        fermo_ = true;
      }
    }
    restituisci(&u);
  }

  Uscita* libera() {
    {
      std::lock_guard<std::mutex> blocco(mutex_);
      if (!libere_.empty()) {
        Uscita* u = libere_.back();
        libere_.pop_back();
        return u;
      }
    }
    std::unique_ptr<Uscita> nuova = lavoro_.nuova();
    std::lock_guard<std::mutex> blocco(mutex_);
    libere_.reserve(tutte_.size() + 1);
    tutte_.push_back(std::move(nuova));
    return tutte_.back().get();
  }

  void restituisci(Uscita* u) {
    std::lock_guard<std::mutex> blocco(mutex_);
    libere_.push_back(u);
  }

  EsitoInOrdine esito() {
    EsitoInOrdine e;
    e.completo = !fermo_ && !interrotto_;
    if (e.completo) return e;
    e.primo = consegnati_;
    for (auto& u : tutte_)
      if (u.get() == incompleta_) e.incompleta = std::move(u);
    return e;
  }

  LavoroInOrdine& lavoro_;
  const std::size_t quanti_;
  // Of the stage that takes pieces.
  std::size_t preso_ = 0;
  bool finito_ = false, interrotto_ = false;
  // Of the stage that hands them on.
  std::size_t consegnati_ = 0;
  Uscita* incompleta_ = nullptr;
  std::exception_ptr erroreConsegna_;
  // Set when a piece did not end well or could not be handed on.
  std::atomic<bool> fermo_{false};
  std::mutex mutex_;
  std::vector<std::unique_ptr<Uscita>> tutte_;
  std::vector<Uscita*> libere_;
};

EsitoInOrdine lavoraInOrdine(LavoroInOrdine& lavoro, std::size_t quanti) {
  if (quanti == 0) return {true, 0, nullptr};
  Condotta condotta(lavoro, quanti);
  return condotta.lavora(filiMotore());
}

namespace {
class TestoInOrdine : public TestoAPezzi<LavoroInOrdine> {
 public:
  TestoInOrdine(ScrittoreTesto& destinazione, const FunzioneTesto& fai)
      : TestoAPezzi(destinazione), fai_(fai) {}
  bool presa(std::size_t, Uscita& uscita) override {
    svuota(uscita);
    return true;
  }
  bool faiPezzo(std::size_t pezzo, Uscita& uscita) override {
    try {
      fai_(testo(uscita).righe, pezzo);
      return true;
    } catch (...) {
      testo(uscita).errore = std::current_exception();
      return false;
    }
  }

 private:
  const FunzioneTesto& fai_;
};
}  // namespace

void testoInOrdine(ScrittoreTesto& destinazione, std::size_t pezzi, const FunzioneTesto& fai) {
  if (pezzi < 2 || filiMotore() < 2) {
    for (std::size_t k = 0; k < pezzi; ++k) fai(destinazione, k);
    return;
  }
  TestoInOrdine lavoro(destinazione, fai);
  EsitoInOrdine esito = lavoraInOrdine(lavoro, pezzi);
  if (esito.completo) return;
  if (esito.incompleta) {
    if (auto& errore = static_cast<TestoPezzo&>(*esito.incompleta).errore)
      std::rethrow_exception(errore);
  }
  throw std::bad_alloc();  // the work stopped before the piece was made: out of memory
}

}  // namespace vorlane
