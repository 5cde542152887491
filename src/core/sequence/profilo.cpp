#include "sequence/profilo.h"

#include <algorithm>
#include <optional>

#include "sequence/riferimento.h"
#include "text/testo.h"

namespace vorlane {

namespace {

// Calls f on each piece of `testo` between separators, blanks around it left out, empty ones
// passed over.
template <class F>
void perOgniPezzo(std::string_view testo, std::string_view separatori, F&& f) {
  while (!testo.empty()) {
    std::size_t fine = std::min(testo.find_first_of(separatori), testo.size());
    std::string_view pezzo = senzaSpazi(testo.substr(0, fine));
    if (!pezzo.empty()) f(pezzo);
    testo.remove_prefix(std::min(fine + 1, testo.size()));
  }
}

bool leggiTratti(std::string_view testo, std::vector<Intervallo>& tratti) {
  bool valido = true;
  perOgniPezzo(testo, ";", [&](std::string_view pezzo) {
    std::size_t trattino = pezzo.find('-');
    std::optional<int> da = leggiPosizione(senzaSpazi(pezzo.substr(0, trattino)));
    std::optional<int> a = trattino == std::string_view::npos
                               ? da
                               : leggiPosizione(senzaSpazi(pezzo.substr(trattino + 1)));
    if (!da || !a) valido = false;
    if (valido) tratti.push_back({*da, *a});
  });
  return valido && !tratti.empty();
}

bool coperta(const std::vector<Intervallo>& tratti, int p) {
  return std::any_of(tratti.begin(), tratti.end(),
                     [p](const Intervallo& t) { return t.contiene(p); });
}

// "315.1C", or "8289.1CCT" as 8289.1C 8289.2C 8289.3T; false when `testo` is no variant.
bool leggiVarianti(std::string_view testo, std::vector<Variante>& varianti) {
  const std::size_t punto = testo.find('.');
  const std::size_t basi = punto == std::string_view::npos
                               ? std::string_view::npos
                               : testo.find_first_not_of("0123456789", punto + 1);
  if (basi == std::string_view::npos || testo.size() - basi == 1) {
    std::optional<Variante> v = leggiVariante(testo);
    if (v) varianti.push_back(*v);
    return v.has_value();
  }
  std::optional<Variante> prima = leggiVariante(testo.substr(0, basi + 1));
  if (!prima) return false;
  const std::string_view sito = testo.substr(0, basi);
  for (std::size_t k = basi; k < testo.size(); ++k) {
    std::optional<Variante> v = leggiVariante(std::string(sito).append(1, testo[k]));
    if (!v) return false;
    v->inserzione = prima->inserzione + static_cast<int>(k - basi);
    if (v->inserzione >= 64) return false;
    varianti.push_back(*v);
  }
  return true;
}

std::string variantiRipetute(const std::vector<Variante>& varianti) {
  std::vector<std::pair<int, std::size_t>> siti;
  for (std::size_t k = 0; k < varianti.size(); ++k) siti.push_back({varianti[k].sito(), k});
  std::sort(siti.begin(), siti.end());
  for (std::size_t k = 1; k < siti.size(); ++k)
    if (siti[k].first == siti[k - 1].first)
      return "due varianti nello stesso punto: " + testoVariante(varianti[siti[k - 1].second]) +
             " e " + testoVariante(varianti[siti[k].second]);
  return {};
}

}  // namespace

bool nomeDiProfili(const std::filesystem::path& file) {
  return ugualiSenzaMaiuscole(file.extension().string(), ".hsd");
}

bool intestazioneProfili(std::string_view riga) {
  return ugualiSenzaMaiuscole(senzaSpazi(riga.substr(0, riga.find('\t'))), "SampleId");
}

std::string leggiProfilo(std::string_view campi, Profilo& profilo) {
  profilo.tratti.clear();
  profilo.aplogruppo.clear();
  profilo.varianti.clear();
  std::size_t t1 = std::min(campi.find('\t'), campi.size());
  std::string_view intervallo = senzaSpazi(campi.substr(0, t1));
  if (intervallo.empty()) return "manca l'intervallo delle posizioni coperte (Range)";
  if (!leggiTratti(intervallo, profilo.tratti))
    return std::string("intervallo non valido: ").append(intervallo);
  campi.remove_prefix(std::min(t1 + 1, campi.size()));
  std::size_t t2 = std::min(campi.find('\t'), campi.size());
  profilo.aplogruppo = senzaSpazi(campi.substr(0, t2));
  campi.remove_prefix(std::min(t2 + 1, campi.size()));
  std::string errore;
  perOgniPezzo(campi, " \t", [&](std::string_view testo) {
    if (!errore.empty()) return;
    const std::size_t prima = profilo.varianti.size();
    if (!leggiVarianti(testo, profilo.varianti))
      errore = std::string("variante non valida: ").append(testo);
    else if (!coperta(profilo.tratti, profilo.varianti[prima].posizione))
      errore = std::string("la variante ")
                   .append(testo)
                   .append(" \xE8 fuori dall'intervallo del profilo");
  });
  if (!errore.empty()) return errore;
  return variantiRipetute(profilo.varianti);
}

void aggiungiTratti(std::string& testo, std::span<const Intervallo> tratti) {
  bool primo = true;
  auto tratto = [&](int da, int a) {
    if (!primo) testo.push_back(';');
    primo = false;
    testo.append(std::to_string(da));
    if (a == da) return;
    testo.push_back('-');
    testo.append(std::to_string(a));
  };
  for (const Intervallo& t : tratti) perOgniTratto(t, tratto);
}

}  // namespace vorlane
