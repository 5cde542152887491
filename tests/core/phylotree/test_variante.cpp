#include "sequence/variante.h"

#include <gtest/gtest.h>

#include "phylotree/classificatore.h"
#include "phylotree/copertura.h"

namespace vorlane {
namespace {

TEST(Variante, ReadsThePhyloTreeAndTheFieldNotations) {
  EXPECT_EQ(leggiVariante("16519C"), (Variante{16519, 0, 'C'}));
  EXPECT_EQ(leggiVariante("73g"), (Variante{73, 0, 'G'}));
  EXPECT_EQ(leggiVariante("16093Y"), (Variante{16093, 0, 'Y'}));
  EXPECT_EQ(leggiVariante("523d"), (Variante{523, 0, Variante::kDelezione}));
  EXPECT_EQ(leggiVariante("249DEL"), (Variante{249, 0, Variante::kDelezione}));
  EXPECT_EQ(leggiVariante("315.1C"), (Variante{315, 1, 'C'}));
  EXPECT_EQ(leggiVariante("309.2c"), (Variante{309, 2, 'C'}));
  for (const char* t : {"16569A", "1T", "523d", "315.1C", "8289.9A"})
    EXPECT_EQ(testoVariante(*leggiVariante(t)), t);
}

TEST(Variante, RefusesWhatIsNotAVariant) {
  for (const char* t : {"", "16519", "C16519", "0A", "16570A", "16519CC", "16519X", "315.C",
                        "315.0C", "315.1", "315.1CC", "8289.1CCT", "315.64C", "1-3d", "12 A"})
    EXPECT_FALSE(leggiVariante(t)) << t;
}

TEST(Variante, HotSpotsOnlyWhereAMatchTellsNothing) {
  for (const char* t : {"309.1C", "309.2C", "310.1T", "315.1C", "315.2C", "16193.1C", "523d",
                        "524d", "524.1A", "16182C", "16183C", "16519C", "3107C", "3107d"})
    EXPECT_TRUE(puntoCaldo(*leggiVariante(t))) << t;
  for (const char* t : {"309T", "310C", "315T", "16193T", "523A", "522d", "525d", "16181G",
                        "16184T", "16518A", "16189C", "152C", "316.1C", "16192.1C", "249d"})
    EXPECT_FALSE(puntoCaldo(*leggiVariante(t))) << t;
}

TEST(Copertura, IntervalsAlsoAcrossTheOrigin) {
  Copertura regioneControllo({{16024, 576}});
  for (int p : {16024, 16400, 16569, 1, 576}) EXPECT_TRUE(regioneControllo.contiene(p)) << p;
  for (int p : {16023, 577, 8000, 0, 16570}) EXPECT_FALSE(regioneControllo.contiene(p)) << p;
  Copertura due({{16024, 16400}, {1, 576}});
  EXPECT_TRUE(due.contiene(16400));
  EXPECT_FALSE(due.contiene(16401));
  EXPECT_TRUE(due.contiene(300));
  EXPECT_FALSE(due == regioneControllo);
  EXPECT_TRUE(Copertura({{16024, 16569}, {1, 576}}) == regioneControllo);
}

}  // namespace
}  // namespace vorlane
