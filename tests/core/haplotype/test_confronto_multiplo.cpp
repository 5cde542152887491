#include "haplotype/confronto_multiplo.h"

#include <gtest/gtest.h>

#include "aiuti.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

using Righe = std::vector<std::vector<std::string>>;

// Runs a multiple comparison of `testo` and returns the result table's data rows.
Righe confronta(Ambiente& amb, const std::string& testo,
                Comando comando = Comando::ConfrontaMultiplo) {
  scriviFile(amb.stato.cartellaEsporta / "multi.FASTA", testo);
  EXPECT_EQ(esegui(amb, comando, "multi.FASTA"), EsitoEvento::completato);
  Righe righe = righeUltimaTabella(leggiFile(amb.stato.cartellaHtml / "Confronto_multi.htm"));
  EXPECT_FALSE(righe.empty());
  if (!righe.empty()) righe.erase(righe.begin());
  return righe;
}

std::string hv1(const std::map<int, char>& basi = {}) {
  return sequenzaDa(16001, 16400, basi);
}

TEST(ConfrontoMultiplo, NamesLinesAndTabs) {
  Ambiente amb;
  // "due" wrapped over two lines, its second line going on at 16201; the plain line after the
  // TAB line a sample of its own under the TAB line's name, longer than the interval; a sample of
  // one character, not compared.
  const std::string due = hv1({{16126, 'C'}, {16300, altraBase(16300)}});
  std::string testo = ">uno\r\n" + hv1({{16069, 'T'}, {16126, 'C'}}) + "\r\n" + ">due\r\n" +
                      due.substr(0, 200) + "\r\n" + due.substr(200) + "\r\n" +
                      "tre\tfreq\taltro\t" + hv1({{16224, 'C'}, {16311, 'C'}}) + "\r\n" +
                      sequenzaDa(16001, 16500) + "\r\n>corto\r\nA\r\n\r\n";
  Righe righe = confronta(amb, testo, Comando::ConfrontaMultiploNew);
  ASSERT_EQ(righe.size(), 4u);
  std::vector<std::string> nomi, numeri;
  for (const auto& r : righe) {
    ASSERT_EQ(r.size(), 4u);
    nomi.push_back(r[0]);
    numeri.push_back(r[2]);
  }
  EXPECT_EQ(nomi, (std::vector<std::string>{"uno", "due", "tre", "tre"}));
  EXPECT_EQ(numeri, (std::vector<std::string>{"2", "2", "2", "0"}));
  EXPECT_EQ(righe[0][1].substr(0, 1), "J");
  EXPECT_EQ(righe[2][1].substr(0, 1), "K");
  EXPECT_EQ(righe[3][1], "");
  EXPECT_EQ(colonnaRisultati(amb, "campione"), nomi);
  EXPECT_EQ(colonnaRisultati(amb, "aplotipo")[2], righe[2][1]);
  EXPECT_EQ(amb.porta.testo(Controllo::Lbl_Titolo), amb.stato.messaggi[82]);
  // The sample left out is named, and the report announced: the log is written, not shown.
  ASSERT_EQ(amb.porta.messaggi.size(), 2u);
  EXPECT_EQ(amb.porta.messaggi[0].testo,
            "1 campione non \xE8 stato collocato sul riferimento e manca dai risultati:\n"
            "  corto: troppo corto per essere allineato al riferimento");
  EXPECT_EQ(amb.porta.messaggi[0].icona, Icona::esclamazione);
  EXPECT_EQ(amb.porta.messaggi[1].icona, Icona::informazione);
}

TEST(ConfrontoMultiplo, EverySampleStartsFromNothing) {
  // A short sample after a long one: nothing of the long one may remain.
  Ambiente amb;
  Righe righe =
      confronta(amb, ">lungo\r\n" + hv1({{16390, altraBase(16390)}, {16010, altraBase(16010)}}) +
                         "\r\n>corto\r\n" + sequenzaDa(16001, 16020) + "\r\n>corto2\r\n" +
                         sequenzaDa(16001, 16005, {{16003, altraBase(16003)}}) + "\r\n");
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(righe[0][2], "2");
  EXPECT_EQ(righe[1][2], "0");
  EXPECT_EQ(righe[2][2], "1");
  EXPECT_EQ(colonnaRisultati(amb, "differenze"),
            (std::vector<std::string>{"16010" + std::string(1, altraBase(16010)) + " 16390" +
                                          std::string(1, altraBase(16390)),
                                      "", "16003" + std::string(1, altraBase(16003))}));
}

