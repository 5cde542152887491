#include "haplotype/ricerca.h"

#include "base/errore.h"

namespace vorlane {

std::string ricercaAplotipo(const Contesto& contesto, const TabellaAplotipi& tabella,
                            std::string_view posizioniMutate) {
  std::string trovato;
  procedura(tabella.ricerca, [&] {
    IndiceAplotipi indice = contesto.*tabella.indice;
    trovato = indice.nome(indice.cerca(posizioniMutate));
  });
  return trovato;
}

std::string RicercaAplotipo(const Contesto& contesto, std::string_view posizioniMutate) {
  return ricercaAplotipo(contesto, kTabellaPrincipale, posizioniMutate);
}

}  // namespace vorlane
