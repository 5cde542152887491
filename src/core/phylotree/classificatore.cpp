#include "phylotree/classificatore.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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
}

// A column held by most sets is cheaper kept as the sets that lack it.
void ClassificatoreAplogruppi::preparaListe(const std::vector<std::vector<int>>& insiemiColonna) {
  inizioColonna_.push_back(0);
  std::vector<int> mancano;
  for (const std::vector<int>& perColonna : insiemiColonna) {
    bool complemento = 2 * perColonna.size() > insiemi_.size();
    complementare_.push_back(complemento ? 1 : 0);
    if (complemento) {
      mancano.clear();
      for (std::size_t u = 0, k = 0; u < insiemi_.size(); ++u) {
        if (k < perColonna.size() && perColonna[k] == static_cast<int>(u))
          ++k;
        else
          mancano.push_back(static_cast<int>(u));
      }
      insiemiColonne_.insert(insiemiColonne_.end(), mancano.begin(), mancano.end());
    } else {
      insiemiColonne_.insert(insiemiColonne_.end(), perColonna.begin(), perColonna.end());
    }
    inizioColonna_.push_back(insiemiColonne_.size());
  }
}

int ClassificatoreAplogruppi::colonna(const Variante& v) const {
  auto it = std::lower_bound(variantiColonna_.begin(), variantiColonna_.end(), v);
  if (it == variantiColonna_.end() || *it != v) return -1;
  return static_cast<int>(it - variantiColonna_.begin());
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

namespace {

// Four running maxima, each a lane of maxpd (x > m ? x : m is maxpd's own rule, so no lane
// changes the result): a single one would wait on itself every step.
double massimo(const double* q, std::size_t da, std::size_t a) {
  double m[4] = {0, 0, 0, 0};
  std::size_t u = da;
  for (; u + 4 <= a; u += 4)
    for (std::size_t j = 0; j < 4; ++j) m[j] = q[u + j] > m[j] ? q[u + j] : m[j];
  for (; u < a; ++u) m[0] = q[u] > m[0] ? q[u] : m[0];
  return std::max(std::max(m[0], m[1]), std::max(m[2], m[3]));
}

}  // namespace

// (trovato / atteso + trovato / pesoCampione) / 2, a ratio over nothing counting as 1, and
// each group's best.
void ClassificatoreAplogruppi::calcolaQualita(int pesoCampione, Lavoro& lavoro) const {
  const double inversoCampione = pesoCampione > 0 ? 0.5 / pesoCampione : 0.0;
  const double senzaCampione = pesoCampione > 0 ? 0.0 : 0.5;
  std::vector<double>& q = lavoro.qualita;
  q.resize(insiemi_.size());
  const int* trovato = lavoro.trovato.data();
  const int base = lavoro.base;
  const double* inverso = inversoAtteso_.data();
  double* uscita = q.data();
  for (std::size_t u = 0; u < q.size(); ++u) {
    const double t = trovato[u] + base;
    uscita[u] = t * inverso[u] + t * inversoCampione + senzaCampione;
  }
  if (insiemeVuoto_ >= 0) q[static_cast<std::size_t>(insiemeVuoto_)] = 0.5 + senzaCampione;
  std::vector<double>& perGruppo = lavoro.migliorePerGruppo;
  perGruppo.assign(albero_->gruppi().size(), 0.0);
  for (std::size_t g = 0; g + 1 < inizioGruppo_.size(); ++g)
    perGruppo[g] = massimo(uscita, inizioGruppo_[g], inizioGruppo_[g + 1]);
  for (std::size_t u = inizioGruppo_.back(); u < q.size(); ++u)
    for (int g : insiemi_[u].gruppi)
      perGruppo[static_cast<std::size_t>(g)] =
          std::max(perGruppo[static_cast<std::size_t>(g)], q[u]);
}

Classificazione ClassificatoreAplogruppi::scegli(int pesoCampione, Lavoro& lavoro) const {
  const std::vector<double>& q = lavoro.qualita;
  std::vector<double>& perGruppo = lavoro.migliorePerGruppo;
  double massima = *std::max_element(perGruppo.begin(), perGruppo.end());
  // Exact ties among the sets whose double comes near the best, in the groups that reach it.
  Punteggio migliore{-1, 1};
  std::vector<int>& pari = lavoro.pari;
  pari.clear();
  auto esamina = [&](std::size_t da, std::size_t a) {
    for (std::size_t u = da; u < a; ++u) {
      if (q[u] < massima - 1e-9) continue;
      Punteggio p = punteggio(static_cast<int>(u), pesoCampione, lavoro);
      if (migliore < p) {
        migliore = p;
        pari.clear();
      }
      if (p == migliore) pari.push_back(static_cast<int>(u));
    }
  };
  for (std::size_t g = 0; g + 1 < inizioGruppo_.size(); ++g)
    if (perGruppo[g] >= massima - 1e-9) esamina(inizioGruppo_[g], inizioGruppo_[g + 1]);
  esamina(inizioGruppo_.back(), q.size());
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
