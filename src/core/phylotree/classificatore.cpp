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
  const std::vector<Variante>& varianti = albero.varianti();
  std::vector<int> colonnaVariante(varianti.size(), -1);
  for (std::size_t i = 0; i < varianti.size(); ++i) {
    if (!conta(varianti[i])) continue;
    colonnaVariante[i] = static_cast<int>(pesoColonna_.size());
    colonna_.emplace(chiave(varianti[i]), colonnaVariante[i]);
    pesoColonna_.push_back(peso(varianti[i]));
  }
  insiemiColonna_.resize(pesoColonna_.size());
  std::map<std::vector<int>, int> perInsieme;
  for (std::size_t h = 0; h < albero.aplogruppi().size(); ++h) {
    std::vector<int> colonne;
    for (int v : albero.aplogruppi()[h].attese)
      if (int c = colonnaVariante[static_cast<std::size_t>(v)]; c >= 0) colonne.push_back(c);
    auto [it, nuovo] = perInsieme.emplace(std::move(colonne), static_cast<int>(insiemi_.size()));
    if (nuovo) aggiungiInsieme(it->first);
    insiemi_[static_cast<std::size_t>(it->second)].membri.push_back(static_cast<int>(h));
  }
  for (Insieme& insieme : insiemi_) {
    for (int h : insieme.membri) insieme.gruppi.push_back(albero.aplogruppi()[h].gruppo);
    std::sort(insieme.gruppi.begin(), insieme.gruppi.end());
    insieme.gruppi.erase(std::unique(insieme.gruppi.begin(), insieme.gruppi.end()),
                         insieme.gruppi.end());
    insieme.vincitore = spareggio(insieme.membri);
  }
}

void ClassificatoreAplogruppi::aggiungiInsieme(const std::vector<int>& colonne) {
  int numero = static_cast<int>(insiemi_.size());
  Insieme insieme;
  for (int c : colonne) {
    insieme.atteso += pesoColonna_[static_cast<std::size_t>(c)];
    insiemiColonna_[static_cast<std::size_t>(c)].push_back(numero);
  }
  if (colonne.empty()) insiemeVuoto_ = numero;
  insiemi_.push_back(std::move(insieme));
}

int ClassificatoreAplogruppi::peso(const Variante& v) const {
  return pesoVariante(albero_->cambi(v), albero_->cambiMassimi());
}

int ClassificatoreAplogruppi::preparaCampione(std::span<const Variante> campione,
                                              Lavoro& lavoro) const {
  std::vector<int>& colonne = lavoro.campione;
  colonne.clear();
  int pesoCampione = 0;
  std::vector<Variante> contate;
  for (const Variante& v : campione)
    if (conta(v)) contate.push_back(v);
  std::sort(contate.begin(), contate.end());
  contate.erase(std::unique(contate.begin(), contate.end()), contate.end());
  for (const Variante& v : contate) {
    pesoCampione += peso(v);
    if (auto it = colonna_.find(chiave(v)); it != colonna_.end()) colonne.push_back(it->second);
  }
  return pesoCampione;
}

ClassificatoreAplogruppi::Punteggio ClassificatoreAplogruppi::punteggio(
    int insieme, int pesoCampione, const Lavoro& lavoro) const {
  std::int64_t trovato = lavoro.trovato[static_cast<std::size_t>(insieme)];
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
  lavoro.trovato.resize(insiemi_.size());
  int pesoCampione = preparaCampione(campione, lavoro);
  for (int c : lavoro.campione) {
    int w = pesoColonna_[static_cast<std::size_t>(c)];
    for (int u : insiemiColonna_[static_cast<std::size_t>(c)]) {
      if (lavoro.trovato[static_cast<std::size_t>(u)] == 0) lavoro.toccati.push_back(u);
      lavoro.trovato[static_cast<std::size_t>(u)] += w;
    }
  }
  // Sets sharing nothing with the sample score 0, or 1/2 when the sample has no counted
  // variant; only the empty set can beat that without sharing anything.
  std::vector<int> candidati = lavoro.toccati;
  if (insiemeVuoto_ >= 0) candidati.push_back(insiemeVuoto_);
  if (candidati.empty())
    for (std::size_t u = 0; u < insiemi_.size(); ++u) candidati.push_back(static_cast<int>(u));
  Classificazione esito = scegli(candidati, pesoCampione, lavoro);
  for (int u : lavoro.toccati) lavoro.trovato[static_cast<std::size_t>(u)] = 0;
  lavoro.toccati.clear();
  return esito;
}

Classificazione ClassificatoreAplogruppi::scegli(std::span<const int> candidati, int pesoCampione,
                                                 Lavoro& lavoro) const {
  std::vector<double>& perGruppo = lavoro.migliorePerGruppo;
  perGruppo.assign(albero_->gruppi().size(), pesoCampione > 0 ? 0.0 : 0.5);
  Punteggio migliore{-1, 1};
  std::vector<int> pari;
  for (int u : candidati) {
    Punteggio p = punteggio(u, pesoCampione, lavoro);
    for (int g : insiemi_[static_cast<std::size_t>(u)].gruppi)
      perGruppo[static_cast<std::size_t>(g)] =
          std::max(perGruppo[static_cast<std::size_t>(g)], p.qualita());
    if (migliore < p) {
      migliore = p;
      pari.clear();
    }
    if (p == migliore) pari.push_back(u);
  }
  Classificazione esito;
  esito.aplogruppo = vincitore(pari);
  const AlberoAplogruppi::Aplogruppo& a = albero_->aplogruppi()[esito.aplogruppo];
  esito.nome = a.nome;
  esito.qualita = migliore.qualita();
  double altro = 0;
  for (std::size_t g = 0; g < perGruppo.size(); ++g)
    if (static_cast<int>(g) != a.gruppo) altro = std::max(altro, perGruppo[g]);
  esito.margine = std::max(0.0, esito.qualita - altro);
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