TEST(ConfrontoMultiplo, TheLogBlock) {
  Ambiente amb;
  // Eleven substitutions in a row, which the aligner reads as a shift: placed from the start.
  amb.stato.allinea = false;
  std::map<int, char> undici;
  for (int p = 16110; p <= 16120; ++p) undici[p] = altraBase(p);
  confronta(amb, ">campione uno\r\n" + hv1(undici) + "\r\n");
  std::string file = testoPercorso(amb.stato.cartellaEsporta / "multi.FASTA");
  std::vector<std::string> atteso = {
      "*--- Analisi Vorlane: 07/12/2026 -----------*",
      "Sequenza riferimento          : Andrews et al., 1999 (Nature Genetics 23:147)",
      "File sequenze analizzato      : " + file,
      "Campione                      : campione uno",
      "Intervallo mutazioni          : da 0 a 16569",
      "Lista posizioni mutazione     : ",
      "Mutazioni rilevate (n.)       : 11",
      "Intervallo mutazioni          : da 0 a 16569",
      "Intervallo posizioni          : da 16001 a  16400",
      "Intervallo percentuale        : da 1 a 100",
      "Mutazioni                     : 16110,16111,16112,16113,16114,16115,16116,16117,16118,16119",
      "Aplotipo                      : A2",
      "Mutazioni                     : 16120",
      "Percentuale mutazioni         : 100",
      "Aplogruppo PhyloTree          : H10a1 (qualit\xE0 0.53; margine 0.03; incerto)",
  };
  EXPECT_EQ(ultimoBloccoRighe(amb), atteso);
}

TEST(ConfrontoMultiplo, AnIdentifierWithBarsAndAnEscapedPage) {
  Ambiente amb;
  Righe righe = confronta(amb, ">a|b|<c>\r\n" + hv1({{16069, 'T'}, {16126, 'C'}}) + "\r\n");
  ASSERT_EQ(righe.size(), 1u);
  ASSERT_EQ(righe[0].size(), 4u);
  EXPECT_EQ(righe[0][0], "a|b|&lt;c&gt;");
  EXPECT_EQ(colonnaRisultati(amb, "aplotipo"), (std::vector<std::string>{righe[0][1]}));
  EXPECT_EQ(righe[0][2], "2");
  // 16069T and 16126C: J's motif, told apart from every other group.
  EXPECT_EQ(righe[0][3].substr(0, 1), "J");
  EXPECT_EQ(righe[0][3].find("incerto"), std::string::npos);
}

TEST(ConfrontoMultiplo, RepeatedProfilesGetTheCallOfARunOfTheirOwn) {
  // The same marks again, the same marks over a shorter stretch, the same positions with another
  // base, and a sample between: each must be called as it is when alone in its file.
  std::map<int, char> uno = {{16069, 'T'}, {16126, 'C'}}, altraBaseUno = uno;
  altraBaseUno[16069] = 'G';
  std::vector<std::string> campioni = {
      hv1(uno),          hv1({{16224, 'C'}, {16311, 'C'}}),
      hv1(uno),          sequenzaDa(16001, 16200, uno),
      hv1(altraBaseUno), hv1(uno),
  };
  std::string file;
  for (std::size_t i = 0; i < campioni.size(); ++i)
    file += ">c" + std::to_string(i) + "\r\n" + campioni[i] + "\r\n";
  Ambiente insieme;
  Righe righe = confronta(insieme, file);
  ASSERT_EQ(righe.size(), campioni.size());
  for (std::size_t i = 0; i < campioni.size(); ++i) {
    Ambiente solo;
    Righe una = confronta(solo, ">c" + std::to_string(i) + "\r\n" + campioni[i] + "\r\n");
    ASSERT_EQ(una.size(), 1u);
    EXPECT_EQ(righe[i][3], una[0][3]) << i;
  }
  EXPECT_NE(righe[0][3], righe[1][3]);
}

TEST(ConfrontoMultiplo, NoSampleGivesAnEmptyTable) {
  Ambiente amb;
  EXPECT_TRUE(confronta(amb, ">solo nomi\r\n>e ancora\r\nA\r\n").empty());
  amb.porta.messaggi.clear();
  EXPECT_TRUE(confronta(amb, "").empty());
  ASSERT_EQ(amb.porta.messaggi.size(), 1u);
  EXPECT_EQ(amb.porta.messaggi[0].titolo, amb.stato.messaggi[48]);
  EXPECT_TRUE(colonnaRisultati(amb, "campione").empty());
  // The header row is there.
  std::string pagina = leggiFile(amb.stato.cartellaHtml / "Confronto_multi.htm");
  EXPECT_NE(pagina.find("                      <B>id</B>\r\n"), std::string::npos);
  EXPECT_EQ(righeCrLf(pagina)[4], "      Vorlane - Tabella comparativa");
}

}  // namespace
}  // namespace vorlane::test
