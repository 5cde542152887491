#include "stato/indice_aplotipi.h"

#include <algorithm>
#include <bit>

#include "stato/stato.h"

namespace vorlane {

namespace {
// The position a token names when it is written as this program writes positions: digits
// without leading zeros, inside the sequence; -1 for any other token.
long posizioneSemplice(std::string_view token) {
  if (token.empty() || token.size() > 5 || (token[0] == '0' && token.size() > 1)) return -1;
  long p = 0;
  for (char c : token) {
    if (c < '0' || c > '9') return -1;
    p = p * 10 + (c - '0');
  }
  return p <= kUltimaPosizione ? p : -1;
}
}  // namespace

IndiceAplotipi::IndiceAplotipi(const GrigliaAplotipi& griglia) {
  auto tavola = std::make_shared<Tavola>();
  tavola->nomi.resize(1);
  tavola->perPosizione.assign(kUltimaPosizione + 1, -1);
  int ultima = 0;
  while (ultima < griglia.ultimaRiga() && !griglia.cella(ultima + 1, 0).empty()) ++ultima;
  tavola->blocchi = static_cast<std::size_t>(ultima) / 128 + 1;
  for (int r = 1; r <= ultima; ++r) aggiungiRiga(*tavola, griglia, r);
  for (const auto& [token, inizio] : tavola->perTesto)
    if (long p = posizioneSemplice(token); p >= 0)
      tavola->perPosizione[static_cast<std::size_t>(p)] = static_cast<std::ptrdiff_t>(inizio);
  riporto_.resize(tavola->blocchi);
  candidate_.resize(tavola->blocchi);
  conBit_.resize(tavola->blocchi);
  tavola_ = std::move(tavola);
}

void IndiceAplotipi::aggiungiRiga(Tavola& tavola, const GrigliaAplotipi& griglia, int riga) {
  tavola.nomi.emplace_back(griglia.cella(riga, 0));
  auto r = static_cast<std::size_t>(riga);
  for (int c = 1; c <= griglia.ultimaColonna() && !griglia.cella(riga, c).empty(); ++c) {
    auto [voce, nuovo] =
        tavola.perTesto.try_emplace(std::string(griglia.cella(riga, c)), tavola.insiemi.size());
    if (nuovo) tavola.insiemi.resize(tavola.insiemi.size() + tavola.blocchi);
    // A row that lists a token twice still scores it once.
    tavola.insiemi[voce->second + r / 128][r / 64 % 2] |= std::uint64_t{1} << (r % 64);
  }
}

// The set of the rows that list position `p`; null when none does or `p` is outside the sequence.
const IndiceAplotipi::Blocco* IndiceAplotipi::insiemePosizione(long p) const {
  if (p < 0 || p > kUltimaPosizione) return nullptr;
  std::ptrdiff_t inizio = tavola_->perPosizione[static_cast<std::size_t>(p)];
  return inizio >= 0 ? tavola_->insiemi.data() + inizio : nullptr;
}

const IndiceAplotipi::Blocco* IndiceAplotipi::insieme(std::string_view token) const {
  if (long p = posizioneSemplice(token); p >= 0) return insiemePosizione(p);
  auto it = tavola_->perTesto.find(token);
  return it != tavola_->perTesto.end() ? tavola_->insiemi.data() + it->second : nullptr;
}

// Empties the scores for a search of `token` tokens. The working sets keep their size from one
// search to the next: only the planes the search uses are cleared, in place.
void IndiceAplotipi::inizia(std::size_t token) {
  pianiUsati_ = static_cast<std::size_t>(std::bit_width(token));
  const std::size_t blocchi = tavola_->blocchi;
  if (piani_.size() < pianiUsati_ * blocchi) piani_.resize(pianiUsati_ * blocchi);
  std::fill_n(piani_.begin(), pianiUsati_ * blocchi, Blocco{});
}

// Adds one to the score of every row of `righe`: a binary addition, plane by plane, that stops
// when nothing is carried further. The first plane takes the rows themselves, the next ones the
// carry: no copy of the set before each addition. Locals, not members: a store into the planes
// could otherwise be taken to change the block count.
void IndiceAplotipi::conta(const Blocco* righe) {
  const std::size_t blocchi = tavola_->blocchi, piani = pianiUsati_;
  Blocco* riporto = riporto_.data();
  Blocco* piano = piani_.data();
  const Blocco* aggiunta = righe;
  for (std::size_t b = 0; b < piani; ++b, piano += blocchi) {
    Blocco resto{};
    for (std::size_t k = 0; k < blocchi; ++k) {
      Blocco somma = piano[k] ^ aggiunta[k];
      riporto[k] = piano[k] & aggiunta[k];
      piano[k] = somma;
      resto |= riporto[k];
    }
    if (!qualcuna(resto)) return;
    aggiunta = riporto;
  }
}

// The first row with the highest score, found from the top plane down: at each plane, the rows
// still in the running that have its bit, when any has.
int IndiceAplotipi::migliore() {
  const std::size_t blocchi = tavola_->blocchi;
  std::fill_n(candidate_.begin(), blocchi, ~Blocco{});
  bool segnata = false;
  for (std::size_t b = pianiUsati_; b-- > 0;) {
    const Blocco* piano = piani_.data() + b * blocchi;
    Blocco unione{};
    for (std::size_t k = 0; k < blocchi; ++k) {
      conBit_[k] = candidate_[k] & piano[k];
      unione |= conBit_[k];
    }
    if (!qualcuna(unione)) continue;
    candidate_.swap(conBit_);
    segnata = true;
  }
  if (!segnata) return 0;
  for (std::size_t k = 0; k < blocchi; ++k)
    for (int meta = 0; meta < 2; ++meta)
      if (std::uint64_t parola = candidate_[k][meta])
        return static_cast<int>(k * 128 + static_cast<std::size_t>(meta) * 64 +
                                static_cast<std::size_t>(std::countr_zero(parola)));
  return 0;
}

int IndiceAplotipi::cerca(std::string_view posizioniMutate) {
  inizia(static_cast<std::size_t>(std::count(posizioniMutate.begin(), posizioniMutate.end(), ',') +
                                  1));
  for (std::size_t inizio = 0; inizio < posizioniMutate.size();) {
    std::size_t fine = std::min(posizioniMutate.find(',', inizio), posizioniMutate.size());
    if (const Blocco* righe = insieme(posizioniMutate.substr(inizio, fine - inizio))) conta(righe);
    inizio = fine + 1;
  }
  return migliore();
}

int IndiceAplotipi::cerca(const std::vector<int>& posizioni) {
  inizia(posizioni.size());
  for (int p : posizioni)
    if (const Blocco* righe = insiemePosizione(p)) conta(righe);
  return migliore();
}

}  // namespace vorlane
