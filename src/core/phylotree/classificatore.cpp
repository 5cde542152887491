#include "phylotree/classificatore.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>
#include <utility>

#include "phylotree/corsie.h"
#include "sequence/riferimento.h"

namespace vorlane {

bool puntoCaldo(const Variante& v) {
  if (v.posizione == kSegnaposto) return true;
  if (v.inserzione > 0)
    return v.posizione == 309 || v.posizione == 310 || v.posizione == 315 || v.posizione == 16193 ||
           v.posizione == 523 || v.posizione == 524;
  if (v.delezione()) return v.posizione == 523 || v.posizione == 524;
  return v.posizione == 16182 || v.posizione == 16183 || v.posizione == 16519;
}

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
  // Sets by group, those spanning groups last. Of tied sets the first in this order gives the
  // call's quality, and equal fractions can differ in a double's last bit.
  std::stable_sort(insiemi.begin(), insiemi.end(), [](const auto& x, const auto& y) {
    return std::pair(x.second.gruppi.size() > 1, x.second.gruppi[0]) <
           std::pair(y.second.gruppi.size() > 1, y.second.gruppi[0]);
  });
  std::vector<std::vector<int>> insiemiColonna(pesoColonna_.size());
  for (auto& [colonne, insieme] : insiemi)
    aggiungiInsieme(*colonne, std::move(insieme), insiemiColonna);
  preparaForme(insiemiColonna);
}

