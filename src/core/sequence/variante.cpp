#include "sequence/variante.h"

#include <charconv>

#include "stato/stato.h"
#include "text/testo.h"

namespace vorlane {

namespace {

std::optional<int> intero(std::string_view testo) {
  int valore = 0;
  auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), valore);
  if (testo.empty() || errore != std::errc() || fine != testo.data() + testo.size())
    return std::nullopt;
  return valore;
}

// The four bases and the IUPAC codes of a heteroplasmy; D is left out, it would read as a
// deletion.
bool baseAmmessa(char c) {
  return std::string_view("ACGTRYKMSWBHVN").find(c) != std::string_view::npos;
}

std::optional<Variante> sostituzioneODelezione(int posizione, std::string_view coda) {
  std::string resto;
  for (char c : coda) resto += maiuscola(c);
  if (resto == "D" || resto == "DEL") return Variante{posizione, 0, Variante::kDelezione};
  if (resto.size() == 1 && baseAmmessa(resto[0])) return Variante{posizione, 0, resto[0]};
  return std::nullopt;
}

}  // namespace

std::optional<int> leggiPosizione(std::string_view testo) {
  std::optional<int> p = intero(testo);
  if (!p || *p < 1 || *p > kUltimaPosizione) return std::nullopt;
  return p;
}

std::optional<Variante> leggiVariante(std::string_view testo) {
  std::size_t cifre = testo.find_first_not_of("0123456789");
  if (cifre == std::string_view::npos) return std::nullopt;
  std::optional<int> posizione = leggiPosizione(testo.substr(0, cifre));
  if (!posizione) return std::nullopt;
  if (testo[cifre] != '.') return sostituzioneODelezione(*posizione, testo.substr(cifre));
  std::string_view coda = testo.substr(cifre + 1);
  std::size_t fineIndice = coda.find_first_not_of("0123456789");
  if (fineIndice == std::string_view::npos || fineIndice + 1 != coda.size()) return std::nullopt;
  std::optional<int> indice = intero(coda.substr(0, fineIndice));
  char base = maiuscola(coda.back());
  if (!indice || *indice < 1 || *indice >= 64 || !baseAmmessa(base)) return std::nullopt;
  return Variante{*posizione, *indice, base};
}

void aggiungiVariante(std::string& testo, const Variante& v) {
  char cifre[8];
  testo.append(cifre, std::to_chars(cifre, cifre + sizeof cifre, v.posizione).ptr);
  if (v.inserzione > 0) {
    testo.push_back('.');
    testo.append(cifre, std::to_chars(cifre, cifre + sizeof cifre, v.inserzione).ptr);
  }
  testo.push_back(v.delezione() ? 'd' : v.base);
}

std::string testoVariante(const Variante& v) {
  std::string testo;
  aggiungiVariante(testo, v);
  return testo;
}

}  // namespace vorlane
