// The haplotype tables: any input loads into the grid or fails with ErroreVorlane; a loaded
// grid is searched with the positions of its own first row.
#include "base/errore.h"
#include "haplotype/ricerca.h"
#include "haplotype/tabelle.h"
#include "supporto_fuzz.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  auto& l = fuzz::lavoro();
  auto file = fuzz::scriviIngresso(l.cartella / "fuzz_tabella.csv", dati, n);
  for (const TabellaAplotipi* t : {&kTabellaPrincipale, &kTabellaMotivi}) {
    try {
      GrigliaAplotipi g = leggiTabellaAplotipi(file, *t);
      std::string posizioni;
      for (int c = 1; c <= g.ultimaColonna(); ++c) posizioni.append(g.cella(1, c)).append(",");
      IndiceAplotipi indice(g);
      indice.nome(indice.cerca(posizioni));
    } catch (const ErroreVorlane&) {
    }
  }
  return 0;
}
