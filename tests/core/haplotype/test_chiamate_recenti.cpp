#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "haplotype/aplogruppo_albero.h"

namespace vorlane {
namespace {

TEST(ChiamateRecenti, TrovaSoloLaChiaveScritta) {
  ChiamateRecenti recenti;
  std::string testo = "invariato";
  const std::size_t posto = ChiamateRecenti::posto("16069T 16126C");
  EXPECT_FALSE(recenti.cerca(posto, "16069T 16126C", testo));
  EXPECT_EQ(testo, "invariato");
  recenti.metti(posto, "16069T 16126C", "J1c");
  ASSERT_TRUE(recenti.cerca(posto, "16069T 16126C", testo));
  EXPECT_EQ(testo, "J1c");
  // An empty key is a key too (a sample with no marks), and not the same as the other.
  const std::size_t vuoto = ChiamateRecenti::posto("");
  EXPECT_FALSE(recenti.cerca(vuoto, "", testo));
  recenti.metti(vuoto, "", "H2a2a1");
  ASSERT_TRUE(recenti.cerca(vuoto, "", testo));
  EXPECT_EQ(testo, "H2a2a1");
}

TEST(ChiamateRecenti, DueChiaviNelloStessoPostoNonSiScambiano) {
  std::vector<std::string> perPosto(ChiamateRecenti::kPosti);
  std::string prima, seconda;
  for (int i = 0; prima.empty(); ++i) {
    std::string chiave = "chiave " + std::to_string(i);
    std::string& gia = perPosto[ChiamateRecenti::posto(chiave)];
    if (gia.empty()) {
      gia = chiave;
    } else {
      prima = gia;
      seconda = chiave;
    }
  }
  ChiamateRecenti recenti;
  const std::size_t posto = ChiamateRecenti::posto(prima);
  ASSERT_EQ(posto, ChiamateRecenti::posto(seconda));
  std::string testo;
  recenti.metti(posto, prima, "U5a1");
  EXPECT_FALSE(recenti.cerca(posto, seconda, testo));
  recenti.metti(posto, seconda, "K1a");
  EXPECT_FALSE(recenti.cerca(posto, prima, testo));
  ASSERT_TRUE(recenti.cerca(posto, seconda, testo));
  EXPECT_EQ(testo, "K1a");
}

// Threads writing and reading the same few keys: what is found is always the key's own text.
TEST(ChiamateRecenti, TraFiliOgniChiaveIlSuoTesto) {
  ChiamateRecenti recenti;
  std::vector<std::thread> fili;
  std::vector<int> sbagliati(4, 0);
  for (int f = 0; f < 4; ++f)
    fili.emplace_back([&, f] {
      std::string testo;
      for (int i = 0; i < 20000; ++i) {
        std::string chiave = std::to_string((i * 7 + f) % 300);
        const std::size_t posto = ChiamateRecenti::posto(chiave);
        if (recenti.cerca(posto, chiave, testo)) {
          sbagliati[static_cast<std::size_t>(f)] += testo != "testo di " + chiave;
        } else {
          recenti.metti(posto, chiave, "testo di " + chiave);
        }
      }
    });
  for (std::thread& t : fili) t.join();
  EXPECT_EQ(sbagliati, std::vector<int>(4, 0));
  // Nearly every key keeps its place (a few may share one and push each other out).
  int trovate = 0;
  std::string testo;
  for (int k = 0; k < 300; ++k) {
    std::string chiave = std::to_string(k);
    trovate += recenti.cerca(ChiamateRecenti::posto(chiave), chiave, testo) ? 1 : 0;
  }
  EXPECT_GE(trovate, 290);
}

}  // namespace
}  // namespace vorlane
