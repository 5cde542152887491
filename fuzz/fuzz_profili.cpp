// The reader of .hsd profiles, each profile placed over the control region and written back.
#include "align/collocazione.h"
#include "base/errore.h"
#include "io/scrittura.h"
#include "report/risultati.h"
#include "sequence/campioni.h"
#include "sequence/riferimento.h"
#include "supporto_fuzz.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  auto& l = fuzz::lavoro();
  auto file = fuzz::scriviIngresso(l.cartella / "fuzz_profili.hsd", dati, n);
  static const std::string riferimento = " " + std::string(testoRiferimento());
  std::string sequenza(kUltimaPosizione + 1, ' ');
  std::vector<Variante> differenze;
  std::vector<Intervallo> tratti;
  RigaRisultati riga;
  ScrittoreTesto uscita;
  const TabellaCaratteri caratteri = tabellaCaratteri({});
  try {
    LettoreCampioni lettore(file, {});
    Campione c;
    while (lettore.prossimo(c) == Lettura::campione)
      for (const Intervallo intervallo :
           {Intervallo{16024, 576}, Intervallo{1, kUltimaPosizione}}) {
        Collocatore collocatore(false, intervallo, caratteri);
        if (collocatore.colloca(c, sequenza)) continue;
        differenzeCollocate(sequenza, riferimento, collocatore.dentro(), differenze);
        trattiCollocati(sequenza, collocatore.dentro(), tratti);
        if (!tratti.empty())
          riga.profilo(c.nome, tratti, c.profilo.aplogruppo, differenze).fine(uscita);
        collocatore.svuota(sequenza);
      }
  } catch (const ErroreVorlane&) {
  }
  return 0;
}
