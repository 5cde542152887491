#include "phylotree/classificatore.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "phylotree/corsie.h"

namespace vorlane {

int pesoVariante(int cambiSito, int cambiMassimi) {
  if (cambiSito <= 1 || cambiMassimi <= 1) return 300;
  double scala = std::log(static_cast<double>(std::min(cambiSito, cambiMassimi))) /
                 std::log(static_cast<double>(cambiMassimi));
  return static_cast<int>(std::lround(300.0 - 200.0 * scala));
}

ClassificatoreAplogruppi::ClassificatoreAplogruppi(const AlberoAplogruppi& albero,
                                                   const Copertura& copertura)
    : albero_(&albero), copertura_(copertura) {
  preparaColonne();
  // Haplogroups with the same counted variants share one set.
  std::map<std::vector<int>, std::vector<int>> perInsieme;
  for (std::size_t h = 0; h < albero.aplogruppi().size(); ++h) {
    std::vector<int> colonne;
    for (int v : albero.aplogruppi()[h].attese)
      if (int c = colonna(albero.varianti()[static_cast<std::size_t>(v)]); c >= 0)
        colonne.push_back(c);
    perInsieme[std::move(colonne)].push_back(static_cast<int>(h));
  }
  Lavoro lavoro;
  std::vector<std::pair<const std::vector<int>*, Insieme>> insiemi;
  for (auto& [colonne, membri] : perInsieme)
    insiemi.push_back({&colonne, nuovoInsieme(membri, lavoro)});
  // Sets of one group side by side, by group, and those spanning groups last: a group's best
  // score is then the best of a stretch.
  std::stable_sort(insiemi.begin(), insiemi.end(), [](const auto& x, const auto& y) {
    return std::pair(x.second.gruppi.size() > 1, x.second.gruppi[0]) <
           std::pair(y.second.gruppi.size() > 1, y.second.gruppi[0]);
  });
  std::vector<std::vector<int>> insiemiColonna(pesoColonna_.size());
  for (auto& [colonne, insieme] : insiemi)
    aggiungiInsieme(*colonne, std::move(insieme), insiemiColonna);
  preparaListe(insiemiColonna);
  inizioGruppo_.assign(albero.gruppi().size() + 1, 0);
  std::size_t u = 0;
  for (std::size_t g = 0; g < albero.gruppi().size(); ++g) {
    inizioGruppo_[g] = u;
    while (u < insiemi_.size() && insiemi_[u].gruppi.size() == 1 &&
           insiemi_[u].gruppi[0] == static_cast<int>(g))
      ++u;
  }
  inizioGruppo_.back() = u;
}

// The tree's variants come increasing, and so do the columns.
void ClassificatoreAplogruppi::preparaColonne() {
  for (const Variante& v : albero_->varianti()) {
    if (!conta(v)) continue;
    variantiColonna_.push_back(v);
    pesoColonna_.push_back(peso(v));
  }
  primaColonna_.assign(kUltimaPosizione + 2, 0);
  for (const Variante& v : variantiColonna_) ++primaColonna_[static_cast<std::size_t>(v.posizione)];
  for (std::size_t p = 0, fine = 0; p < primaColonna_.size(); ++p)
    fine += static_cast<std::size_t>(std::exchange(primaColonna_[p], static_cast<int>(fine)));
}

// A column held by most sets is cheaper kept as the sets that lack it, and one whose list would
// still be long cheaper added whole, in lanes, than scattered.
void ClassificatoreAplogruppi::preparaListe(const std::vector<std::vector<int>>& insiemiColonna) {
  const std::size_t n = insiemi_.size();
  inizioColonna_.push_back(0);
  for (std::size_t c = 0; c < insiemiColonna.size(); ++c) {
    const std::vector<int>& perColonna = insiemiColonna[c];
    const bool complemento = 2 * perColonna.size() > n;
    const std::size_t lunghezza = complemento ? n - perColonna.size() : perColonna.size();
    complementare_.push_back(complemento ? 1 : 0);
    densa_.push_back(-1);
    if (5 * lunghezza > n) {
      densa_.back() = static_cast<int>(colonneDense_.size() / n);
      colonneDense_.resize(colonneDense_.size() + n, 0);
      for (int u : perColonna) colonneDense_[densa_.back() * n + u] = pesoColonna_[c];
    } else {
      for (std::size_t u = 0, k = 0; u < n; ++u) {
        const bool membro = k < perColonna.size() && perColonna[k] == static_cast<int>(u);
        k += membro ? 1 : 0;
        if (membro != complemento) insiemiColonne_.push_back(static_cast<int>(u));
      }
    }
    inizioColonna_.push_back(insiemiColonne_.size());
  }
}

int ClassificatoreAplogruppi::colonna(const Variante& v) const {
  if (v.posizione < 1 || v.posizione > kUltimaPosizione) return -1;
  const std::size_t p = static_cast<std::size_t>(v.posizione);
  for (int c = primaColonna_[p]; c < primaColonna_[p + 1]; ++c)
    if (variantiColonna_[static_cast<std::size_t>(c)] == v) return c;
  return -1;
}

ClassificatoreAplogruppi::Insieme ClassificatoreAplogruppi::nuovoInsieme(
    const std::vector<int>& membri, Lavoro& lavoro) const {
  Insieme insieme;
  insieme.membri = membri;
  for (int h : membri) insieme.gruppi.push_back(albero_->aplogruppi()[h].gruppo);
  std::sort(insieme.gruppi.begin(), insieme.gruppi.end());
  insieme.gruppi.erase(std::unique(insieme.gruppi.begin(), insieme.gruppi.end()),
                       insieme.gruppi.end());
  insieme.vincitore = spareggio(insieme.membri, lavoro);
  return insieme;
}

void ClassificatoreAplogruppi::aggiungiInsieme(const std::vector<int>& colonne, Insieme insieme,
                                               std::vector<std::vector<int>>& insiemiColonna) {
  int numero = static_cast<int>(insiemi_.size());
  for (int c : colonne) {
    insieme.atteso += pesoColonna_[static_cast<std::size_t>(c)];
    insiemiColonna[static_cast<std::size_t>(c)].push_back(numero);
  }
  if (colonne.empty()) insiemeVuoto_ = numero;
  inversoAtteso_.push_back(insieme.atteso > 0 ? 0.5 / insieme.atteso : 0.0);
  inversoVeloce_.push_back(static_cast<float>(inversoAtteso_.back()));
  insiemi_.push_back(std::move(insieme));
}

int ClassificatoreAplogruppi::peso(const Variante& v) const {
  return pesoVariante(albero_->cambi(v), albero_->cambiMassimi());
}

int ClassificatoreAplogruppi::preparaCampione(std::span<const Variante> campione,
                                              Lavoro& lavoro) const {
  std::vector<Variante>& contate = lavoro.contate;
  contate.clear();
  for (const Variante& v : campione)
    if (conta(v)) contate.push_back(v);
  std::sort(contate.begin(), contate.end());
  contate.erase(std::unique(contate.begin(), contate.end()), contate.end());
  lavoro.campione.clear();
  int pesoCampione = 0;
  for (const Variante& v : contate) {
    if (int c = colonna(v); c >= 0) {
      lavoro.campione.push_back(c);
      pesoCampione += pesoColonna_[static_cast<std::size_t>(c)];
    } else {
      pesoCampione += peso(v);
    }
  }
  return pesoCampione;
}

ClassificatoreAplogruppi::Punteggio ClassificatoreAplogruppi::punteggio(
    int insieme, int pesoCampione, const Lavoro& lavoro) const {
  std::int64_t trovato = lavoro.trovato[static_cast<std::size_t>(insieme)] + lavoro.base;
  std::int64_t atteso = insiemi_[static_cast<std::size_t>(insieme)].atteso;
  // t1 = trovato / atteso, t2 = trovato / pesoCampione; a ratio over nothing is 1.
  std::int64_t n1 = atteso > 0 ? trovato : 1, d1 = atteso > 0 ? atteso : 1;
  std::int64_t n2 = pesoCampione > 0 ? trovato : 1, d2 = pesoCampione > 0 ? pesoCampione : 1;
  return {n1 * d2 + n2 * d1, d1 * d2};
}

Classificazione ClassificatoreAplogruppi::classifica(std::span<const Variante> campione) const {
  Lavoro lavoro;
  return classifica(campione, lavoro);
}

Classificazione ClassificatoreAplogruppi::classifica(std::span<const Variante> campione,
                                                     Lavoro& lavoro) const {
  int pesoCampione = preparaCampione(campione, lavoro);
  accumula(lavoro);
  calcolaQualita(pesoCampione, lavoro);
  return scegli(pesoCampione, lavoro);
}

// The weight each set shares with the sample: lavoro.base + lavoro.trovato[u].
void ClassificatoreAplogruppi::accumula(Lavoro& lavoro) const {
  std::vector<int>& trovato = lavoro.trovato;
  trovato.assign(insiemi_.size(), 0);
  lavoro.base = 0;
  for (int c : lavoro.campione) {
    const std::size_t colonna = static_cast<std::size_t>(c);
    if (densa_[colonna] >= 0) {
      const std::size_t da = static_cast<std::size_t>(densa_[colonna]) * trovato.size();
      sommaColonna(colonneDense_.data() + da, trovato.size(), trovato.data());
      continue;
    }
    int w = pesoColonna_[colonna];
    if (complementare_[colonna]) {
      lavoro.base += w;
      w = -w;
    }
    const std::size_t fine = inizioColonna_[colonna + 1];
    for (std::size_t k = inizioColonna_[colonna]; k < fine; ++k)
      trovato[static_cast<std::size_t>(insiemiColonne_[k])] += w;
  }
}

double ClassificatoreAplogruppi::qualitaEsatta(std::size_t insieme, const Lavoro& lavoro) const {
  if (static_cast<int>(insieme) == insiemeVuoto_) return 0.5 + lavoro.senzaCampione;
  const double t = lavoro.trovato[insieme] + lavoro.base;
  return t * inversoAtteso_[insieme] + t * lavoro.inversoCampione + lavoro.senzaCampione;
}

// (trovato / atteso + trovato / pesoCampione) / 2, a ratio over nothing counting as 1. Every set
// is scored in single precision; the exact score, and each group's best from it, only where it
// can matter: in the groups that may hold the best score or the best of another group.
void ClassificatoreAplogruppi::calcolaQualita(int pesoCampione, Lavoro& lavoro) const {
  lavoro.inversoCampione = pesoCampione > 0 ? 0.5 / pesoCampione : 0.0;
  lavoro.senzaCampione = pesoCampione > 0 ? 0.0 : 0.5;
  const ParametriQualita parametri{lavoro.base, static_cast<float>(lavoro.inversoCampione),
                                   static_cast<float>(lavoro.senzaCampione)};
  lavoro.veloce.resize(insiemi_.size());
  lavoro.qualita.resize(insiemi_.size());
  std::vector<double>& perGruppo = lavoro.migliorePerGruppo;
  perGruppo.assign(albero_->gruppi().size(), 0.0);
  for (std::size_t g = 0; g + 1 < inizioGruppo_.size(); ++g) {
    const std::size_t da = inizioGruppo_[g];
    perGruppo[g] = qualitaInCorsie(lavoro.trovato.data() + da, inversoVeloce_.data() + da,
                                   inizioGruppo_[g + 1] - da, parametri, lavoro.veloce.data() + da);
  }
  insiemiComuni(lavoro);
  cercaCandidati(lavoro);
}

// The sets spanning groups, and the empty set, are few: scored exactly at once.
void ClassificatoreAplogruppi::insiemiComuni(Lavoro& lavoro) const {
  std::vector<double>& comune = lavoro.comune;
  comune.assign(albero_->gruppi().size(), 0.0);
  for (std::size_t u = inizioGruppo_.back(); u < insiemi_.size(); ++u) {
    lavoro.qualita[u] = qualitaEsatta(u, lavoro);
    for (int g : insiemi_[u].gruppi)
      comune[static_cast<std::size_t>(g)] =
          std::max(comune[static_cast<std::size_t>(g)], lavoro.qualita[u]);
  }
  if (insiemeVuoto_ >= 0 && static_cast<std::size_t>(insiemeVuoto_) < inizioGruppo_.back()) {
    const std::size_t vuoto = static_cast<std::size_t>(insiemeVuoto_);
    lavoro.veloce[vuoto] = static_cast<float>(qualitaEsatta(vuoto, lavoro));
    double& m = lavoro.migliorePerGruppo[static_cast<std::size_t>(insiemi_[vuoto].gruppi[0])];
    m = std::max(m, static_cast<double>(lavoro.veloce[vuoto]));
  }
  for (std::size_t g = 0; g < comune.size(); ++g)
    lavoro.migliorePerGruppo[g] = std::max(lavoro.migliorePerGruppo[g], comune[g]);
}

// Single precision is off by less than 1e-6 here. A group whose rough best is farther than the
// tolerance below the second best of the groups can neither hold the best score nor the best of
// another group; in the others the sets within the tolerance of the group's best are scored
// exactly and become the candidates, in the sets' order.
void ClassificatoreAplogruppi::cercaCandidati(Lavoro& lavoro) const {
  constexpr double kTolleranza = 1e-5;
  std::vector<double>& perGruppo = lavoro.migliorePerGruppo;
  double prima = 0, seconda = 0;
  for (double m : perGruppo) {
    seconda = std::max(seconda, std::min(prima, m));
    prima = std::max(prima, m);
  }
  lavoro.candidati.clear();
  for (std::size_t g = 0; g + 1 < inizioGruppo_.size(); ++g) {
    if (perGruppo[g] < seconda - kTolleranza) continue;
    // The tolerance has room for the threshold's rounding to single precision.
    const float soglia = static_cast<float>(perGruppo[g] - kTolleranza);
    const std::size_t da = inizioGruppo_[g], gia = lavoro.candidati.size();
    lavoro.candidati.resize(gia + inizioGruppo_[g + 1] - da);
    const std::size_t nuovi =
        sopraSogliaInCorsie(lavoro.veloce.data() + da, inizioGruppo_[g + 1] - da, soglia,
                            lavoro.candidati.data() + gia);
    lavoro.candidati.resize(gia + nuovi);
    double esatta = lavoro.comune[g];
    for (std::size_t k = gia; k < gia + nuovi; ++k) {
      const std::size_t u = da + static_cast<std::size_t>(lavoro.candidati[k]);
      lavoro.candidati[k] = static_cast<int>(u);
      lavoro.qualita[u] = qualitaEsatta(u, lavoro);
      esatta = std::max(esatta, lavoro.qualita[u]);
    }
    perGruppo[g] = esatta;
  }
  for (std::size_t u = inizioGruppo_.back(); u < insiemi_.size(); ++u)
    lavoro.candidati.push_back(static_cast<int>(u));
}

Classificazione ClassificatoreAplogruppi::scegli(int pesoCampione, Lavoro& lavoro) const {
  const std::vector<double>& q = lavoro.qualita;
  std::vector<double>& perGruppo = lavoro.migliorePerGruppo;
  double massima = *std::max_element(perGruppo.begin(), perGruppo.end());
  // Exact ties among the candidates whose double comes near the best.
  Punteggio migliore{-1, 1};
  std::vector<int>& pari = lavoro.pari;
  pari.clear();
  for (int u : lavoro.candidati) {
    if (q[static_cast<std::size_t>(u)] < massima - 1e-9) continue;
    Punteggio p = punteggio(u, pesoCampione, lavoro);
    if (migliore < p) {
      migliore = p;
      pari.clear();
    }
    if (p == migliore) pari.push_back(u);
  }
  Classificazione esito;
  esito.aplogruppo = vincitore(pari, lavoro);
  const AlberoAplogruppi::Aplogruppo& a = albero_->aplogruppi()[esito.aplogruppo];
  esito.nome = a.nome;
  esito.qualita = q[static_cast<std::size_t>(pari.front())];
  double altro = 0;
  for (std::size_t g = 0; g < perGruppo.size(); ++g)
    if (static_cast<int>(g) != a.gruppo) altro = std::max(altro, perGruppo[g]);
  // Scores equal as fractions may differ in their last bit as doubles.
  esito.margine = esito.qualita - altro > 1e-9 ? esito.qualita - altro : 0.0;
  return esito;
}

ConfrontoAplogruppo ClassificatoreAplogruppi::confronta(int aplogruppo,
                                                        std::span<const Variante> campione) const {
  std::vector<Variante> attese, presenti;
  for (int v : albero_->aplogruppi()[static_cast<std::size_t>(aplogruppo)].attese)
    if (conta(albero_->varianti()[static_cast<std::size_t>(v)]))
      attese.push_back(albero_->varianti()[static_cast<std::size_t>(v)]);
  for (const Variante& v : campione)
    if (conta(v)) presenti.push_back(v);
  std::sort(presenti.begin(), presenti.end());
  presenti.erase(std::unique(presenti.begin(), presenti.end()), presenti.end());
  ConfrontoAplogruppo esito;
  std::set_difference(attese.begin(), attese.end(), presenti.begin(), presenti.end(),
                      std::back_inserter(esito.mancanti));
  std::set_difference(presenti.begin(), presenti.end(), attese.begin(), attese.end(),
                      std::back_inserter(esito.inattese));
  return esito;
}

Classificazione classificaAplogruppo(std::span<const Variante> campione,
                                     const Copertura& copertura) {
  return ClassificatoreAplogruppi(alberoPhyloTree17(), copertura).classifica(campione);
}

}  // namespace vorlane
