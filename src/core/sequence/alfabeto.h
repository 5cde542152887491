#pragma once
// The alphabet of samples and reference, in one place: what is a base, its transition partner,
// and which characters the settings allow (caratteriPermessi). Letter case is Windows-1252's
// (text/testo.h).

#include <array>
#include <string>
#include <vector>

#include "text/testo.h"

namespace vorlane {

// A base as the comparisons store it: lower case a, c, g or t.
constexpr bool eBase(char c) {
  return c == 'a' || c == 'c' || c == 'g' || c == 't';
}

// The base a transition turns an upper-case base into (A-G, C-T); 0 for anything else, such as
// the "X" the reference keeps at 3107.
constexpr char partnerTransizione(char base) {
  switch (base) {
    case 'A':
      return 'G';
    case 'G':
      return 'A';
    case 'C':
      return 'T';
    case 'T':
      return 'C';
    default:
      return 0;
  }
}

// Whether `carattere` is one of the allowed characters (one-character entries, either case).
inline bool carattereAmmesso(const std::vector<std::string>& ammessi, char carattere) {
  char c = minuscola(carattere);
  for (const std::string& voce : ammessi)
    if (voce.size() == 1 && minuscola(voce[0]) == c) return true;
  return false;
}

// What each byte of a sample is stored as: its lower case when allowed, "?" otherwise.
using TabellaCaratteri = std::array<char, 256>;
inline TabellaCaratteri tabellaCaratteri(const std::vector<std::string>& ammessi) {
  TabellaCaratteri t;
  for (int b = 0; b < 256; ++b) {
    char c = static_cast<char>(b);
    t[static_cast<std::size_t>(b)] = carattereAmmesso(ammessi, c) ? minuscola(c) : '?';
  }
  return t;
}

}  // namespace vorlane
