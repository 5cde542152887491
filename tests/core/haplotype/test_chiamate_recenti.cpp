#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "haplotype/aplogruppo_albero.h"

namespace vorlane {
namespace {

Classificazione chiamataDi(const std::string& nome) {
  return {0, nome, 0.5, 0.25};
}

TEST(ChiamateRecenti, OnlyAWrittenKeyIsFoundWithItsCallAndText) {
  ChiamateRecenti recenti;
  Classificazione chiamata;
  std::string testo = "invariato";
  const std::size_t impronta = ChiamateRecenti::impronta("16069T 16126C");
  EXPECT_FALSE(recenti.cerca(impronta, "16069T 16126C", chiamata, testo));
  EXPECT_EQ(testo, "invariato");
  recenti.metti(impronta, "16069T 16126C", chiamataDi("J1c"), "J1c");
  ASSERT_TRUE(recenti.cerca(impronta, "16069T 16126C", chiamata, testo));
  EXPECT_EQ(testo, "J1c");
  EXPECT_EQ(chiamata.nome, "J1c");
  EXPECT_EQ(chiamata.margine, 0.25);
  // An empty key is a key too (a sample with no marks), and not the same as the other.
  const std::size_t vuoto = ChiamateRecenti::impronta("");
  EXPECT_FALSE(recenti.cerca(vuoto, "", chiamata, testo));
  recenti.metti(vuoto, "", chiamataDi("H2a2a1"), "H2a2a1");
  ASSERT_TRUE(recenti.cerca(vuoto, "", chiamata, testo));
  EXPECT_EQ(testo, "H2a2a1");
}

TEST(ChiamateRecenti, TwoKeysOfOnePlaceAreNeverSwapped) {
  Classificazione chiamata;
  std::vector<std::string> perPosto(ChiamateRecenti::kPosti);
  std::string prima, seconda;
  for (int i = 0; prima.empty(); ++i) {
    std::string chiave = "chiave " + std::to_string(i);
    std::string& gia = perPosto[ChiamateRecenti::impronta(chiave) % ChiamateRecenti::kPosti];
    if (gia.empty()) {
      gia = chiave;
    } else {
      prima = gia;
      seconda = chiave;
    }
  }
  ChiamateRecenti recenti;
  const std::size_t a = ChiamateRecenti::impronta(prima), b = ChiamateRecenti::impronta(seconda);
  ASSERT_EQ(a % ChiamateRecenti::kPosti, b % ChiamateRecenti::kPosti);
  std::string testo;
  recenti.metti(a, prima, chiamataDi("U5a1"), "U5a1");
  EXPECT_FALSE(recenti.cerca(b, seconda, chiamata, testo));
  // A key is told apart by its text too, not by its impronta alone.
  EXPECT_FALSE(recenti.cerca(a, seconda, chiamata, testo));
  recenti.metti(b, seconda, chiamataDi("K1a"), "K1a");
  EXPECT_FALSE(recenti.cerca(a, prima, chiamata, testo));
  ASSERT_TRUE(recenti.cerca(b, seconda, chiamata, testo));
  EXPECT_EQ(testo, "K1a");
}

// Threads writing and reading the same few keys: what is found is always the key's own text.
TEST(ChiamateRecenti, AcrossThreadsEveryKeyGetsItsOwnText) {
  ChiamateRecenti recenti;
  std::vector<std::thread> fili;
  std::vector<int> sbagliati(4, 0);
  for (int f = 0; f < 4; ++f)
    fili.emplace_back([&, f] {
      Classificazione chiamata;
      std::string testo;
      for (int i = 0; i < 20000; ++i) {
        std::string chiave = std::to_string((i * 7 + f) % 300);
        const std::size_t impronta = ChiamateRecenti::impronta(chiave);
        if (recenti.cerca(impronta, chiave, chiamata, testo)) {
          sbagliati[static_cast<std::size_t>(f)] +=
              testo != "testo di " + chiave || chiamata.nome != testo;
        } else {
          recenti.metti(impronta, chiave, chiamataDi("testo di " + chiave), "testo di " + chiave);
        }
      }
    });
  for (std::thread& t : fili) t.join();
  EXPECT_EQ(sbagliati, std::vector<int>(4, 0));
  // Nearly every key keeps its place (a few may share one and push each other out).
  int trovate = 0;
  Classificazione chiamata;
  std::string testo;
  for (int k = 0; k < 300; ++k) {
    std::string chiave = std::to_string(k);
    trovate += recenti.cerca(ChiamateRecenti::impronta(chiave), chiave, chiamata, testo) ? 1 : 0;
  }
  EXPECT_GE(trovate, 290);
}

}  // namespace
}  // namespace vorlane
