#include "sequence/profilo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "align/collocazione.h"
#include "sequence/riferimento.h"

namespace vorlane {
namespace {

std::string varianti(const Profilo& p) {
  std::string t;
  for (const Variante& v : p.varianti) t.append(t.empty() ? "" : " ").append(testoVariante(v));
  return t;
}

std::string tratti(const std::vector<Intervallo>& tratti) {
  std::string t;
  aggiungiTratti(t, tratti);
  return t;
}

TEST(Profilo, ReadsTheFieldsAsHaploGrepAndEmpopWriteThem) {
  Profilo p;
  ASSERT_EQ(leggiProfilo("16024-16569;1-576;\tH1b\t16189C 16356C\t263G\t\t315.1C\t523DEL\t524D", p),
            "");
  EXPECT_EQ(tratti(p.tratti), "16024-16569;1-576");
  EXPECT_EQ(p.aplogruppo, "H1b");
  EXPECT_EQ(varianti(p), "16189C 16356C 263G 315.1C 523d 524d");

  // EMPOP's range across the origin, a typed site, a multi-base insertion, a heteroplasmy.
  ASSERT_EQ(leggiProfilo("16024-576 ; 3010;8200-8300\t?\t16093Y 3010A 8289.1CCT", p), "");
  EXPECT_EQ(tratti(p.tratti), "16024-16569;1-576;3010;8200-8300");
  EXPECT_EQ(varianti(p), "16093Y 3010A 8289.1C 8289.2C 8289.3T");
  EXPECT_EQ(p.tratti.size(), 3u);

  // A profile with no variant is the rCRS over its range; the haplogroup may be left out.
  ASSERT_EQ(leggiProfilo("73-340", p), "");
  EXPECT_EQ(tratti(p.tratti), "73-340");
  EXPECT_TRUE(p.aplogruppo.empty());
  EXPECT_TRUE(p.varianti.empty());
}

TEST(Profilo, RefusesWhatIsNoProfileAndSaysWhy) {
  Profilo p;
  const std::pair<const char*, const char*> casi[] = {
      {"", "manca l'intervallo"},
      {"\tH\t73G", "manca l'intervallo"},
      {"16024-x\t?", "intervallo non valido: 16024-x"},
      {"0-576\t?", "intervallo non valido"},
      {"1-16570\t?", "intervallo non valido"},
      {";\t?", "intervallo non valido"},
      {"16024-16365\t?\t16223Q", "variante non valida: 16223Q"},
      {"16024-16365\t?\t16223", "variante non valida: 16223"},
      {"16024-16365\t?\t16189.64C", "variante non valida"},
      {"16024-16365\t?\t73G", "73G \xE8 fuori dall'intervallo"},
      {"16024-16365\t?\t16223T 16223C", "due varianti nello stesso punto: 16223T e 16223C"},
      {"16024-16365\t?\t16189.1CC 16189.2C", "16189.2C e 16189.2C"},
  };
  for (const auto& [campi, perche] : casi)
    EXPECT_NE(leggiProfilo(campi, p).find(perche), std::string::npos) << campi;
}

TEST(Profilo, TheHeaderAndTheNameTellAProfileFile) {
  EXPECT_TRUE(intestazioneProfili("SampleId\tRange\tHaplogroup\tPolymorphisms"));
  EXPECT_TRUE(intestazioneProfili("SampleID\tRange"));
  EXPECT_FALSE(intestazioneProfili("S1\t16024-16365\t?"));
  EXPECT_FALSE(intestazioneProfili(">SampleId"));
  EXPECT_TRUE(nomeDiProfili("campioni.hsd"));
  EXPECT_TRUE(nomeDiProfili("dir/CAMPIONI.HSD"));
  EXPECT_FALSE(nomeDiProfili("campioni.hsd.bak"));
}

// The placement the operations read: the rCRS with the variants applied, "n" where the range
// leaves a gap, insertions in the order of the stretch across the origin.
TEST(CollocaProfilo, PlacesTheReferenceWithTheVariantsOverTheRange) {
  Profilo p;
  ASSERT_EQ(leggiProfilo("16560-16569;1-5;8-9\t?\t16562G 2d 16569.1A 3Y 1.1C 1.2T", p), "");
  Collocazione c;
  collocaProfilo(p, c);
  const std::string_view r = testoRiferimento();
  EXPECT_EQ(c.esito, EsitoCollocazione::collocato);
  EXPECT_EQ(c.primo, 16560);
  std::string atteso(r.substr(16559, 10));
  atteso[2] = 'g';
  atteso.append(r.substr(0, 5)).append("nn").append(r.substr(7, 2));
  atteso[10 + 1] = '-';
  atteso[10 + 2] = 'y';
  EXPECT_EQ(c.basi, atteso);
  ASSERT_EQ(c.inserzioni.size(), 2u);
  EXPECT_EQ(c.inserzioni[0].dopo, 16569);
  EXPECT_EQ(c.inserzioni[0].basi, "A");
  EXPECT_EQ(c.inserzioni[1].dopo, 1);
  EXPECT_EQ(c.inserzioni[1].basi, "CT");

  // The placement starts after the widest gap, whatever order the range lists its stretches in.
  ASSERT_EQ(leggiProfilo("1-576;16024-16569", p), "");
  collocaProfilo(p, c);
  EXPECT_EQ(c.primo, 16024);
  EXPECT_EQ(c.basi.size(), 546u + 576u);
  ASSERT_EQ(leggiProfilo("1-16569\t?\t8281d", p), "");
  collocaProfilo(p, c);
  EXPECT_EQ(c.primo, 1);
  EXPECT_EQ(c.basi.size(), 16569u);
  EXPECT_EQ(c.basi[8280], '-');
}

TEST(CollocaProfilo, GivesBackItsRangeAndVariantsOverAnIntervalThatHoldsThem) {
  Profilo p;
  ASSERT_EQ(leggiProfilo("16024-16365;73-340\t?\t16093Y 16311C 73G 263G 315.1C 309.1C 309.2C", p),
            "");
  Collocazione c;
  collocaProfilo(p, c);
  std::string sequenza(kUltimaPosizione + 1, ' ');
  const Intervallo intervallo{16024, 576};
  CampioneCollocato dentro = riporta(c, intervallo, sequenza);
  std::vector<Intervallo> coperti;
  trattiCollocati(sequenza, dentro, coperti);
  EXPECT_EQ(tratti(coperti), "16024-16365;73-340");
  std::string riferimento(" ");
  riferimento.append(testoRiferimento());
  std::vector<Variante> differenze;
  differenzeCollocate(sequenza, riferimento, dentro, differenze);
  std::string testo;
  for (const Variante& v : differenze)
    testo.append(testo.empty() ? "" : " ").append(testoVariante(v));
  EXPECT_EQ(testo, "16093Y 16311C 73G 263G 309.1C 309.2C 315.1C");
}

TEST(TrattiCollocati, MissingDataCutsTheRangeAndThePlaceholderDoesNot) {
  std::string sequenza(kUltimaPosizione + 1, 'a');
  for (int p : {3107, 3109, 16569, 16560}) sequenza[static_cast<std::size_t>(p)] = 'n';
  std::vector<Intervallo> t;
  CampioneCollocato c;
  c.coperto = {3100, 3110};
  trattiCollocati(sequenza, c, t);
  EXPECT_EQ(tratti(t), "3100-3108;3110");
  c.coperto = {16560, 3};
  trattiCollocati(sequenza, c, t);
  EXPECT_EQ(tratti(t), "16561-16568;1-3");
  c.coperto = {3109, 3109};
  trattiCollocati(sequenza, c, t);
  EXPECT_TRUE(t.empty());
}

TEST(TrattiSenza, CutsTheRunsAtTheOriginAndAtMissingData) {
  std::vector<Intervallo> t;
  const std::vector<int> mancanti = {16560, 16567, 3, 10};
  trattiSenza({16560, 10}, mancanti, t);
  EXPECT_EQ(tratti(t), "16561-16566;16568-16569;1-2;4-9");
  const std::vector<int> prime = {3, 10};
  trattiSenza({5, 5}, prime, t);
  EXPECT_EQ(tratti(t), "5");
  trattiSenza({3, 3}, prime, t);
  EXPECT_TRUE(t.empty());
  trattiSenza({1, 12}, prime, t);
  EXPECT_EQ(tratti(t), "1-2;4-9;11-12");
  trattiSenza({5, 12}, prime, t);
  EXPECT_EQ(tratti(t), "5-9;11-12");
  trattiSenza({3100, 3110}, std::vector<int>{3107}, t);
  EXPECT_EQ(tratti(t), "3100-3110");
  trattiSenza({}, mancanti, t);
  EXPECT_TRUE(t.empty());
}

}  // namespace
}  // namespace vorlane
