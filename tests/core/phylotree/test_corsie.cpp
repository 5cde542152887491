#include "phylotree/corsie.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace vorlane {
namespace {

struct Caso {
  std::vector<int> trovato;
  std::vector<float> inverso;
  ParametriQualita parametri;
};

// Lengths around the four lanes, so that the tail after the last full step is met in every size.
Caso casoCasuale(std::mt19937& caso, std::size_t n) {
  std::uniform_int_distribution<int> peso(0, 6000), atteso(1, 9000);
  Caso c;
  for (std::size_t u = 0; u < n; ++u) {
    c.trovato.push_back(peso(caso) - 3000);
    c.inverso.push_back(u % 7 == 0 ? 0.0f : 0.5f / static_cast<float>(atteso(caso)));
  }
  c.parametri.base = peso(caso);
  c.parametri.inversoCampione = n % 5 == 0 ? 0.0f : 0.5f / static_cast<float>(atteso(caso));
  c.parametri.senzaCampione = n % 5 == 0 ? 0.5f : 0.0f;
  return c;
}

TEST(Corsie, ScoresMatchTheOneAtATimeVersionBitForBit) {
  std::mt19937 caso(26);
  for (std::size_t n = 0; n < 40; ++n) {
    Caso c = casoCasuale(caso, n);
    std::vector<float> inCorsie(n, -1), unaAllaVolta(n, -2);
    float massima =
        qualitaInCorsie(c.trovato.data(), c.inverso.data(), n, c.parametri, inCorsie.data());
    float attesa = qualitaUnaAllaVolta(c.trovato.data(), c.inverso.data(), n, c.parametri,
                                       unaAllaVolta.data());
    EXPECT_TRUE(n == 0 || std::memcmp(inCorsie.data(), unaAllaVolta.data(), n * sizeof(float)) == 0)
        << n;
    EXPECT_EQ(massima, attesa) << n;
  }
}

TEST(Corsie, ScoresAndMaximumOfAFewSetsWorkedOutByHand) {
  // t = trovato + base: 300, 0, 600 (a set below every other: the maximum never goes below 0).
  std::vector<int> trovato = {200, -100, 500, -400};
  std::vector<float> inverso = {0.5f / 300, 0.5f / 600, 0.5f / 1200, 0.25f};
  ParametriQualita p{100, 0.5f / 600, 0.0f};
  std::vector<float> q(4);
  float massima = qualitaInCorsie(trovato.data(), inverso.data(), 4, p, q.data());
  EXPECT_FLOAT_EQ(q[0], 0.75f);
  EXPECT_FLOAT_EQ(q[1], 0.0f);
  EXPECT_FLOAT_EQ(q[2], 0.75f);
  EXPECT_FLOAT_EQ(q[3], -75.25f);
  EXPECT_FLOAT_EQ(massima, 0.75f);
}

TEST(Corsie, AboveThresholdFindsWhatTheOneAtATimeVersionFinds) {
  std::mt19937 caso(27);
  std::uniform_int_distribution<int> valore(0, 9);
  for (std::size_t n = 0; n < 40; ++n) {
    std::vector<float> q;
    for (std::size_t u = 0; u < n; ++u) q.push_back(static_cast<float>(valore(caso)) / 8);
    std::vector<int> inCorsie(n, -1), unaAllaVolta(n, -1);
    std::size_t trovati = sopraSogliaInCorsie(q.data(), n, 0.75f, inCorsie.data());
    ASSERT_EQ(trovati, sopraSogliaUnaAllaVolta(q.data(), n, 0.75f, unaAllaVolta.data())) << n;
    inCorsie.resize(trovati);
    unaAllaVolta.resize(trovati);
    EXPECT_EQ(inCorsie, unaAllaVolta) << n;
  }
}

TEST(Corsie, AboveThresholdIncludesTheThresholdItself) {
  std::vector<float> q = {0.5f, 0.8f, 0.79f, 0.8f, 0.1f, 0.9f};
  std::vector<int> indici(q.size());
  std::size_t trovati = sopraSogliaInCorsie(q.data(), q.size(), 0.8f, indici.data());
  indici.resize(trovati);
  EXPECT_EQ(indici, (std::vector<int>{1, 3, 5}));
}

TEST(Corsie, AColumnIsAddedToTheSums) {
  std::vector<int> colonna = {300, 0, 0, 200, 300, 0, 100};
  std::vector<int> somma = {1, 2, 3, 4, 5, 6, 7};
  sommaColonna(colonna.data(), colonna.size(), somma.data());
  EXPECT_EQ(somma, (std::vector<int>{301, 2, 3, 204, 305, 6, 107}));
}

}  // namespace
}  // namespace vorlane
