#include "sequence/pezzi.h"

namespace vorlane {

std::uintmax_t LavoroPezzi::inizio(std::size_t pezzo) {
  // The first piece starts where the file does, whatever its first line holds (a byte-order
  // mark, or sequence lines before the first header): a reading in one go reads it too.
  if (pezzo == 0) return 0;
  {
    std::lock_guard<std::mutex> blocco(mutex_);
    if (inizi_[pezzo]) return *inizi_[pezzo];
  }
  std::uintmax_t trovato = inizioRigaDopo(*campioni_, pezzo * pezzo_, iniziale_);
  std::lock_guard<std::mutex> blocco(mutex_);
  inizi_[pezzo] = trovato;
  return trovato;
}

bool LavoroPezzi::faiPezzo(int filo, std::size_t pezzo, Uscita& uscita) {
  std::uintmax_t da = inizio(pezzo);
  if (da == UINTMAX_MAX) return true;
  std::uintmax_t a = inizio(pezzo + 1);
  std::optional<LettoreCampioni>& file = lettori_[filo];
  if (file)
    file->riparti(da, a);
  else
    file.emplace(*campioni_, opzioni_, TrattoFile{da, a, false});
  return fai(filo, *file, uscita);
}

bool daTagliare(std::uintmax_t dimensione, std::uintmax_t pezzo) {
  return dimensione >= 2 * pezzo;
}

EsitoPezzi lavoraAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                        char iniziale, std::uintmax_t dimensione, LavoroPezzi& lavoro,
                        std::uintmax_t pezzo) {
  std::size_t quanti = static_cast<std::size_t>((dimensione + pezzo - 1) / pezzo);
  lavoro.campioni_ = &campioni;
  lavoro.opzioni_ = opzioni;
  lavoro.iniziale_ = iniziale;
  lavoro.pezzo_ = pezzo;
  lavoro.inizi_.assign(quanti + 1, std::nullopt);
  lavoro.inizi_.front() = 0;
  lavoro.inizi_.back() = UINTMAX_MAX;
  EsitoInOrdine esito = lavoraInOrdine(quanti, lavoro);
  for (auto& lettore : lavoro.lettori_) lettore.reset();
  EsitoPezzi e;
  e.completo = esito.completo;
  if (!e.completo) e.daQui = lavoro.inizio(esito.primo);
  e.incompleta = std::move(esito.incompleta);
  return e;
}

}  // namespace vorlane
