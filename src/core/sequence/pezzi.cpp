#include "sequence/pezzi.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "text/filo.h"

namespace vorlane {
namespace {

// Pieces taken but not yet handed on at most: what waits in memory stays a few MB whatever the
// size of the file, even when one thread stalls.
constexpr std::size_t kFinestra = 4;

using Uscita = LavoroPezzi::Uscita;

class Pezzi {
 public:
  Pezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni, char iniziale,
        std::uintmax_t dimensione, LavoroPezzi& lavoro, std::uintmax_t pezzo)
      : campioni_(campioni),
        opzioni_(opzioni),
        iniziale_(iniziale),
        lavoro_(lavoro),
        pezzo_(pezzo),
        stati_((dimensione + pezzo - 1) / pezzo),
        inizi_(stati_.size() + 1),
        limite_(stati_.size()) {
    inizi_.front() = 0;
    inizi_.back() = UINTMAX_MAX;
  }

  // Takes pieces until none is left or one did not end well; does not throw.
  void lavora(int filo) noexcept {
    try {
      // One reader for all the pieces of the thread: its buffers are reused.
      std::optional<LettoreCampioni> file;
      std::size_t i;
      while (std::unique_ptr<Uscita> uscita = prendi(i)) {
        bool completo = false;
        try {
          completo = leggi(filo, i, file, *uscita);
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

  EsitoPezzi esito() {
    EsitoPezzi e;
    e.completo = consegnati_ == stati_.size();
    if (e.completo) return e;
    e.daQui = inizio(consegnati_);
    Stato& primo = stati_[consegnati_];
    if (!primo.completo) e.incompleta = std::move(primo.uscita);
    return e;
  }

 private:
  struct Stato {
    std::unique_ptr<Uscita> uscita;  // from when it is made until handed on
    bool completo = false;
  };

  // Where piece `pezzo` starts: the first line start from its share of the bytes on that can
  // start one, UINTMAX_MAX when there is none. Each is looked for once, by the thread that needs
  // it first: it is where a piece ends as well as where the next starts.
  std::uintmax_t inizio(std::size_t pezzo) {
    {
      std::lock_guard<std::mutex> blocco(mutex_);
      if (inizi_[pezzo]) return *inizi_[pezzo];
    }
    std::uintmax_t trovato = inizioRigaDopo(campioni_, pezzo * pezzo_, iniziale_);
    std::lock_guard<std::mutex> blocco(mutex_);
    inizi_[pezzo] = trovato;
    return trovato;
  }

  bool leggi(int filo, std::size_t i, std::optional<LettoreCampioni>& file, Uscita& uscita) {
    std::uintmax_t da = inizio(i);
    if (da == UINTMAX_MAX) return true;
    std::uintmax_t a = inizio(i + 1);
    if (file)
      file->riparti(da, a);
    else
      file.emplace(campioni_, opzioni_, TrattoFile{da, a, false});
    return lavoro_.fai(filo, *file, uscita);
  }

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

  const std::filesystem::path& campioni_;
  OpzioniCampioni opzioni_;
  char iniziale_;
  LavoroPezzi& lavoro_;
  std::uintmax_t pezzo_;
  std::mutex mutex_;
  std::condition_variable cambiato_;
  std::vector<Stato> stati_;
  std::vector<std::optional<std::uintmax_t>> inizi_;
  std::vector<std::unique_ptr<Uscita>> libere_;
  std::size_t preso_ = 0, consegnati_ = 0;
  // Pieces from this one on are not handed on: the first that did not end well.
  std::size_t limite_;
  bool inConsegna_ = false, fermo_ = false;
  std::exception_ptr erroreConsegna_;
};

}  // namespace

bool daTagliare(std::uintmax_t dimensione, std::uintmax_t pezzo) {
  return dimensione >= 2 * pezzo;
}

EsitoPezzi lavoraAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                        char iniziale, std::uintmax_t dimensione, LavoroPezzi& lavoro,
                        std::uintmax_t pezzo) {
  Pezzi pezzi(campioni, opzioni, iniziale, dimensione, lavoro, pezzo);
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

}  // namespace vorlane
