#include "convert/token.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sequence/riferimento.h"

namespace vorlane {
namespace {

// What the reader gives back for a token list: each position and the sample character, the
// transition partner of the reference base put in for a bare position.
std::vector<std::pair<int, char>> riletti(std::string_view lista) {
  std::vector<std::pair<int, char>> letti;
  leggiToken(lista, 16570, [&](TokenLetto t) {
    char c = t.carattere;
    if (c == 0) c = partnerTransizione(maiuscola(testoRiferimento()[t.posizione - 1]));
    letti.emplace_back(t.posizione, c);
  });
  return letti;
}

TEST(TokenMutazione, WhatTheWriterWritesTheReaderReadsBack) {
  // Every kind of character at positions of one to five digits, side by side in one list, the
  // sample's dashes among them: "--" is a dash and its separator, not an empty token.
  const std::string riferimento(testoRiferimento());
  std::string lista;
  std::vector<std::pair<int, char>> scritti;
  char buffer[16];
  for (int p : {1, 9, 10, 73, 99, 100, 263, 3106, 3108, 9999, 10000, 16192, 16193, 16569}) {
    const TokenPosizione token =
        TokenPosizione::di(static_cast<std::size_t>(p), riferimento[p - 1]);
    for (char c : {'A', 'C', 'G', 'T', 'N', '-', '?', 'Y', '-'}) {
      if (c == token.maiuscolo) continue;
      lista.append(buffer, token.scrivi(buffer, c));
      scritti.emplace_back(p, c);
    }
  }
  EXPECT_EQ(riletti(lista), scritti);
}

TEST(TokenMutazione, ATransitionIsTheBarePositionAndAnyOtherChangeCarriesItsCharacter) {
  char buffer[16];
  const TokenPosizione a = TokenPosizione::di(16223, 'c');  // C; its partner is T
  EXPECT_EQ(std::string_view(buffer, a.scrivi(buffer, 'T')), "16223-");
  EXPECT_EQ(std::string_view(buffer, a.scrivi(buffer, 'A')), "16223A-");
  EXPECT_EQ(std::string_view(buffer, a.scrivi(buffer, '-')), "16223--");
  // Where the reference has no base (the x at 3107) every character carries itself.
  const TokenPosizione x = TokenPosizione::di(3107, 'x');
  EXPECT_EQ(std::string_view(buffer, x.scrivi(buffer, 'T')), "3107T-");
  // A run of digits longer than any position reads as just past the last one.
  std::vector<int> posizioni;
  leggiToken("99999999999999999999A-16519", 16570,
             [&](TokenLetto t) { posizioni.push_back(t.posizione); });
  EXPECT_EQ(posizioni, (std::vector<int>{16570, 16519}));
}

}  // namespace
}  // namespace vorlane