// The tree's variants come increasing, and so do the columns.
void ClassificatoreAplogruppi::preparaColonne() {
  for (int p = 0; p <= kUltimaPosizione; ++p)
    pesoPosizione_.push_back(
        pesoVariante(albero_->cambi(Variante{p, 0, 'A'}), albero_->cambiMassimi()));
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

// A variant that many sets expect would touch most of them; as a bit of the forms instead, the
// sets that share only such variants with a sample are scored a form at a time, by atteso.
void ClassificatoreAplogruppi::preparaForme(const std::vector<std::vector<int>>& insiemiColonna) {
  constexpr std::size_t kBit = 64;
  const std::size_t n = insiemi_.size();
  std::vector<int> comuni;
  for (std::size_t c = 0; c < insiemiColonna.size(); ++c)
    if (10 * insiemiColonna[c].size() > n) comuni.push_back(static_cast<int>(c));
  std::stable_sort(comuni.begin(), comuni.end(), [&](int x, int y) {
    return insiemiColonna[static_cast<std::size_t>(x)].size() >
           insiemiColonna[static_cast<std::size_t>(y)].size();
  });
  if (comuni.size() > kBit) comuni.resize(kBit);
  bitColonna_.assign(insiemiColonna.size(), -1);
  std::vector<std::uint64_t> mascheraInsieme(n, 0);
  for (std::size_t b = 0; b < comuni.size(); ++b) {
    const std::size_t c = static_cast<std::size_t>(comuni[b]);
    bitColonna_[c] = static_cast<int>(b);
    pesoBit_.push_back(pesoColonna_[c]);
    for (int u : insiemiColonna[c])
      mascheraInsieme[static_cast<std::size_t>(u)] |= std::uint64_t{1} << b;
  }
  inizioColonna_.push_back(0);
  for (std::size_t c = 0; c < insiemiColonna.size(); ++c) {
    if (bitColonna_[c] < 0)
      insiemiColonne_.insert(insiemiColonne_.end(), insiemiColonna[c].begin(),
                             insiemiColonna[c].end());
    inizioColonna_.push_back(insiemiColonne_.size());
  }
  std::map<std::uint64_t, std::vector<int>> perForma;
  for (std::size_t u = 0; u < n; ++u)
    if (static_cast<int>(u) != insiemeVuoto_)
      perForma[mascheraInsieme[u]].push_back(static_cast<int>(u));
  std::vector<std::pair<std::uint64_t, std::vector<int>>> forme(perForma.begin(), perForma.end());
  auto atteso = [&](int u) { return insiemi_[static_cast<std::size_t>(u)].atteso; };
  for (auto& [maschera, membri] : forme)
    std::stable_sort(membri.begin(), membri.end(),
                     [&](int x, int y) { return atteso(x) < atteso(y); });
  formaInsieme_.assign(n, -1);
  inizioForma_.push_back(0);
  for (auto& [maschera, membri] : forme) {
    for (int u : membri)
      formaInsieme_[static_cast<std::size_t>(u)] = static_cast<int>(mascheraForma_.size());
    mascheraForma_.push_back(maschera);
    inversoTesta_.push_back(
        static_cast<float>(inversoAtteso_[static_cast<std::size_t>(membri[0])]));
    insiemiForme_.insert(insiemiForme_.end(), membri.begin(), membri.end());
    inizioForma_.push_back(insiemiForme_.size());
  }
  // Each bit's weight, or 0, for every form: a sample's forms are weighed column by column.
  pesoBitForma_.assign(pesoBit_.size() * mascheraForma_.size(), 0);
  for (std::size_t b = 0; b < pesoBit_.size(); ++b)
    for (std::size_t f = 0; f < mascheraForma_.size(); ++f)
      if ((mascheraForma_[f] >> b) & 1) pesoBitForma_[b * mascheraForma_.size() + f] = pesoBit_[b];
  for (const Insieme& insieme : insiemi_)
    soloGruppo_.push_back(insieme.gruppi.size() == 1 ? insieme.gruppi[0] : -1);
  for (std::size_t f = 0; f < mascheraForma_.size(); ++f) {
    std::size_t k = inizioForma_[f];
    const int gruppo = soloGruppo_[static_cast<std::size_t>(insiemiForme_[k])];
    while (k < inizioForma_[f + 1] &&
           soloGruppo_[static_cast<std::size_t>(insiemiForme_[k])] == gruppo)
      ++k;
    primoAltro_.push_back(k);
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
  insiemi_.push_back(std::move(insieme));
}

// A sample's variants off the tree's columns are weighed too: substitutions from a table by
// position (a site's changes do not depend on the base), the few insertions from the tree.
int ClassificatoreAplogruppi::peso(const Variante& v) const {
  if (v.inserzione == 0 && static_cast<std::size_t>(v.posizione) < pesoPosizione_.size())
    return pesoPosizione_[static_cast<std::size_t>(v.posizione)];
  return pesoVariante(albero_->cambi(v), albero_->cambiMassimi());
}

int ClassificatoreAplogruppi::preparaCampione(std::span<const Variante> campione,
                                              Lavoro& lavoro) const {
  std::vector<Variante>& contate = lavoro.contate;
  contate.clear();
  for (const Variante& v : campione)
    if (conta(v)) contate.push_back(v);
  // A sample's marks come by position, so mostly already in order.
  if (!std::is_sorted(contate.begin(), contate.end())) std::sort(contate.begin(), contate.end());
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

int ClassificatoreAplogruppi::trovato(std::size_t insieme, const Lavoro& lavoro) const {
  const int forma = formaInsieme_[insieme];
  return (forma < 0 ? 0 : lavoro.pesoForma[static_cast<std::size_t>(forma)]) + lavoro.raro[insieme];
}

double ClassificatoreAplogruppi::tettoForma(std::size_t forma, const Lavoro& lavoro) const {
  return qualita(static_cast<std::size_t>(insiemiForme_[inizioForma_[forma]]),
                 lavoro.pesoForma[forma], lavoro);
}

ClassificatoreAplogruppi::Punteggio ClassificatoreAplogruppi::punteggio(
    int insieme, int pesoCampione, const Lavoro& lavoro) const {
  std::int64_t trovato = this->trovato(static_cast<std::size_t>(insieme), lavoro);
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
  lavoro.inversoCampione = pesoCampione > 0 ? 0.5 / pesoCampione : 0.0;
  lavoro.senzaCampione = pesoCampione > 0 ? 0.0 : 0.5;
  accumula(lavoro);
  Classificazione esito = scegli(pesoCampione, lavoro);
  for (int u : std::span(lavoro.toccati).first(lavoro.quantiToccati))
    lavoro.raro[static_cast<std::size_t>(u)] = 0;
  return esito;
}

// The weight each set shares with the sample is its form's (the common variants) plus raro, which
// only the sets on the lists of the sample's other variants have; those sets are the touched
// ones, scored one by one.
void ClassificatoreAplogruppi::accumula(Lavoro& lavoro) const {
  lavoro.raro.resize(insiemi_.size(), 0);
  lavoro.toccati.resize(insiemi_.size());
  lavoro.maschera = 0;
  // Without a branch on whether a set was touched before, which no predictor guesses.
  int* raro = lavoro.raro.data();
  int* toccati = lavoro.toccati.data();
  std::size_t quanti = 0;
  for (int c : lavoro.campione) {
    const std::size_t colonna = static_cast<std::size_t>(c);
    if (bitColonna_[colonna] >= 0) {
      lavoro.maschera |= std::uint64_t{1} << bitColonna_[colonna];
      continue;
    }
    const int w = pesoColonna_[colonna];
    for (std::size_t k = inizioColonna_[colonna]; k < inizioColonna_[colonna + 1]; ++k) {
      const int u = insiemiColonne_[k];
      toccati[quanti] = u;
      quanti += raro[u] == 0 ? 1 : 0;
      raro[u] += w;
    }
  }
  lavoro.quantiToccati = quanti;
  lavoro.pesoForma.assign(mascheraForma_.size(), 0);
  for (std::uint64_t bit = lavoro.maschera; bit != 0; bit &= bit - 1) {
    const std::size_t b = static_cast<std::size_t>(std::countr_zero(bit));
    sommaColonna(pesoBitForma_.data() + b * mascheraForma_.size(), mascheraForma_.size(),
                 lavoro.pesoForma.data());
  }
}

// (trovato / atteso + trovato / pesoCampione) / 2, a ratio over nothing counting as 1.
double ClassificatoreAplogruppi::qualita(std::size_t insieme, int trovato,
                                         const Lavoro& lavoro) const {
  if (static_cast<int>(insieme) == insiemeVuoto_) return 0.5 + lavoro.senzaCampione;
  const double t = trovato;
  return t * inversoAtteso_[insieme] + t * lavoro.inversoCampione + lavoro.senzaCampione;
}

// The forms whose bound, in single precision (off by less than 1e-6 here), comes within the
// tolerance of soglia: the only ones that can hold a set scoring soglia or more.
void ClassificatoreAplogruppi::formeVicine(double soglia, Lavoro& lavoro) const {
  constexpr double kTolleranza = 1e-5;
  // Room for every form, kept from one sample to the next: no clearing of it on each call.
  if (lavoro.forme.size() < mascheraForma_.size()) lavoro.forme.resize(mascheraForma_.size());
  lavoro.quanteForme =
      sopraSogliaInCorsie(lavoro.tettoVeloce.data(), mascheraForma_.size(),
                          static_cast<float>(soglia - kTolleranza), lavoro.forme.data());
}

// Within a form the untouched sets share trovato, so their scores fall as atteso grows: the
// form's first set bounds them all (tettoForma), and its first untouched set is their best.
double ClassificatoreAplogruppi::migliore(Lavoro& lavoro) const {
  double massima = 0;
  // A touched set is never the empty one, and always has a form.
  lavoro.qualitaToccati.resize(lavoro.toccati.size());
  for (std::size_t i = 0; i < lavoro.quantiToccati; ++i) {
    const std::size_t u = static_cast<std::size_t>(lavoro.toccati[i]);
    const double t = lavoro.pesoForma[static_cast<std::size_t>(formaInsieme_[u])] + lavoro.raro[u];
    const double q = t * inversoAtteso_[u] + t * lavoro.inversoCampione + lavoro.senzaCampione;
    lavoro.qualitaToccati[i] = q;
    massima = std::max(massima, q);
  }
  if (insiemeVuoto_ >= 0)
    massima = std::max(massima, qualita(static_cast<std::size_t>(insiemeVuoto_), 0, lavoro));
  const ParametriQualita parametri{0, static_cast<float>(lavoro.inversoCampione),
                                   static_cast<float>(lavoro.senzaCampione)};
  lavoro.tettoVeloce.resize(mascheraForma_.size());
  qualitaInCorsie(lavoro.pesoForma.data(), inversoTesta_.data(), mascheraForma_.size(), parametri,
                  lavoro.tettoVeloce.data());
  // The best can only rise from here: these forms hold every set near it.
  formeVicine(massima, lavoro);
  for (int f : std::span(lavoro.forme).first(lavoro.quanteForme)) {
    const std::size_t forma = static_cast<std::size_t>(f);
    if (tettoForma(forma, lavoro) <= massima) continue;
    for (std::size_t k = inizioForma_[forma]; k < inizioForma_[forma + 1]; ++k) {
      const std::size_t u = static_cast<std::size_t>(insiemiForme_[k]);
      if (toccato(u, lavoro)) continue;
      massima = std::max(massima, qualita(u, lavoro.pesoForma[forma], lavoro));
      break;
    }
  }
  return massima;
}

// The sets scoring at least soglia (not below the best of the touched sets), increasing.
void ClassificatoreAplogruppi::candidati(double soglia, Lavoro& lavoro) const {
  std::vector<int>& candidati = lavoro.candidati;
  candidati.clear();
  for (std::size_t i = 0; i < lavoro.quantiToccati; ++i)
    if (lavoro.qualitaToccati[i] >= soglia) candidati.push_back(lavoro.toccati[i]);
  if (insiemeVuoto_ >= 0 && qualita(static_cast<std::size_t>(insiemeVuoto_), 0, lavoro) >= soglia)
    candidati.push_back(insiemeVuoto_);
  for (int f : std::span(lavoro.forme).first(lavoro.quanteForme)) {
    const std::size_t forma = static_cast<std::size_t>(f);
    if (tettoForma(forma, lavoro) < soglia) continue;
    for (std::size_t k = inizioForma_[forma]; k < inizioForma_[forma + 1]; ++k) {
      const std::size_t u = static_cast<std::size_t>(insiemiForme_[k]);
      if (toccato(u, lavoro)) continue;
      if (qualita(u, lavoro.pesoForma[forma], lavoro) < soglia) break;
      candidati.push_back(static_cast<int>(u));
    }
  }
  std::sort(candidati.begin(), candidati.end());
}

// The best score of a set with a haplogroup outside `gruppo`. A form's sets of its first set's
// group come first, and when that group is `gruppo` they are passed over at once.
double ClassificatoreAplogruppi::miglioreFuori(int gruppo, Lavoro& lavoro) const {
  double altro = 0;
  for (std::size_t i = 0; i < lavoro.quantiToccati; ++i)
    if (soloGruppo_[static_cast<std::size_t>(lavoro.toccati[i])] != gruppo)
      altro = std::max(altro, lavoro.qualitaToccati[i]);
  if (insiemeVuoto_ >= 0 && soloGruppo_[static_cast<std::size_t>(insiemeVuoto_)] != gruppo)
    altro = std::max(altro, qualita(static_cast<std::size_t>(insiemeVuoto_), 0, lavoro));
  formeVicine(altro, lavoro);
  for (int f : std::span(lavoro.forme).first(lavoro.quanteForme)) {
    const std::size_t forma = static_cast<std::size_t>(f);
    if (tettoForma(forma, lavoro) <= altro) continue;
    std::size_t k = inizioForma_[forma];
    if (soloGruppo_[static_cast<std::size_t>(insiemiForme_[k])] == gruppo) k = primoAltro_[forma];
    for (; k < inizioForma_[forma + 1]; ++k) {
      const std::size_t u = static_cast<std::size_t>(insiemiForme_[k]);
      if (toccato(u, lavoro)) continue;
      const double q = qualita(u, lavoro.pesoForma[forma], lavoro);
      if (q <= altro) break;
      if (soloGruppo_[u] != gruppo) {
        altro = q;
        break;
      }
    }
  }
  return altro;
}

Classificazione ClassificatoreAplogruppi::scegli(int pesoCampione, Lavoro& lavoro) const {
  const double massima = migliore(lavoro);
  // Exact ties among the sets whose double comes near the best.
  candidati(massima - 1e-9, lavoro);
  Punteggio migliore{-1, 1};
  std::vector<int>& pari = lavoro.pari;
  pari.clear();
  for (int u : lavoro.candidati) {
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
  const std::size_t primo = static_cast<std::size_t>(pari.front());
  esito.qualita = qualita(primo, trovato(primo, lavoro), lavoro);
  const double altro = miglioreFuori(a.gruppo, lavoro);
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
