#include "haplotype/ricerca.h"

#include <gtest/gtest.h>

#include <random>

#include "support/supporto.h"

namespace vorlane::test {
namespace {

struct Riga {
  std::string nome;
  std::vector<std::string> token;
};

GrigliaAplotipi griglia(const std::vector<Riga>& righe, int ultimaRiga = 69, int colonne = 10) {
  GrigliaAplotipi g(ultimaRiga, colonne);
  for (std::size_t i = 0; i < righe.size(); ++i) {
    int r = static_cast<int>(i) + 1;
    g.imposta(r, 0, righe[i].nome);
    for (std::size_t t = 0; t < righe[i].token.size(); ++t)
      g.imposta(r, static_cast<int>(t) + 1, righe[i].token[t]);
  }
  return g;
}

std::string cerca(const std::vector<Riga>& righe, std::string_view campione) {
  Contesto contesto;
  contesto.aplotipiUmani = IndiceAplotipi(griglia(righe));
  return RicercaAplotipo(contesto, campione);
}

TEST(RicercaAplotipo, TheTwoRowExample) {
  std::vector<Riga> t = {{"A", {"73", "263"}}, {"B", {"73", "150", "263", "315"}}};
  EXPECT_EQ(cerca(t, "73,263"), "A");
  EXPECT_EQ(cerca(t, "73,150,263"), "B");
  EXPECT_EQ(cerca(t, "152"), "");
  EXPECT_EQ(cerca(t, ""), "");
}

TEST(RicercaAplotipo, ScoreAndTies) {
  // Ties go to the earlier row; a row listing more of the sample wins whatever its length.
  EXPECT_EQ(cerca({{"A", {"73"}}, {"B", {"73"}}}, "73"), "A");
  EXPECT_EQ(cerca({{"A", {"73", "263"}},
                   {"B", {"73", "263", "16069", "1", "2", "3", "4", "5", "6", "7"}}},
                  "73,263,16069"),
            "B");
  // A sample token given twice counts twice; a token a row lists twice counts once.
  EXPECT_EQ(cerca({{"B", {"150", "263"}}, {"A", {"73"}}}, "73,73,73,150,263"), "A");
  EXPECT_EQ(cerca({{"A", {"73", "73"}}, {"B", {"73", "150"}}}, "73,150"), "B");
}

TEST(RicercaAplotipo, TableEndEmptyCellsAndExactText) {
  // An empty name ends the table, an empty cell ends its row.
  EXPECT_EQ(cerca({{"A", {"73"}}, {"", {"73", "263"}}, {"C", {"73", "263", "315"}}}, "73,263,315"),
            "A");
  EXPECT_EQ(cerca({{"A", {"73", "", "263", "315"}}, {"B", {"73", "263"}}}, "73,263,315"), "B");
  // Tokens are compared as text.
  EXPECT_EQ(cerca({{"A", {" 73"}}, {"B", {"73G"}}, {"C", {"073"}}}, "73"), "");
  EXPECT_EQ(cerca({{"A", {"73"}}}, "73,,"), "A");
}

// The search as the table format defines it, scanning the grid cell by cell.
std::string scansione(const GrigliaAplotipi& g, const std::vector<std::string>& campione) {
  std::string trovato;
  int migliore = 0;
  for (int r = 1; r <= g.ultimaRiga() && !g.cella(r, 0).empty(); ++r) {
    int punti = 0;
    for (const std::string& t : campione)
      for (int c = 1; c <= g.ultimaColonna() && !g.cella(r, c).empty(); ++c)
        if (g.cella(r, c) == t) {
          ++punti;
          break;
        }
    if (punti > migliore) {
      migliore = punti;
      trovato = g.cella(r, 0);
    }
  }
  return trovato;
}

TEST(RicercaAplotipo, TheIndexFindsWhatTheScanOfTheGridFinds) {
  std::mt19937 caso(4);
  const std::vector<std::string> voci = {"", "1", "2", "3", "4", "5", "6", "7", " 1", "1A"};
  std::uniform_int_distribution<int> voce(0, static_cast<int>(voci.size()) - 1);
  for (int prova = 0; prova < 300; ++prova) {
    GrigliaAplotipi g(12, 5);
    for (int r = 1; r <= 12; ++r) {
      g.imposta(r, 0, caso() % 15 == 0 ? "" : std::string("R").append(std::to_string(r)));
      for (int c = 1; c <= 5; ++c) g.imposta(r, c, voci[static_cast<std::size_t>(voce(caso))]);
    }
    IndiceAplotipi indice(g);
    for (int s = 0; s < 5; ++s) {
      std::vector<std::string> campione;
      std::string testo;
      for (int k = static_cast<int>(caso() % 6); k > 0; --k) {
        campione.push_back(voci[static_cast<std::size_t>(voce(caso))]);
        testo += (testo.empty() && campione.size() == 1 ? "" : ",") + campione.back();
      }
      EXPECT_EQ(indice.nome(indice.cerca(testo)), scansione(g, campione)) << testo;
    }
  }
}

TEST(RicercaAplotipo, TheIndexFindsWhatTheScanFindsOnLargeTablesAndLongSamples) {
  // Rows past the first 64 and scores of many binary digits, as the motif table and a sample
  // listing a token many times give.
  std::mt19937 caso(11);
  std::uniform_int_distribution<int> voce(1, 40);
  for (int prova = 0; prova < 40; ++prova) {
    GrigliaAplotipi g(469, 15);
    int righe = 60 + static_cast<int>(caso() % 410);
    for (int r = 1; r <= righe; ++r) {
      g.imposta(r, 0, std::string("R").append(std::to_string(r)));
      int celle = static_cast<int>(caso() % 16);
      for (int c = 1; c <= celle; ++c) g.imposta(r, c, std::to_string(voce(caso)));
    }
    IndiceAplotipi indice(g);
    for (int s = 0; s < 10; ++s) {
      std::vector<std::string> campione;
      std::string testo;
      for (int k = static_cast<int>(caso() % 300); k > 0; --k) {
        campione.push_back(std::to_string(voce(caso) % (s + 2) + 1));
        testo += (testo.empty() ? "" : ",") + campione.back();
      }
      EXPECT_EQ(indice.nome(indice.cerca(testo)), scansione(g, campione)) << testo;
    }
  }
}

}  // namespace
}  // namespace vorlane::test

