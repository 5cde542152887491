#include "haplotype/ricerca.h"

#include <algorithm>
#include <bit>

#include "app/errore.h"

namespace vorlane {

IndiceAplotipi::IndiceAplotipi(const GrigliaAplotipi& griglia) : nomi_(1) {
  int ultima = 0;
  while (ultima < griglia.ultimaRiga() && !griglia.cella(ultima + 1, 0).empty()) ++ultima;
  parole_ = static_cast<std::size_t>(ultima) / 64 + 1;
  conBit_.resize(parole_);
  for (int r = 1; r <= ultima; ++r) aggiungiRiga(griglia, r);
}

void IndiceAplotipi::aggiungiRiga(const GrigliaAplotipi& griglia, int riga) {
  nomi_.push_back(griglia.cella(riga, 0));
  auto r = static_cast<std::size_t>(riga);
  for (int c = 1; c <= griglia.ultimaColonna() && !griglia.cella(riga, c).empty(); ++c) {
    InsiemeRighe& insieme = righe_[griglia.cella(riga, c)];
    insieme.resize(parole_);
    // A row that lists a token twice still scores it once.
    insieme[r / 64] |= std::uint64_t{1} << (r % 64);
  }
}

// Adds one to the score of every row of `righe`: a binary addition, word by word, carried up
// through the planes.
void IndiceAplotipi::conta(const InsiemeRighe& righe) {
  for (std::size_t w = 0; w < parole_; ++w) {
    std::uint64_t riporto = righe[w];
    for (std::size_t b = 0; riporto != 0; ++b) {
      if (b == pianiUsati_) {
        if (b == piani_.size()) piani_.emplace_back(parole_, 0);
        ++pianiUsati_;
      }
      std::uint64_t& piano = piani_[b][w];
      std::uint64_t somma = piano ^ riporto;
      riporto &= piano;
      piano = somma;
    }
  }
}

// The first row with the highest score, found from the top plane down: at each plane, the rows
// still in the running that have its bit, when any has.
int IndiceAplotipi::migliore() {
  candidate_.assign(parole_, ~std::uint64_t{0});
  bool segnata = false;
  for (std::size_t b = pianiUsati_; b-- > 0;) {
    std::uint64_t qualcuna = 0;
    for (std::size_t w = 0; w < parole_; ++w) {
      conBit_[w] = candidate_[w] & piani_[b][w];
      qualcuna |= conBit_[w];
    }
    if (qualcuna == 0) continue;
    candidate_.swap(conBit_);
    segnata = true;
  }
  if (!segnata) return 0;
  for (std::size_t w = 0; w < parole_; ++w)
    if (candidate_[w] != 0) return static_cast<int>(w * 64 + std::countr_zero(candidate_[w]));
  return 0;
}

int IndiceAplotipi::cerca(std::string_view posizioniMutate) {
  for (std::size_t inizio = 0; inizio < posizioniMutate.size();) {
    std::size_t fine = std::min(posizioniMutate.find(',', inizio), posizioniMutate.size());
    auto it = righe_.find(posizioniMutate.substr(inizio, fine - inizio));
    if (it != righe_.end()) conta(it->second);
    inizio = fine + 1;
  }
  int scelta = migliore();
  for (std::size_t b = 0; b < pianiUsati_; ++b) std::fill(piani_[b].begin(), piani_[b].end(), 0);
  pianiUsati_ = 0;
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
