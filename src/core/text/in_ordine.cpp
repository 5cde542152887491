#include "text/in_ordine.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <vector>

#include "text/filo.h"

namespace vorlane {
namespace {

// Pieces taken but not yet handed on at most: what waits in memory stays a few pieces' worth
// whatever the size of the work, even when one thread stalls.
constexpr std::size_t kFinestra = 4;

using Uscita = LavoroInOrdine::Uscita;

class Pezzi {
 public:
  Pezzi(std::size_t quanti, LavoroInOrdine& lavoro)
      : lavoro_(lavoro), stati_(quanti), limite_(quanti) {}

  // Takes pieces until none is left or one did not end well; does not throw.
  void lavora(int filo) noexcept {
    try {
      std::size_t i = 0;
      while (std::unique_ptr<Uscita> uscita = prendi(i)) {
        bool completo = false;
        try {
          completo = lavoro_.faiPezzo(filo, i, *uscita);
        } catch (...) {
          // The operation's own business: the piece did not end well.
        }
        consegna(i, std::move(uscita), completo);
      }
    } catch (...) {
      // Out of memory, say: the caller goes on from the first piece not handed on.
      ferma();
    }
  }

  void rilanciaErroreConsegna() const {
    if (erroreConsegna_) std::rethrow_exception(erroreConsegna_);
  }

  EsitoInOrdine esito() {
    EsitoInOrdine e;
    e.completo = consegnati_ == stati_.size();
    if (e.completo) return e;
    e.primo = consegnati_;
    Stato& primo = stati_[consegnati_];
    if (!primo.completo) e.incompleta = std::move(primo.uscita);
    return e;
  }

 private:
  struct Stato {
    std::unique_ptr<Uscita> uscita;  // from when it is made until handed on
    bool completo = false;
  };

  // The next piece's number in `i` and its readied memory; null when there is none to take.
  std::unique_ptr<Uscita> prendi(std::size_t& i) {
    std::unique_lock<std::mutex> blocco(mutex_);
    std::unique_ptr<Uscita> uscita;
    if (!libere_.empty()) {
      uscita = std::move(libere_.back());
      libere_.pop_back();
    } else {
      blocco.unlock();
      uscita = lavoro_.nuova();
      blocco.lock();
    }
    cambiato_.wait(blocco, [this] {
      return fermo_ || preso_ == stati_.size() || preso_ < consegnati_ + kFinestra;
    });
    if (fermo_ || preso_ == stati_.size()) return nullptr;
    i = preso_++;
    lavoro_.presa(*uscita);
    return uscita;
  }

  void ferma() noexcept {
    std::lock_guard<std::mutex> blocco(mutex_);
    fermo_ = true;
    cambiato_.notify_all();
  }

  // Leaves piece i. The thread that finds no piece being handed on hands on every piece ready
  // in order, letting go of the lock meanwhile so that the other goes on making pieces.
  void consegna(std::size_t i, std::unique_ptr<Uscita> uscita, bool completo) {
    std::unique_lock<std::mutex> blocco(mutex_);
    stati_[i] = {std::move(uscita), completo};
    if (!completo) {
      fermo_ = true;
      limite_ = std::min(limite_, i);
    }
    if (inConsegna_) return;
    inConsegna_ = true;
    while (consegnati_ < limite_ && stati_[consegnati_].uscita) {
      std::unique_ptr<Uscita> pronta = std::move(stati_[consegnati_].uscita);
      blocco.unlock();
      bool consegnata = consegnaUna(*pronta);
      blocco.lock();
      libere_.push_back(std::move(pronta));
      if (consegnata) {
        ++consegnati_;
      } else {
        fermo_ = true;
        limite_ = consegnati_;
      }
      cambiato_.notify_all();
    }
    inConsegna_ = false;
    cambiato_.notify_all();
  }

  bool consegnaUna(Uscita& uscita) {
    try {
      lavoro_.consegna(uscita);
      return true;
    } catch (...) {
      erroreConsegna_ = std::current_exception();
      return false;
    }
  }

  LavoroInOrdine& lavoro_;
  std::mutex mutex_;
  std::condition_variable cambiato_;
  std::vector<Stato> stati_;
  std::vector<std::unique_ptr<Uscita>> libere_;
  std::size_t preso_ = 0, consegnati_ = 0;
  // Pieces from this one on are not handed on: the first that did not end well.
  std::size_t limite_;
  bool inConsegna_ = false, fermo_ = false;
  std::exception_ptr erroreConsegna_;
};

// A single piece is not worth a thread: it is made and handed on here.
EsitoInOrdine inUnaVolta(std::size_t quanti, LavoroInOrdine& lavoro) {
  EsitoInOrdine esito;
  esito.completo = true;
  if (quanti == 0) return esito;
  std::unique_ptr<LavoroInOrdine::Uscita> uscita = lavoro.nuova();
  lavoro.presa(*uscita);
  bool fatto = false;
  try {
    fatto = lavoro.faiPezzo(0, 0, *uscita);
  } catch (...) {
    // As on two threads: the piece did not end well.
  }
  if (fatto) {
    lavoro.consegna(*uscita);
    return esito;
  }
  esito.completo = false;
  esito.incompleta = std::move(uscita);
  return esito;
}

}  // namespace

EsitoInOrdine lavoraInOrdine(std::size_t quanti, LavoroInOrdine& lavoro) {
  if (quanti < 2) return inUnaVolta(quanti, lavoro);
  Pezzi pezzi(quanti, lavoro);
  {
    Separazione separazione;
    Filo secondo;
    try {
      separazione.avvia(secondo, [&] { pezzi.lavora(1); });
    } catch (const std::system_error&) {
      // No second thread: this one takes every piece.
    }
    pezzi.lavora(0);
  }
  pezzi.rilanciaErroreConsegna();
  return pezzi.esito();
}

namespace {
class TestoInOrdine : public TestoAPezzi<LavoroInOrdine> {
 public:
  TestoInOrdine(ScrittoreTesto& destinazione, const FunzioneTesto& fai)
      : TestoAPezzi(destinazione), fai_(fai) {}
  bool faiPezzo(int, std::size_t pezzo, Uscita& uscita) override {
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
  if (pezzi < 2) {
    for (std::size_t k = 0; k < pezzi; ++k) fai(destinazione, k);
    return;
  }
  TestoInOrdine lavoro(destinazione, fai);
  EsitoInOrdine esito = lavoraInOrdine(pezzi, lavoro);
  if (esito.completo) return;
  if (esito.incompleta) {
    if (auto& errore = static_cast<TestoPezzo&>(*esito.incompleta).errore)
      std::rethrow_exception(errore);
  }
  throw std::bad_alloc();  // the work stopped before the piece was made: out of memory
}

}  // namespace vorlane
