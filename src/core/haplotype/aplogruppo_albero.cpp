#include "haplotype/aplogruppo_albero.h"

#include "stato/messaggi.h"
#include "text/testo.h"

namespace vorlane {

void variantiSegnate(std::string_view sequenza, std::span<const int> segnate,
                     std::vector<Variante>& varianti) {
  varianti.clear();
  for (int p : segnate)
    varianti.push_back({p, 0, maiuscola(sequenza[static_cast<std::size_t>(p)])});
}

std::vector<Variante> variantiSegnate(std::string_view sequenza, std::span<const int> segnate) {
  std::vector<Variante> varianti;
  variantiSegnate(sequenza, segnate, varianti);
  return varianti;
}

// One string grown in place: a multiple run writes one for every new profile.
std::string testoAplogruppo(const Contesto& stato, const Classificazione& c) {
  const std::string& qualita = stato.messaggi[msg::qualita];
  const std::string& margine = stato.messaggi[msg::margine];
  const std::string& incerto = stato.messaggi[msg::incerto];
  std::string testo;
  testo.reserve(c.nome.size() + qualita.size() + margine.size() + incerto.size() + 24);
  testo.append(c.nome).append(" (").append(qualita).append(" ").append(testoDecimali(c.qualita, 2));
  testo.append("; ").append(margine).append(" ").append(testoDecimali(c.margine, 2));
  if (!c.affidabile()) testo.append("; ").append(incerto);
  testo.push_back(')');
  return testo;
}

namespace {
// The labels of a block end at its 31st column.
std::string etichetta(std::string_view testo) {
  std::string e(testo);
  if (e.size() < 30) e.append(30 - e.size(), ' ');
  return e + ": ";
}
}  // namespace

std::string rigaAplogruppo(const Contesto& stato, const std::string& testo) {
  return etichetta(stato.messaggi[msg::aplogruppoPhyloTree]) + testo;
}

std::string rigaVarianti(std::string_view nome, std::span<const Variante> varianti) {
  std::string riga = etichetta(nome);
  if (varianti.empty()) return riga + "-";
  for (std::size_t i = 0; i < varianti.size(); ++i) {
    if (i > 0) riga.push_back(' ');
    riga.append(testoVariante(varianti[i]));
  }
  return riga;
}

std::size_t ChiamateRecenti::impronta(std::string_view chiave) {
  return std::hash<std::string_view>{}(chiave);
}

// Most lookups miss, and a different impronta tells so without reading the key's own memory.
bool ChiamateRecenti::cerca(std::size_t impronta, std::string_view chiave,
                            Classificazione& chiamata, std::string& testo) {
  const std::size_t posto = impronta % kPosti;
  std::lock_guard<std::mutex> chiuso(blocco(posto));
  const Chiamata& c = chiamate_[posto];
  if (!c.scritta || c.impronta != impronta || c.chiave != chiave) return false;
  chiamata = c.chiamata;
  testo = c.testo;
  return true;
}

// The strings keep their room, so a place written again seldom allocates.
void ChiamateRecenti::metti(std::size_t impronta, std::string_view chiave,
                            const Classificazione& chiamata, const std::string& testo) {
  const std::size_t posto = impronta % kPosti;
  std::lock_guard<std::mutex> chiuso(blocco(posto));
  Chiamata& c = chiamate_[posto];
  c.scritta = true;
  c.impronta = impronta;
  c.chiave.assign(chiave);
  c.testo.assign(testo);
  c.chiamata = chiamata;
}

const ClassificatoreAplogruppi& ClassificatoriAlbero::per(int da, int a) {
  std::lock_guard<std::mutex> blocco(mutex_);
  auto& c = classificatori_[{da, a}];
  if (!c) c = std::make_unique<ClassificatoreAplogruppi>(alberoPhyloTree17(), Copertura({{da, a}}));
  return *c;
}

}  // namespace vorlane
