// The sample reader with every option combination, and the single-sample loader.
#include "base/errore.h"
#include "sequence/campioni.h"
#include "sequence/caricamento.h"
#include "supporto_fuzz.h"

using namespace vorlane;

namespace {
volatile unsigned pozzo;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  auto& l = fuzz::lavoro();
  auto file = fuzz::scriviIngresso(l.cartella / "fuzz_campioni.txt", dati, n);
  for (int combinazione = 0; combinazione < 16; ++combinazione) {
    OpzioniCampioni o{combinazione & 1 ? FormatoCampioni::arlequin : FormatoCampioni::fasta,
                      (combinazione & 2) != 0, (combinazione & 4) != 0};
    o.unisciRighe = (combinazione & 8) != 0;
    try {
      LettoreCampioni lettore(file, o);
      RecordCampione r;
      // Every byte of every view is read: one left pointing at a buffer already reused shows.
      unsigned somma = 0;
      while (lettore.prossimo(r))
        for (std::string_view v : {r.nome, r.frequenza, r.sequenza})
          for (char c : v) somma += static_cast<unsigned char>(c);
      pozzo = somma;
    } catch (const ErroreVorlane&) {
    }
  }
  l.stato.fileCampione = file;
  try {
    Campione primo;
    CaricaSequenzaDati(l.stato, leggiCaselle(l.porta), primo);
  } catch (const ErroreVorlane&) {
  }
  return 0;
}
