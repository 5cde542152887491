#include "haplotype/ricerca.h"

#include <algorithm>

#include "app/errore.h"

namespace vorlane {

IndiceAplotipi::IndiceAplotipi(const GrigliaAplotipi& griglia) : nomi_(1) {
  for (int r = 1; r <= griglia.ultimaRiga() && !griglia.cella(r, 0).empty(); ++r)
    aggiungiRiga(griglia, r);
  punteggi_.assign(nomi_.size(), 0);
}

void IndiceAplotipi::aggiungiRiga(const GrigliaAplotipi& griglia, int riga) {
  nomi_.push_back(griglia.cella(riga, 0));
  auto numero = static_cast<std::uint16_t>(riga);
  for (int c = 1; c <= griglia.ultimaColonna() && !griglia.cella(riga, c).empty(); ++c) {
    std::vector<std::uint16_t>& lista = righe_[griglia.cella(riga, c)];
    // A row that lists a token twice still scores it once.
    if (lista.empty() || lista.back() != numero) lista.push_back(numero);
  }
}

void IndiceAplotipi::conta(std::string_view token) {
  auto it = righe_.find(token);
  if (it == righe_.end()) return;
  for (std::uint16_t r : it->second)
    if (punteggi_[r]++ == 0) toccate_.push_back(r);
}

int IndiceAplotipi::cerca(std::string_view posizioniMutate) {
  for (std::size_t inizio = 0; inizio < posizioniMutate.size();) {
    std::size_t fine = std::min(posizioniMutate.find(',', inizio), posizioniMutate.size());
    conta(posizioniMutate.substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
  int scelta = 0, migliore = 0;
  for (std::uint16_t r : toccate_) {
    int p = punteggi_[r];
    if (p > migliore || (p == migliore && r < scelta)) {
      migliore = p;
      scelta = r;
    }
    punteggi_[r] = 0;
  }
  toccate_.clear();
  return scelta;
}

void ricercaAplotipo(StatoVorlane& stato, const TabellaAplotipi& tabella,
                     std::string_view posizioniMutate) {
  procedura(tabella.ricerca, [&] {
    IndiceAplotipi indice(stato.*tabella.griglia);
    stato.aplotipoTrovato = indice.nome(indice.cerca(posizioniMutate));
  });
}

void RicercaAplotipo(StatoVorlane& stato, std::string_view posizioniMutate) {
  ricercaAplotipo(stato, kTabellaPrincipale, posizioniMutate);
}

void RicercaAplotipoNew(StatoVorlane& stato, std::string_view posizioniMutate) {
  ricercaAplotipo(stato, kTabellaMotivi, posizioniMutate);
}

}  // namespace vorlane
