#include "convert/a_pezzi.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "text/filo.h"

namespace vorlane {
namespace {

// Bytes of file per piece (1.5 MiB, about 3,700 HV1 samples): enough work that taking a piece
// costs little beside it, little enough that the thread that finishes last does not finish much
// later than the other, and that a piece's rows fit the memory a writer starts with.
constexpr std::uintmax_t kPezzo = 3 << 19;
// Pieces taken but not yet in the table at most: the rows waiting in memory stay a few MB
// whatever the size of the file, even when one thread stalls.
constexpr std::size_t kFinestra = 4;

class Pezzi {
 public:
  Pezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni, std::uintmax_t dimensione,
        ScrittoreTesto& tabella, const FunzioneRighe& righe)
      : campioni_(campioni),
        opzioni_(opzioni),
        iniziale_(opzioni.formato == FormatoCampioni::fasta ? '>' : 0),
        tabella_(tabella),
        righe_(righe),
        stati_((dimensione + kPezzo - 1) / kPezzo),
        inizi_(stati_.size() + 1) {
    inizi_.front() = 0;
    inizi_.back() = UINTMAX_MAX;
  }

  // Takes pieces until none is left or one did not end well; does not throw.
  void lavora() noexcept {
    try {
      // One reader and the memory of the rows taken from piece to piece: fresh memory costs a
      // page fault every 4 KB.
      std::optional<LettoreCampioni> file;
      for (std::size_t i; prendi(i);) {
        std::unique_ptr<ScrittoreTesto> memoria = memoriaLibera();
        bool completo = false;
        try {
          completo = converti(i, file, *memoria);
        } catch (...) {
          // Read again in one go, the error comes back with the line it names.
        }
        consegna(i, std::move(memoria), completo);
      }
    } catch (...) {
      // Out of memory, say: the file is read again in one go, which needs less of it and meets
      // whatever is left the way a reading in one go does.
      ferma();
    }
  }

  bool completi() const { return scritti_ == stati_.size(); }
  void rilanciaErroreScrittura() const {
    if (erroreScrittura_) std::rethrow_exception(erroreScrittura_);
  }

 private:
  struct Stato {
    std::unique_ptr<ScrittoreTesto> memoria;  // its rows, from when they are made until written
    bool completo = false;
  };

  // Where piece `pezzo` starts: the first line start from its share of the bytes on that can
  // start one (a header in FASTA), UINTMAX_MAX when there is none. Each is looked for once, by
  // the thread that needs it first: it is where a piece ends as well as where the next starts.
  std::uintmax_t inizio(std::size_t pezzo) {
    {
      std::lock_guard<std::mutex> blocco(mutex_);
      if (inizi_[pezzo]) return *inizi_[pezzo];
    }
    std::uintmax_t trovato = inizioRigaDopo(campioni_, pezzo * kPezzo, iniziale_);
    std::lock_guard<std::mutex> blocco(mutex_);
    inizi_[pezzo] = trovato;
    return trovato;
  }

  bool converti(std::size_t i, std::optional<LettoreCampioni>& file, ScrittoreTesto& memoria) {
    std::uintmax_t da = inizio(i);
    if (da == UINTMAX_MAX) return true;
    std::uintmax_t a = inizio(i + 1);
    if (file)
      file->riparti(da, a);
    else
      file.emplace(campioni_, opzioni_, TrattoFile{da, a, false});
    return righe_(*file, memoria);
  }

  std::unique_ptr<ScrittoreTesto> memoriaLibera() {
    {
      std::lock_guard<std::mutex> blocco(mutex_);
      if (!libere_.empty()) {
        std::unique_ptr<ScrittoreTesto> memoria = std::move(libere_.back());
        libere_.pop_back();
        return memoria;
      }
    }
    return std::make_unique<ScrittoreTesto>();
  }

  bool prendi(std::size_t& i) {
    std::unique_lock<std::mutex> blocco(mutex_);
    cambiato_.wait(blocco, [this] {
      return fermo_ || preso_ == stati_.size() || preso_ < scritti_ + kFinestra;
    });
    if (fermo_ || preso_ == stati_.size()) return false;
    i = preso_++;
    return true;
  }

  void ferma() noexcept {
    std::lock_guard<std::mutex> blocco(mutex_);
    fermo_ = true;
    cambiato_.notify_all();
  }

  // Hands over piece i. The thread that finds the table free writes every piece ready in order,
  // letting go of the lock while it writes so that the other goes on making rows.
  void consegna(std::size_t i, std::unique_ptr<ScrittoreTesto> memoria, bool completo) {
    std::unique_lock<std::mutex> blocco(mutex_);
    stati_[i] = {std::move(memoria), completo};
    if (!completo) fermo_ = true;
    if (inScrittura_) return;
    inScrittura_ = true;
    while (!fermo_ && scritti_ < stati_.size() && stati_[scritti_].memoria) {
      std::unique_ptr<ScrittoreTesto> righe = std::move(stati_[scritti_].memoria);
      blocco.unlock();
      bool scritto = scrivi(*righe);
      righe->riportaA(0);
      blocco.lock();
      libere_.push_back(std::move(righe));
      if (!scritto)
        fermo_ = true;
      else
        ++scritti_;
      cambiato_.notify_all();
    }
    inScrittura_ = false;
    cambiato_.notify_all();
  }

  bool scrivi(const ScrittoreTesto& righe) {
    try {
      tabella_.accoda(righe.testo());
      return true;
    } catch (...) {
      erroreScrittura_ = std::current_exception();
      return false;
    }
  }

  const std::filesystem::path& campioni_;
  OpzioniCampioni opzioni_;
  char iniziale_;
  ScrittoreTesto& tabella_;
  const FunzioneRighe& righe_;
  std::mutex mutex_;
  std::condition_variable cambiato_;
  std::vector<Stato> stati_;
  std::vector<std::optional<std::uintmax_t>> inizi_;
  std::vector<std::unique_ptr<ScrittoreTesto>> libere_;
  std::size_t preso_ = 0, scritti_ = 0;
  bool inScrittura_ = false, fermo_ = false;
  std::exception_ptr erroreScrittura_;
};

}  // namespace

bool righeAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                 ScrittoreTesto& tabella, const FunzioneRighe& righe) {
  std::error_code ec;
  std::uintmax_t dimensione = std::filesystem::file_size(campioni, ec);
  if (!ec && dimensione >= 2 * kPezzo) {
    std::uintmax_t intestazione = tabella.posizione();
    Pezzi pezzi(campioni, opzioni, dimensione, tabella, righe);
    {
      Separazione separazione;
      Filo secondo;
      separazione.avvia(secondo, [&] { pezzi.lavora(); });
      pezzi.lavora();
    }
    pezzi.rilanciaErroreScrittura();
    if (pezzi.completi()) return true;
    tabella.riportaA(intestazione);
  }
  LettoreCampioni file(campioni, opzioni);
  return righe(file, tabella);
}

}  // namespace vorlane
