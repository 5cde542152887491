#pragma once
// A mutation of the mutation table (dati/*.txt) as text: written by the conversion, read by the
// normalisation. A token is the position alone when the sample's base is the transition partner
// of the reference's, the position and the sample's character (upper case) otherwise, and each
// token is followed by "-"; a sample "-" is written as the position and its "-": "16193--16223".
// An aligned sample's other kinds of difference are written in the tree's notation: a deletion
// "523d", an insertion "315.1C", a heteroplasmy its IUPAC code "16093Y".

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include <string>

#include "sequence/alfabeto.h"
#include "sequence/variante.h"

namespace vorlane {

// What the token of one position needs, worked out once per run: its digits and their number,
// the reference base in upper case and its transition partner (0 where the reference has no
// base: the "x" at 3107). Eight bytes, copied whole in front of the sample's character.
struct TokenPosizione {
  char cifre[5];
  std::uint8_t lunghezza;
  char maiuscolo;
  char partner;

  static TokenPosizione di(std::size_t posizione, char riferimento) {
    TokenPosizione t{};
    t.lunghezza = static_cast<std::uint8_t>(
        std::to_chars(t.cifre, t.cifre + sizeof t.cifre, posizione).ptr - t.cifre);
    t.maiuscolo = maiuscola(riferimento);
    t.partner = partnerTransizione(t.maiuscolo);
    return t;
  }
  // Writes at p the token for the upper-case sample character `campione` and returns its end;
  // up to sizeof(TokenPosizione) + 2 bytes at p are overwritten. Whether the character differs
  // at all is the caller's to say: without a branch, a token written for nothing is simply not
  // kept.
  char* scrivi(char* p, char campione) const {
    std::memcpy(p, this, sizeof *this);
    char* fine = p + lunghezza;
    *fine = campione;
    fine += campione != partner;
    *fine++ = '-';
    return fine;
  }
};
static_assert(sizeof(TokenPosizione) == 8);

// A token as read: its position (one past the sequence for a run of digits longer than any
// position) and the sample's character, 0 for the bare position of a transition, "-" for a
// deletion; for an insertion, the index of the inserted base (315.1C is 315, 1, 'C').
struct TokenLetto {
  int posizione;
  char carattere;
  int inserzione = 0;
};

// Appends the token of `v`, a difference of an aligned sample, and its "-"; `riferimento` is the
// reference's base at its position.
void scriviToken(std::string& riga, const Variante& v, char riferimento);

// Calls fai(TokenLetto) for each token of a row's mutation list, in order; empty tokens ("--"
// that is not a sample "-") are passed over.
template <class Fai>
void leggiToken(std::string_view mutazioni, int oltreUltima, Fai&& fai) {
  auto cifra = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0, n = mutazioni.size();
  while (i < n) {
    // One pass over a token, a few characters long, reads its position and finds its end.
    std::size_t j = i;
    int posizione = 0, inserzione = 0;
    for (; j < n && cifra(mutazioni[j]); ++j)
      posizione = std::min(posizione * 10 + (mutazioni[j] - '0'), oltreUltima);
    if (j < n && mutazioni[j] == '.')
      for (++j; j < n && cifra(mutazioni[j]); ++j)
        inserzione = std::min(inserzione * 10 + (mutazioni[j] - '0'), 64);
    while (j < n && mutazioni[j] != '-') ++j;
    std::string_view token = mutazioni.substr(i, j - i);
    i = j + 1;
    if (token.empty()) continue;
    if (inserzione > 0) {
      if (!cifra(token.back())) fai(TokenLetto{posizione, maiuscola(token.back()), inserzione});
    } else if (token.back() == 'd' && token.size() > 1 && cifra(token[token.size() - 2])) {
      fai(TokenLetto{posizione, '-'});  // "523d": lower case, where "D" is an IUPAC code
    } else if (!cifra(token.back())) {
      fai(TokenLetto{posizione, maiuscola(token.back())});
    } else if (j < n && (j + 1 == n || mutazioni[j + 1] == '-')) {
      // "16193--16223", or "16193-" closing the list: the dash is the sample's character, not a
      // separator, and must not turn into a transition.
      fai(TokenLetto{posizione, '-'});
      i = j + 2;
    } else {
      fai(TokenLetto{posizione, 0});
    }
  }
}

}  // namespace vorlane
