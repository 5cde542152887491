// The sample reader with every option combination, and the single-sample loader.
#include "app/errore.h"
#include "sequence/campioni.h"
#include "sequence/caricamento.h"
#include "supporto_fuzz.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  auto& l = fuzz::lavoro();
  auto file = fuzz::scriviIngresso(l.cartella / "fuzz_campioni.txt", dati, n);
  for (int combinazione = 0; combinazione < 8; ++combinazione) {
    OpzioniCampioni o{combinazione & 1 ? FormatoCampioni::arlequin : FormatoCampioni::fasta,
                      (combinazione & 2) != 0, (combinazione & 4) != 0};
    try {
      LettoreCampioni lettore(file, o);
      RecordCampione r;
      while (lettore.prossimo(r)) {
      }
    } catch (const ErroreVorlane&) {
    }
  }
  l.stato.nomeFileScelto = file;
  try {
    CaricaSequenzaDati(l.stato, l.porta);
  } catch (const ErroreVorlane&) {
  }
  return 0;
}
