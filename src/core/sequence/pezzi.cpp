#include "sequence/pezzi.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace vorlane {

bool LavoroPezzi::presa(std::size_t, Uscita& uscita) {
  // Pieces come from the cutter in file order. The first starts where the file does, whatever
  // its first line holds (a byte-order mark, or sequence lines before the first header), as a
  // reading in one go does.
  std::uintmax_t da = 0, a = 0;
  if (!taglio_->prossimo(da, a)) return false;
  {
    std::lock_guard<std::mutex> blocco(mutex_);
    if (inizi_.empty()) inizi_.push_back(da);
    inizi_.push_back(a);
  }
  prepara(uscita);
  return true;
}

std::unique_ptr<LettoreCampioni> LavoroPezzi::lettore(std::uintmax_t da, std::uintmax_t a) {
  {
    std::lock_guard<std::mutex> blocco(mutex_);
    if (!lettori_.empty()) {
      std::unique_ptr<LettoreCampioni> file = std::move(lettori_.back());
      lettori_.pop_back();
      file->riparti(da, a);
      return file;
    }
  }
  return std::make_unique<LettoreCampioni>(*campioni_, opzioni_, TrattoFile{da, a, false});
}

bool LavoroPezzi::faiPezzo(std::size_t pezzo, Uscita& uscita) {
  std::uintmax_t da = 0, a = 0;
  {
    std::lock_guard<std::mutex> blocco(mutex_);
    da = inizi_[pezzo];
    a = inizi_[pezzo + 1];
  }
  std::unique_ptr<LettoreCampioni> file = lettore(da, a);
  bool fatto = fai(*file, uscita);
  std::lock_guard<std::mutex> blocco(mutex_);
  lettori_.push_back(std::move(file));
  return fatto;
}

std::uintmax_t LavoroPezzi::finePrimo() {
  std::lock_guard<std::mutex> blocco(mutex_);
  return inizi_.size() > 1 ? inizi_[1] : 0;
}

namespace {
std::atomic<std::uintmax_t> pezzoInUso{kPezzo};
}  // namespace

std::uintmax_t dimensionePezzo() {
  return pezzoInUso.load(std::memory_order_relaxed);
}

void impostaDimensionePezzo(std::uintmax_t byte) {
  pezzoInUso.store(std::max<std::uintmax_t>(byte, 1), std::memory_order_relaxed);
}

bool daTagliare(std::uintmax_t dimensione, std::uintmax_t pezzo) {
  return dimensione >= 2 * pezzo;
}

EsitoPezzi lavoraAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                        char iniziale, LavoroPezzi& lavoro, std::uintmax_t pezzo) {
  lavoro.campioni_ = &campioni;
  lavoro.opzioni_ = opzioni;
  lavoro.inizi_.clear();
  try {
    lavoro.taglio_.emplace(campioni, iniziale, pezzo);
  } catch (...) {
    // Read in one go, which reports what went wrong.
    return {};
  }
  EsitoInOrdine esito = lavoraInOrdine(lavoro);
  lavoro.lettori_.clear();
  lavoro.taglio_.reset();
  EsitoPezzi e;
  e.completo = esito.completo;
  if (!e.completo) e.daQui = esito.primo < lavoro.inizi_.size() ? lavoro.inizi_[esito.primo] : 0;
  e.incompleta = std::move(esito.incompleta);
  return e;
}

}  // namespace vorlane
