#include "report/risultati.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "sequence/differenze.h"
#include "text/testo.h"

namespace vorlane {
namespace {

// A character that would end the field or the row, or drive a terminal, as its picture.
void aggiungiVisibile(std::string& riga, std::string_view utf8) {
  auto controllo = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
  if (std::none_of(utf8.begin(), utf8.end(), controllo)) return void(riga.append(utf8));
  for (unsigned char c : utf8) {
    if (c >= 0x20 && c != 0x7F) {
      riga.push_back(static_cast<char>(c));
      continue;
    }
    const char32_t figura = c == 0x7F ? 0x2421 : 0x2400 + c;
    riga.push_back(static_cast<char>(0xE0 | (figura >> 12)));
    riga.push_back(static_cast<char>(0x80 | ((figura >> 6) & 0x3F)));
    riga.push_back(static_cast<char>(0x80 | (figura & 0x3F)));
  }
}

}  // namespace

void RigaRisultati::separa() {
  if (!vuota_) riga_.push_back('\t');
  vuota_ = false;
}

RigaRisultati& RigaRisultati::testo(std::string_view cp1252) {
  separa();
  if (soloAscii(cp1252))
    aggiungiVisibile(riga_, cp1252);
  else
    aggiungiVisibile(riga_, versoUtf8(cp1252));
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
  char testo[32];
  auto [fine, errore] =
      std::to_chars(testo, testo + sizeof testo, valore, std::chars_format::fixed, cifre);
  if (errore == std::errc()) riga_.append(testo, fine);
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

void RigaRisultati::fine(ScrittoreTesto& uscita) {
  uscita.riga(riga_);
  riga_.clear();
  vuota_ = true;
}

void differenzeTesto(std::string_view campione, std::string_view riferimento,
                     std::string_view piega, int inizio, char ignorato,
                     std::vector<Variante>& varianti) {
  varianti.clear();
  const std::size_t n = std::min({campione.size(), riferimento.size(), piega.size()});
  // The kernel marks every character that is not the reference's letter in either case; the
  // rest of the rule is applied to those few.
  perOgniDifferenza(campione.data(), riferimento.data(), piega.data(), n, [&](std::size_t k) {
    char c = maiuscola(campione[k]);
    const char r = maiuscola(riferimento[k]);
    if (c == r || c == ignorato || r < 'A' || r > 'Z' || r == 'X') return;
    if (c != Variante::kDelezione && (c < 'A' || c > 'Z')) c = 'N';
    varianti.push_back({inizio + static_cast<int>(k), 0, c});
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

std::filesystem::path percorsoRisultati(const StatoVorlane& stato, std::string_view nome) {
  return stato.cartellaRisultati / percorsoDaTesto(std::string(nome).append(".tsv"));
}

TabellaRisultati::TabellaRisultati(const StatoVorlane& stato, std::string_view nome,
                                   std::initializer_list<std::span<const std::string_view>> colonne,
                                   std::span<const std::string> altreColonne)
    : file_(percorsoRisultati(stato, nome)), tabella_(file_) {
  RigaRisultati intestazione;
  for (std::span<const std::string_view> gruppo : colonne)
    for (std::string_view c : gruppo) intestazione.testo(c);
  for (const std::string& c : altreColonne) intestazione.testo(c);
  intestazione.fine(tabella_);
}

void TabellaRisultati::concludi(StatoVorlane& stato) {
  tabella_.conferma();
  stato.tabellaRisultati = file_;
}

}  // namespace vorlane
