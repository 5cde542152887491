#include "report/risultati.h"

#include <algorithm>
#include <charconv>

#include "sequence/differenze.h"
#include "text/testo.h"

namespace vorlane {
void RigaRisultati::separa() {
  if (!vuota_) riga_.push_back('\t');
  vuota_ = false;
}

RigaRisultati& RigaRisultati::testo(std::string_view cp1252) {
  separa();
  aggiungiCampoUtf8(riga_, cp1252);
  return *this;
}

RigaRisultati& RigaRisultati::numero(double valore) {
  separa();
  char testo[32];
  auto [fine, errore] = std::to_chars(testo, testo + sizeof testo, valore);
  if (errore == std::errc()) riga_.append(testo, fine);
  return *this;
}

RigaRisultati& RigaRisultati::decimali(double valore, int cifre) {
  separa();
  riga_.append(decimaliConPunto(valore, cifre));
  return *this;
}

RigaRisultati& RigaRisultati::varianti(std::span<const Variante> varianti) {
  separa();
  for (std::size_t i = 0; i < varianti.size(); ++i) {
    if (i > 0) riga_.push_back(' ');
    aggiungiVariante(riga_, varianti[i]);
  }
  return *this;
}

RigaRisultati& RigaRisultati::campione(const std::filesystem::path& file, std::string_view nome,
                                       std::string_view frequenza, std::string_view intervallo,
                                       std::span<const Variante> differenze) {
  if (nomeFile_.empty() || file != file_) {
    file_ = file;
    nomeFile_ = testoPercorso(file.filename());
  }
  testo(nomeFile_);
  testo(nome);
  testo(frequenza.empty() ? std::string_view("1") : frequenza);
  testo(intervallo);
  numero(static_cast<double>(differenze.size()));
  return varianti(differenze);
}

RigaRisultati& RigaRisultati::confronto(std::string_view aplotipo, const Classificazione& albero) {
  testo(aplotipo);
  testo(albero.nome);
  if (albero.nome.empty()) return testo("").testo("");
  return decimali(albero.qualita, 4).decimali(albero.margine, 4);
}

RigaRisultati& RigaRisultati::profilo(std::string_view nome, std::span<const Intervallo> tratti,
                                      std::string_view aplogruppo,
                                      std::span<const Variante> varianti) {
  testo(nome);
  separa();
  aggiungiTratti(riga_, tratti);
  testo(aplogruppo.empty() ? std::string_view("?") : aplogruppo);
  ordinate_.assign(varianti.begin(), varianti.end());
  std::sort(ordinate_.begin(), ordinate_.end());
  for (const Variante& v : ordinate_) {
    if (v.base == 'N') continue;
    separa();
    aggiungiVariante(riga_, v);
  }
  return *this;
}

void RigaRisultati::fine(ScrittoreTesto& uscita) {
  uscita.riga(riga_);
  riga_.clear();
  vuota_ = true;
}

void differenzeTesto(std::string_view campione, std::string_view riferimento,
                     std::string_view piega, int inizio, char ignorato,
                     std::vector<Variante>& varianti, std::vector<int>* mancanti) {
  varianti.clear();
  if (mancanti) mancanti->clear();
  const std::size_t n = std::min({campione.size(), riferimento.size(), piega.size()});
  // The kernel marks every character that is not the reference's letter in either case; the
  // rest of the rule is applied to those few.
  perOgniDifferenza(campione.data(), riferimento.data(), piega.data(), n, [&](std::size_t k) {
    char c = maiuscola(campione[k]);
    const char r = maiuscola(riferimento[k]);
    if (c == r || r < 'A' || r > 'Z' || r == 'X') return;
    const int p = inizio + static_cast<int>(k);
    const bool segno = c != Variante::kDelezione && (c < 'A' || c > 'Z');
    if (mancanti && (c == ignorato || segno || c == 'N')) mancanti->push_back(p);
    if (c == ignorato) return;
    varianti.push_back({p, 0, segno ? 'N' : c});
  });
}

std::vector<Variante> differenzeTesto(std::string_view campione, std::string_view riferimento,
                                      int inizio, char ignorato) {
  std::vector<Variante> varianti;
  differenzeTesto(campione, riferimento, piegaDi(riferimento), inizio, ignorato, varianti);
  return varianti;
}

std::string testoIntervallo(std::string_view da, std::string_view a) {
  return std::string(senzaSpazi(da)).append("-").append(senzaSpazi(a));
}

std::filesystem::path percorsoRisultati(const Contesto& stato, std::string_view nome,
                                        std::string_view estensione) {
  return stato.cartellaRisultati / percorsoDaTesto(std::string(nome).append(estensione));
}

TabellaRisultati::TabellaRisultati(const Contesto& stato, std::string_view nome,
                                   std::initializer_list<std::span<const std::string_view>> colonne,
                                   std::span<const std::string> altreColonne)
    : file_(percorsoRisultati(stato, nome)), tabella_(file_) {
  RigaRisultati intestazione;
  for (std::span<const std::string_view> gruppo : colonne)
    for (std::string_view c : gruppo) intestazione.testo(c);
  for (const std::string& c : altreColonne) intestazione.testo(c);
  intestazione.fine(tabella_);
}

TabellaRisultati::TabellaRisultati(const Contesto& stato, std::string_view nome, Profili)
    : file_(percorsoRisultati(stato, nome, ".hsd")), tabella_(file_), profili_(true) {
  RigaRisultati intestazione;
  for (std::string_view c : kIntestazioneProfili) intestazione.testo(c);
  intestazione.fine(tabella_);
}

void TabellaRisultati::concludi(StatoVorlane& stato) {
  tabella_.conferma();
  (profili_ ? stato.profiliRisultati : stato.tabellaRisultati) = file_;
}

}  // namespace vorlane
