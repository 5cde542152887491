// Cutting a large file into pieces: every cut at a line start of the right kind, the pieces one
// after the other over the whole file, and each byte read about once however long the lines.

#include "io/taglio.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/errore.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

struct Pezzo {
  std::uintmax_t da, a;
};

std::vector<Pezzo> pezzi(TaglioFile& taglio) {
  std::vector<Pezzo> tutti;
  for (std::uintmax_t da = 0, a = 0; taglio.prossimo(da, a);) tutti.push_back({da, a});
  return tutti;
}

bool inizioRiga(const std::string& testo, std::uintmax_t i) {
  return i == 0 || testo[i - 1] == '\n' || (testo[i - 1] == '\r' && testo[i] != '\n');
}

TEST(TaglioFile, PiecesFollowEachOtherOverTheFileAndStartAtTheirLines) {
  test::CartellaTemporanea t;
  std::mt19937 caso(5);
  const std::string fini[] = {"\r\n", "\n", "\r"};
  std::string testo = "sequenza prima della prima intestazione\n";
  while (testo.size() < 200000) {
    testo += ">nome" + std::to_string(caso() % 1000) + fini[caso() % 3];
    testo += std::string(caso() % 900, "ACGT"[caso() % 4]) + fini[caso() % 3];
  }
  test::scriviFile(t / "f.FASTA", testo);
  for (char iniziale : {'>', '\0'}) {
    for (std::uintmax_t misura : {1u, 1000u, 7000u, 150000u, 400000u}) {
      SCOPED_TRACE(std::to_string(misura) + " " + iniziale);
      TaglioFile taglio(t / "f.FASTA", iniziale, misura);
      std::vector<Pezzo> tutti = pezzi(taglio);
      ASSERT_FALSE(tutti.empty());
      EXPECT_EQ(tutti.front().da, 0u);
      EXPECT_EQ(tutti.back().a, UINTMAX_MAX);
      for (std::size_t k = 1; k < tutti.size(); ++k) {
        std::uintmax_t da = tutti[k].da;
        ASSERT_EQ(da, tutti[k - 1].a);
        ASSERT_GE(da, tutti[k - 1].da + misura);
        ASSERT_LT(da, testo.size());
        EXPECT_TRUE(inizioRiga(testo, da));
        if (iniziale) {
          EXPECT_EQ(testo[da], iniziale);
        }
      }
      // A cut is found within a few lines of where it is looked for: the first small read.
      EXPECT_LE(taglio.esaminati(), testo.size() + tutti.size() * 4096);
      std::uintmax_t da = 0, a = 0;
      EXPECT_FALSE(taglio.prossimo(da, a));
    }
  }
}

TEST(TaglioFile, AFileOfOneLongLineIsReadOnceToCutIt) {
  test::CartellaTemporanea t;
  // One line of 4 MB, then a short one: the only cut is at the short line.
  const std::string lunga = ">" + std::string(4 << 20, 'A') + "\n";
  for (const std::string& testo : {lunga, lunga + ">corta\nAC\n"}) {
    test::scriviFile(t / "f.FASTA", testo);
    TaglioFile taglio(t / "f.FASTA", '>', 4096);
    std::vector<Pezzo> tutti = pezzi(taglio);
    ASSERT_EQ(tutti.size(), testo.size() == lunga.size() ? 1u : 2u);
    EXPECT_EQ(tutti[0].da, 0u);
    if (tutti.size() == 2) {
      EXPECT_EQ(tutti[0].a, lunga.size());
    }
    // Looking for the cut from each 4 KB share on would read the line a thousand times over.
    EXPECT_LE(taglio.esaminati(), testo.size() + (64 << 10));
  }
}

TEST(TaglioFile, AFileThatCannotBeReadIsNamed) {
  test::CartellaTemporanea t;
  try {
    TaglioFile taglio(t / "manca.FASTA", '>', 4096);
    FAIL() << "aperto";
  } catch (const ErroreVorlane& e) {
    EXPECT_NE(std::string(e.what()).find("manca.FASTA"), std::string::npos);
  }
}

}  // namespace
}  // namespace vorlane
