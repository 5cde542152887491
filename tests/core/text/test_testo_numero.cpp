#include <gtest/gtest.h>

#include "text/testo.h"

namespace vorlane {
namespace {

TEST(TestoNumero, InteriEDecimali) {
  EXPECT_EQ(testoNumero(0), "0");
  EXPECT_EQ(testoNumero(-0.0), "0");
  EXPECT_EQ(testoNumero(16569), "16569");
  EXPECT_EQ(testoNumero(-42), "-42");
  EXPECT_EQ(testoNumero(999999999999999), "999999999999999");
  EXPECT_EQ(testoNumero(1e15), "1e+15");
  EXPECT_EQ(testoNumero(100.0 * 2 / 3), "66.6666666666667");
  EXPECT_EQ(testoNumero(0.5), "0.5");
}

}  // namespace
}  // namespace vorlane
