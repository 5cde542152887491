#include "phylotree/classificatore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace vorlane {
namespace {

std::vector<Variante> varianti(std::initializer_list<const char*> testi) {
  std::vector<Variante> esito;
  for (const char* t : testi) esito.push_back(*leggiVariante(t));
  return esito;
}

// A small tree whose fastest site changes 4 times, so that weights come out round: a site that
// changes once weighs 3 (300), twice 2 (200), four times 1 (100).
AlberoAplogruppi alberoPiccolo() {
  std::vector<DefinizioneAplogruppo> d = {
      {"rad", -1, "X", {}},
      {"A", 0, "A", varianti({"100G", "200C", "315.1C"})},
      {"A1", 1, "A", varianti({"100G", "200C", "16100T"})},
      {"A2", 1, "A", varianti({"100G", "200C", "300T"})},
      {"B", 0, "B", varianti({"16200C"})},
      {"B1", 4, "B", varianti({"16200C", "16300A", "16519C"})},
      // For the tie rule: C is met first, but D's group has more tied members.
      {"C", 0, "C", varianti({"5000A"})},
      {"D", 0, "D", varianti({"5000A", "5200T"})},
      {"D1", 7, "D", varianti({"5000A", "5200T", "5300C"})},
      {"D2", 7, "D", varianti({"5000A", "5200T", "5400C"})},
      {"D2a", 9, "D", varianti({"5000A", "5200T", "5400C", "5500C"})},
      {"D2b", 9, "D", varianti({"5000A", "5200T", "5400C", "5600C"})},
      // Zb is met first, but Za has a tied ancestor, Y, of another group.
      {"Zb", 0, "Z", varianti({"6000A", "6100G"})},
      {"Y", 0, "Y", varianti({"6000A"})},
      {"Za", 13, "Z", varianti({"6000A", "6200T"})},
  };
  std::unordered_map<int, int> cambi;
  for (const char* t : {"100G", "5000A"}) cambi[leggiVariante(t)->sito()] = 4;
  for (const char* t : {"16100T", "16300A"}) cambi[leggiVariante(t)->sito()] = 2;
  for (const char* t : {"200C", "300T", "16200C", "5200T", "5300C", "5400C"})
    cambi[leggiVariante(t)->sito()] = 1;
  return AlberoAplogruppi(d, std::move(cambi));
}

const Copertura kTutto({{1, 16569}});

Classificazione chiama(std::initializer_list<const char*> campione,
                       const Copertura& copertura = kTutto) {
  static const AlberoAplogruppi albero = alberoPiccolo();
  return ClassificatoreAplogruppi(albero, copertura).classifica(varianti(campione));
}

TEST(Classificatore, WeightsRunFromThreeToOneOnALogarithmicScale) {
  EXPECT_EQ(pesoVariante(0, 4), 300);
  EXPECT_EQ(pesoVariante(1, 4), 300);
  EXPECT_EQ(pesoVariante(2, 4), 200);
  EXPECT_EQ(pesoVariante(4, 4), 100);
  EXPECT_EQ(pesoVariante(10, 100), 200);
  EXPECT_EQ(pesoVariante(5, 1), 300);
}

// Sample 100G 16100T 16300A, weights 100 + 200 + 200 = 500. By hand, (shared / expected +
// shared / sample) / 2: rad (1 + 0) / 2 = 0.5; A (100/400 + 100/500) / 2 = 0.225; A1 (300/600 +
// 300/500) / 2 = 0.55; A2 (100/700 + 100/500) / 2; B 0; B1 (200/500 + 200/500) / 2 = 0.4. The
// hot spots 315.1C (A) and 16519C (B1) count on neither side.
TEST(Classificatore, WeightedKulczynskiScoresWorkedOutByHand) {
  Classificazione c = chiama({"100G", "16100T", "16300A"});
  EXPECT_EQ(c.nome, "A1");
  EXPECT_DOUBLE_EQ(c.qualita, 0.55);
  EXPECT_DOUBLE_EQ(c.margine, 0.55 - 0.5);  // rad, group X
  EXPECT_FALSE(c.affidabile());

  c = chiama({"16200C", "16300A"});
  EXPECT_EQ(c.nome, "B1");
  EXPECT_DOUBLE_EQ(c.qualita, 1.0);
  // rad 0.5; A, A1, A2 share nothing and score 0.
  EXPECT_DOUBLE_EQ(c.margine, 0.5);
  EXPECT_TRUE(c.affidabile());

  // Nothing in the sample: only a haplogroup expecting nothing scores 1, all others 1/2.
  c = chiama({});
  EXPECT_EQ(c.nome, "rad");
  EXPECT_DOUBLE_EQ(c.qualita, 1.0);
  EXPECT_DOUBLE_EQ(c.margine, 0.5);
}

TEST(Classificatore, HotSpotsAreLeftOutOnBothSides) {
  Classificazione senza = chiama({"100G", "16100T", "16300A"});
  Classificazione con = chiama({"100G", "16100T", "16300A", "315.1C", "309.1C", "309.2C",
                                "16193.1C", "523d", "524d", "16182C", "16183C", "16519C"});
  EXPECT_EQ(con.nome, senza.nome);
  EXPECT_DOUBLE_EQ(con.qualita, senza.qualita);
  EXPECT_DOUBLE_EQ(con.margine, senza.margine);
  // A's 315.1C is not expected: the sample 100G 200C matches A exactly, before its daughters.
  Classificazione a = chiama({"100G", "200C"});
  EXPECT_EQ(a.nome, "A");
  EXPECT_DOUBLE_EQ(a.qualita, 1.0);
}

TEST(Classificatore, OnlyTheVariantsInsideTheCoverageCount) {
  // 16100T outside: A and A1 look alike and tie; A, related to A1, is the call.
  Classificazione c = chiama({"100G", "200C", "16100T"}, Copertura({{1, 16099}}));
  EXPECT_EQ(c.nome, "A");
  EXPECT_DOUBLE_EQ(c.qualita, 1.0);
  EXPECT_EQ(chiama({"100G", "200C", "16100T"}).nome, "A1");
  // Across the origin, 16000-250: 300T is outside, 16100T inside, so A1 matches whole; read as
  // 250-16000 only 300T would be inside, and A2 would win.
  c = chiama({"100G", "200C", "16100T", "300T"}, Copertura({{16000, 250}}));
  EXPECT_EQ(c.nome, "A1");
  EXPECT_DOUBLE_EQ(c.qualita, 1.0);
  // (400/400 + 400/600) / 2 for A and A2, group A like A1; rad 0.5.
  EXPECT_DOUBLE_EQ(c.margine, 0.5);
}

TEST(Classificatore, TiesVoteByGroupThenGoToTheMostRelated) {
  // Over 5000-5099 C, D, D1, D2, D2a, D2b all expect 5000A alone: group D has five votes to
  // C's one, and D is related to the other four. C's equal score leaves no margin.
  Classificazione c = chiama({"5000A"}, Copertura({{5000, 5099}}));
  EXPECT_EQ(c.nome, "D");
  EXPECT_DOUBLE_EQ(c.qualita, 1.0);
  EXPECT_DOUBLE_EQ(c.margine, 0.0);
  // Over 5300-5450, D1 (5300C) and D2, D2a, D2b (5400C) score (300/300 + 300/600) / 2 alike:
  // D1 is met first, but D2 is related to two of the others, D1 to none.
  c = chiama({"5300C", "5400C"}, Copertura({{5300, 5450}}));
  EXPECT_EQ(c.nome, "D2");
  EXPECT_DOUBLE_EQ(c.qualita, 0.75);
  // Over 6000-6099 Zb, Y and Za tie; Z has two votes, and Za has a tied ancestor (Y).
  EXPECT_EQ(chiama({"6000A"}, Copertura({{6000, 6099}})).nome, "Za");
}

TEST(Classificatore, AComparisonWithAHaplogroupListsTheMissingAndTheUnexpected) {
  AlberoAplogruppi albero = alberoPiccolo();
  ClassificatoreAplogruppi classificatore(albero, Copertura({{1, 16250}}));
  ConfrontoAplogruppo c = classificatore.confronta(
      albero.indice("A1"), varianti({"16300A", "100G", "16519C", "16200C", "100G"}));
  EXPECT_EQ(c.mancanti, varianti({"200C", "16100T"}));
  EXPECT_EQ(c.inattese, varianti({"16200C"}));  // 16300A outside, 16519C a hot spot
}

TEST(AlberoAplogruppi, RefusesAnOrderThatIsNotAPreorder) {
  std::vector<DefinizioneAplogruppo> d = {
      {"rad", -1, "X", {}}, {"A", 0, "A", {}}, {"B", 0, "B", {}}, {"A1", 1, "A", {}}};
  EXPECT_THROW(AlberoAplogruppi(d, {}), std::exception);
}

TEST(PhyloTree17, TheBuiltInTreeHoldsItsHaplogroupsVariantsAndKinship) {
  const AlberoAplogruppi& albero = alberoPhyloTree17();
  ASSERT_EQ(albero.aplogruppi().size(), 5435u);
  EXPECT_EQ(albero.aplogruppi()[0].nome, "mt-MRCA");
  EXPECT_EQ(albero.cambiMassimi(), albero.cambi(*leggiVariante("152C")));
  auto attese = [&](const char* nome) {
    std::vector<Variante> v;
    for (int i : albero.aplogruppi()[static_cast<std::size_t>(albero.indice(nome))].attese)
      v.push_back(albero.varianti()[static_cast<std::size_t>(i)]);
    return v;
  };
  EXPECT_TRUE(attese("H2a2a1").empty());  // the rCRS
  EXPECT_EQ(attese("H1"), varianti({"263G", "750G", "1438G", "3010A", "4769G", "8860G", "15326G"}));
  EXPECT_TRUE(albero.parenti(albero.indice("H"), albero.indice("H1a1")));
  EXPECT_FALSE(albero.parenti(albero.indice("H1"), albero.indice("H2")));
}

TEST(PhyloTree17, KnownCallsOnHV1AndOnTheWholeGenome) {
  Copertura hv1({{16024, 16400}});
  for (auto [campione, gruppo] : std::vector<std::pair<std::vector<Variante>, std::string>>{
           {varianti({"16069T", "16126C"}), "J"},
           {varianti({"16126C", "16294T"}), "T"},
           {varianti({"16224C", "16311C"}), "K"},
           {varianti({"16223T", "16362C"}), "D"}}) {
    Classificazione c = classificaAplogruppo(campione, hv1);
    EXPECT_EQ(c.nome.substr(0, gruppo.size()), gruppo) << c.nome;
  }
  // A haplogroup's own expected variants over the whole genome call it back, with full score.
  const AlberoAplogruppi& albero = alberoPhyloTree17();
  ClassificatoreAplogruppi intero(albero, Copertura({{1, 16569}}));
  for (const char* nome : {"U5a1", "L3e2b", "H1a1", "B4a1a", "L0d1"}) {
    std::vector<Variante> campione;
    for (int i : albero.aplogruppi()[static_cast<std::size_t>(albero.indice(nome))].attese)
      campione.push_back(albero.varianti()[static_cast<std::size_t>(i)]);
    Classificazione c = intero.classifica(campione);
    EXPECT_EQ(c.nome, nome);
    EXPECT_DOUBLE_EQ(c.qualita, 1.0);
    EXPECT_TRUE(c.affidabile()) << nome;
  }
}

// Every haplogroup of the whole tree scored by hand, as a fraction: the call must hold the best
// score, and its margin must be the distance to the best haplogroup of another top-level group.
// The samples are haplogroups' own variants with some taken away and some added, so that calls
// fall all over the tree, with ties, near misses and private variants.
TEST(PhyloTree17, TheCallHoldsTheBestScoreOfTheWholeTree) {
  const AlberoAplogruppi& albero = alberoPhyloTree17();
  std::mt19937 caso(2026);
  for (const Copertura& copertura :
       {Copertura({{16024, 16400}}), Copertura({{16024, 576}}), Copertura({{1, 576}})}) {
    ClassificatoreAplogruppi classificatore(albero, copertura);
    ClassificatoreAplogruppi::Lavoro lavoro;
    auto peso = [&](const Variante& v) {
      return pesoVariante(albero.cambi(v), albero.cambiMassimi());
    };
    std::uniform_int_distribution<std::size_t> aplogruppo(0, albero.aplogruppi().size() - 1);
    std::uniform_int_distribution<int> poche(0, 3), posizione(16024, 16569 + 576);
    for (int prova = 0; prova < 150; ++prova) {
      std::vector<Variante> campione;
      for (int i : albero.aplogruppi()[aplogruppo(caso)].attese)
        if (poche(caso) > 0) campione.push_back(albero.varianti()[static_cast<std::size_t>(i)]);
      for (int k = poche(caso); k > 0; --k) {
        int p = posizione(caso);
        campione.push_back({p > 16569 ? p - 16569 : p, 0, "ACGT"[poche(caso)]});
      }
      std::vector<Variante> contate;
      for (const Variante& v : campione)
        if (classificatore.conta(v)) contate.push_back(v);
      std::sort(contate.begin(), contate.end());
      contate.erase(std::unique(contate.begin(), contate.end()), contate.end());
      std::int64_t pesoCampione = 0;
      for (const Variante& v : contate) pesoCampione += peso(v);
      // Score (n / d) of each haplogroup, n = trovato (W + S) or its stand-ins for empty sides.
      std::vector<std::int64_t> numeratore, denominatore;
      for (const auto& a : albero.aplogruppi()) {
        std::int64_t trovato = 0, atteso = 0;
        for (int i : a.attese) {
          const Variante& v = albero.varianti()[static_cast<std::size_t>(i)];
          if (!classificatore.conta(v)) continue;
          atteso += peso(v);
          if (std::binary_search(contate.begin(), contate.end(), v)) trovato += peso(v);
        }
        std::int64_t n1 = atteso > 0 ? trovato : 1, d1 = atteso > 0 ? atteso : 1;
        std::int64_t n2 = pesoCampione > 0 ? trovato : 1, d2 = pesoCampione > 0 ? pesoCampione : 1;
        numeratore.push_back(n1 * d2 + n2 * d1);
        denominatore.push_back(2 * d1 * d2);
      }
      auto qualita = [&](std::size_t h) {
        return static_cast<double>(numeratore[h]) / static_cast<double>(denominatore[h]);
      };
      std::size_t migliore = 0;
      for (std::size_t h = 1; h < numeratore.size(); ++h)
        if (numeratore[h] * denominatore[migliore] > numeratore[migliore] * denominatore[h])
          migliore = h;
      Classificazione c = classificatore.classifica(campione, lavoro);
      ASSERT_GE(c.aplogruppo, 0);
      const std::size_t chiamato = static_cast<std::size_t>(c.aplogruppo);
      EXPECT_EQ(numeratore[chiamato] * denominatore[migliore],
                numeratore[migliore] * denominatore[chiamato])
          << c.nome << " instead of " << albero.aplogruppi()[migliore].nome;
      EXPECT_NEAR(c.qualita, qualita(migliore), 1e-12);
      double altro = 0;
      for (std::size_t h = 0; h < numeratore.size(); ++h)
        if (albero.aplogruppi()[h].gruppo != albero.aplogruppi()[chiamato].gruppo)
          altro = std::max(altro, qualita(h));
      EXPECT_NEAR(c.margine, c.qualita - altro > 1e-9 ? c.qualita - altro : 0.0, 1e-12) << c.nome;
    }
  }
}

}  // namespace
}  // namespace vorlane
