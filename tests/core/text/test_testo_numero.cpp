#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "text/testo.h"

namespace vorlane {
namespace {

TEST(TestoNumero, WholeNumbersAndDecimals) {
  EXPECT_EQ(testoNumero(0), "0");
  EXPECT_EQ(testoNumero(-0.0), "0");
  EXPECT_EQ(testoNumero(16569), "16569");
  EXPECT_EQ(testoNumero(-42), "-42");
  EXPECT_EQ(testoNumero(999999999999999), "999999999999999");
  EXPECT_EQ(testoNumero(1e15), "1e+15");
  EXPECT_EQ(testoNumero(100.0 * 2 / 3), "66.6666666666667");
  EXPECT_EQ(testoNumero(0.5), "0.5");
}

TEST(TestoNumero, DecimalsAsPrintfGivesThem) {
  std::mt19937_64 caso(26);
  std::uniform_real_distribution<double> valore(-2.0, 2.0);
  std::vector<double> valori = {0.0, -0.0, 0.125, 0.375, 0.005, 0.995, 1.0, 0.93, 1e300, -1e300};
  for (int i = 0; i < 2000; ++i) valori.push_back(valore(caso));
  for (double v : valori)
    for (int decimali = 0; decimali <= 6; ++decimali) {
      char atteso[512];
      std::snprintf(atteso, sizeof atteso, "%.*f", decimali, v);
      EXPECT_EQ(testoDecimali(v, decimali), atteso) << v << " " << decimali;
    }
  EXPECT_EQ(testoDecimali(0.925, 2), "0.93");
  EXPECT_EQ(testoDecimali(0.125, 2), "0.12");
}

}  // namespace
}  // namespace vorlane
