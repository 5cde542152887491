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
  std::vector<std::vector<int>> insiemiColonna(pesoColonna_.size());
  std::map<std::vector<int>, int> perInsieme;
  for (std::size_t h = 0; h < albero.aplogruppi().size(); ++h) {
    std::vector<int> colonne;
    for (int v : albero.aplogruppi()[h].attese)
      if (int c = colonnaVariante[static_cast<std::size_t>(v)]; c >= 0) colonne.push_back(c);
    auto [it, nuovo] = perInsieme.emplace(std::move(colonne), static_cast<int>(insiemi_.size()));
    if (nuovo) aggiungiInsieme(it->first, insiemiColonna);
    insiemi_[static_cast<std::size_t>(it->second)].membri.push_back(static_cast<int>(h));
  }
  inizioColonna_.push_back(0);
  for (const std::vector<int>& insiemi : insiemiColonna) {
    insiemiColonne_.insert(insiemiColonne_.end(), insiemi.begin(), insiemi.end());
    inizioColonna_.push_back(insiemiColonne_.size());
  }
  for (Insieme& insieme : insiemi_) {
    for (int h : insieme.membri) insieme.gruppi.push_back(albero.aplogruppi()[h].gruppo);
    std::sort(insieme.gruppi.begin(), insieme.gruppi.end());
    insieme.gruppi.erase(std::unique(insieme.gruppi.begin(), insieme.gruppi.end()),
                         insieme.gruppi.end());
    insieme.vincitore = spareggio(insieme.membri);
    gruppoUnico_.push_back(insieme.gruppi.size() == 1 ? insieme.gruppi[0] : -1);
  }
}

void ClassificatoreAplogruppi::aggiungiInsieme(const std::vector<int>& colonne,
                                               std::vector<std::vector<int>>& insiemiColonna) {
  int numero = static_cast<int>(insiemi_.size());
  Insieme insieme;
  for (int c : colonne) {
    insieme.atteso += pesoColonna_[static_cast<std::size_t>(c)];
    insiemiColonna[static_cast<std::size_t>(c)].push_back(numero);
  }
  if (colonne.empty()) insiemeVuoto_ = numero;
  inversoAtteso_.push_back(insieme.atteso > 0 ? 1.0 / insieme.atteso : 0.0);
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
    if (auto it = colonna_.find(chiave(v)); it != colonna_.end()) {
      lavoro.campione.push_back(it->second);
      pesoCampione += pesoColonna_[static_cast<std::size_t>(it->second)];
    } else {
      pesoCampione += peso(v);
    }
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

double ClassificatoreAplogruppi::qualita(int insieme, double inversoCampione,
                                         const Lavoro& lavoro) const {
  double trovato = lavoro.trovato[static_cast<std::size_t>(insieme)];
  double inverso = inversoAtteso_[static_cast<std::size_t>(insieme)];
  return 0.5 * (inverso > 0 ? trovato * inverso : 1.0) +
         0.5 * (inversoCampione > 0 ? trovato * inversoCampione : 1.0);
}

Classificazione ClassificatoreAplogruppi::classifica(std::span<const Variante> campione) const {
  Lavoro lavoro;
  return classifica(campione, lavoro);
}

Classificazione ClassificatoreAplogruppi::classifica(std::span<const Variante> campione,
                                                     Lavoro& lavoro) const {
  lavoro.trovato.resize(insiemi_.size());
  int pesoCampione = preparaCampione(campione, lavoro);
  std::vector<int>& candidati = lavoro.toccati;
  for (int c : lavoro.campione) {
    int w = pesoColonna_[static_cast<std::size_t>(c)];
    for (std::size_t k = inizioColonna_[static_cast<std::size_t>(c)];
         k < inizioColonna_[static_cast<std::size_t>(c) + 1]; ++k) {
      int u = insiemiColonne_[k];
      if (lavoro.trovato[static_cast<std::size_t>(u)] == 0) candidati.push_back(u);
      lavoro.trovato[static_cast<std::size_t>(u)] += w;
    }
  }
  // Sets sharing nothing with the sample score 0, or 1/2 when the sample has no counted
  // variant; only the empty set can beat that without sharing anything.
  if (insiemeVuoto_ >= 0) candidati.push_back(insiemeVuoto_);
  if (candidati.empty())
    for (std::size_t u = 0; u < insiemi_.size(); ++u) candidati.push_back(static_cast<int>(u));
  Classificazione esito = scegli(pesoCampione, lavoro);
  for (int u : candidati) lavoro.trovato[static_cast<std::size_t>(u)] = 0;
  candidati.clear();
  return esito;
}

// The best score of each top-level group in doubles, then the exact ties among the sets whose
// double comes near the best.
Classificazione ClassificatoreAplogruppi::scegli(int pesoCampione, Lavoro& lavoro) const {
  std::vector<double>& perGruppo = lavoro.migliorePerGruppo;
  perGruppo.assign(albero_->gruppi().size(), pesoCampione > 0 ? 0.0 : 0.5);
  double inversoCampione = pesoCampione > 0 ? 1.0 / pesoCampione : 0.0;
  double massima = -1;
  lavoro.qualita.resize(lavoro.toccati.size());
  for (std::size_t i = 0; i < lavoro.toccati.size(); ++i) {
    int u = lavoro.toccati[i];
    double q = qualita(u, inversoCampione, lavoro);
    lavoro.qualita[i] = q;
    massima = std::max(massima, q);
    if (int g = gruppoUnico_[static_cast<std::size_t>(u)]; g >= 0) {
      perGruppo[static_cast<std::size_t>(g)] = std::max(perGruppo[static_cast<std::size_t>(g)], q);
      continue;
    }
    for (int g : insiemi_[static_cast<std::size_t>(u)].gruppi)
      perGruppo[static_cast<std::size_t>(g)] = std::max(perGruppo[static_cast<std::size_t>(g)], q);
  }
  Punteggio migliore{-1, 1};
  std::vector<int>& pari = lavoro.pari;
  pari.clear();
  for (std::size_t i = 0; i < lavoro.toccati.size(); ++i) {
    if (lavoro.qualita[i] < massima - 1e-9) continue;
    Punteggio p = punteggio(lavoro.toccati[i], pesoCampione, lavoro);
    if (migliore < p) {
      migliore = p;
      pari.clear();
    }
    if (p == migliore) pari.push_back(lavoro.toccati[i]);
  }
  Classificazione esito;
  esito.aplogruppo = vincitore(pari);
  const AlberoAplogruppi::Aplogruppo& a = albero_->aplogruppi()[esito.aplogruppo];
  esito.nome = a.nome;
  esito.qualita = qualita(pari.front(), inversoCampione, lavoro);
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
