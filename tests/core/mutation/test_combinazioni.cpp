#include <gtest/gtest.h>

#include "base/errore.h"
#include "mutation/combinazioni.h"

namespace vorlane {
namespace {

std::vector<std::vector<int>> righe(const TabellaCombinazioni& t) {
  std::vector<std::vector<int>> r;
  for (int i = 1; i <= t.righe(); ++i) {
    r.emplace_back();
    for (int j = 1; j <= t.colonne(); ++j) r.back().push_back(t(i, j));
  }
  return r;
}

TEST(Combinazioni, ProdottoAndCnk) {
  EXPECT_EQ(Prodotto(5, 2), 120);
  EXPECT_EQ(Prodotto(3, 4), 1);
  EXPECT_EQ(Prodotto(4, 4), 4);
  EXPECT_EQ(Cnk(5, 2), 10);
  EXPECT_EQ(Cnk(7, 7), 1);
  EXPECT_EQ(Cnk(33, 16), 1166803110);
  try {
    Cnk(34, 17);
    FAIL();
  } catch (const ErroreVorlane& e) {
    EXPECT_EQ(e.etichetta(), "Cnk");
  }
  EXPECT_THROW(Prodotto(200, 1), ErroreVorlane);
}

TEST(Combinazioni, TablesInLexicographicOrder) {
  TabellaCombinazioni t;
  ASSERT_TRUE(CombinazioniSemplici(4, 2, t));
  EXPECT_EQ(righe(t),
            (std::vector<std::vector<int>>{{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}));
  CombinazioniSemplici(3, 3, t);
  EXPECT_EQ(righe(t), (std::vector<std::vector<int>>{{1, 2, 3}}));
  CombinazioniSemplici(5, 1, t);
  EXPECT_EQ(righe(t), (std::vector<std::vector<int>>{{1}, {2}, {3}, {4}, {5}}));
  CombinazioniSemplici(5, 3, t);
  ASSERT_EQ(t.righe(), 10);
  EXPECT_EQ(righe(t).front(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(righe(t).back(), (std::vector<int>{3, 4, 5}));
  // Every row is strictly increasing and rows never repeat.
  CombinazioniSemplici(12, 5, t);
  auto r = righe(t);
  ASSERT_EQ(r.size(), 792u);
  for (std::size_t i = 1; i < r.size(); ++i) EXPECT_LT(r[i - 1], r[i]);
}

TEST(Combinazioni, InvalidSizesAreErrors) {
  TabellaCombinazioni t;
  EXPECT_THROW(CombinazioniSemplici(3, 0, t), ErroreVorlane);
  EXPECT_THROW(CombinazioniSemplici(3, 4, t), ErroreVorlane);
}

}  // namespace
}  // namespace vorlane