namespace vorlane::test {
namespace {

TEST(RicercaAplotipo, PositionsAsNumbersOrAsText) {
  // Positions given as numbers find what their digits find, whatever else the table holds:
  // tokens with leading zeros or letters, beyond the sequence, and the position 0.
  std::mt19937 caso(9);
  const std::vector<std::string> voci = {"0",     "7",      "16223", "16569", "073",  "16570",
                                         "99999", "16223C", "00",    "1",     "16189"};
  const std::vector<int> numeri = {0, 1, 7, 73, 16189, 16223, 16569};
  for (int prova = 0; prova < 200; ++prova) {
    GrigliaAplotipi g(140, 6);
    for (int r = 1; r <= 140; ++r) {
      g.imposta(r, 0, std::string("R").append(std::to_string(r)));
      for (int c = 1; c <= static_cast<int>(caso() % 7); ++c)
        g.imposta(r, c, voci[caso() % voci.size()]);
    }
    IndiceAplotipi indice(g);
    std::vector<int> campione;
    std::vector<std::string> cifre;
    std::string testo;
    for (int k = static_cast<int>(caso() % 12); k > 0; --k) {
      campione.push_back(numeri[caso() % numeri.size()]);
      cifre.push_back(std::to_string(campione.back()));
      testo += (testo.empty() ? "" : ",") + cifre.back();
    }
    std::string atteso = scansione(g, cifre);
    EXPECT_EQ(indice.nome(indice.cerca(campione)), atteso) << testo;
    EXPECT_EQ(indice.nome(indice.cerca(testo)), atteso) << testo;
  }
}

}  // namespace
}  // namespace vorlane::test
