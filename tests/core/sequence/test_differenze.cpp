#include "sequence/differenze.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vorlane {
namespace {

// What perOgniDifferenza must find, one position at a time.
std::vector<std::size_t> unaAllaVolta(const std::string& c, const std::string& r,
                                      const std::string& piega) {
  std::vector<std::size_t> diverse;
  for (std::size_t k = 0; k < c.size(); ++k)
    if (static_cast<char>(c[k] | piega[k]) != r[k]) diverse.push_back(k);
  return diverse;
}

std::vector<std::size_t> trovate(const std::string& c, const std::string& r,
                                 const std::string& piega, bool avx2) {
  std::vector<std::size_t> diverse;
  perOgniDifferenza(
      c.data(), r.data(), piega.data(), c.size(), [&](std::size_t k) { diverse.push_back(k); },
      avx2);
  return diverse;
}

TEST(PerOgniDifferenza, BothWaysFindWhatOnePositionAtATimeFinds) {
  // Every length around the steps of 16, 32 and 64, samples that differ nowhere, everywhere
  // and here and there, in both cases and with signs the reference never holds.
  std::mt19937 caso(2026);
  const std::string lettere = "acgtnx-?ACGTN\r\x01\xE8";
  for (std::size_t n = 0; n <= 300; ++n) {
    for (int prova = 0; prova < 6; ++prova) {
      std::string r(n, 'a'), c(n, 'a');
      for (std::size_t k = 0; k < n; ++k) {
        r[k] = "acgtx"[caso() % 5];
        if (k % 37 == 5) r[k] = '-';  // a reference sign that is not a letter: no fold there
        const unsigned tiro = caso() % 100;
        c[k] = prova == 0   ? r[k]
               : prova == 1 ? lettere[caso() % lettere.size()]
               : tiro < 3   ? lettere[caso() % lettere.size()]
               : tiro < 6   ? static_cast<char>(r[k] & ~0x20)
                            : r[k];
      }
      const std::string piega = piegaDi(r);
      const auto attese = unaAllaVolta(c, r, piega);
      ASSERT_EQ(trovate(c, r, piega, false), attese) << "n " << n << " prova " << prova;
      ASSERT_EQ(trovate(c, r, piega, true), attese) << "n " << n << " prova " << prova;
    }
  }
}

TEST(PerOgniDifferenza, TheFoldMatchesALetterInEitherCaseAndNothingElse) {
  const std::string r = "acgtx-";
  const std::string piega = piegaDi(r);
  EXPECT_EQ(piega, std::string("\x20\x20\x20\x20\x20\x00", 6));
  EXPECT_TRUE(trovate("ACGTX-", r, piega, false).empty());
  // "-" OR-ed with 0x20 is still "-", but "\r" is not "-": only where the reference holds a
  // letter does the fold join two characters.
  EXPECT_EQ(trovate("aCgTx\r", r, piega, false), std::vector<std::size_t>{5});
  EXPECT_EQ(trovate("nnnnnn", r, piega, false), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace vorlane
