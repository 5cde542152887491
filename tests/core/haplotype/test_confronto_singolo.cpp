#include "haplotype/confronto_singolo.h"

#include <gtest/gtest.h>

#include "aiuti.h"
#include "report/html.h"
#include "sequence/riferimento.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

// A one-sample FASTA file over [da, a] in esporta/.
void campione(Ambiente& amb, const std::string& nome, int da, int a,
              const std::map<int, char>& basi) {
  scriviFile(amb.stato.cartellaEsporta / nome, ">c\r\n" + sequenzaDa(da, a, basi) + "\r\n");
}

std::string riga(const std::vector<std::string>& righe, const std::string& inizio) {
  for (const std::string& r : righe)
    if (r.rfind(inizio, 0) == 0) return r;
  return "(nessuna)";
}

int conta(const std::vector<std::string>& righe, const std::string& inizio) {
  int n = 0;
  for (const std::string& r : righe) n += r.rfind(inizio, 0) == 0;
  return n;
}

TEST(ConfrontoSingolo, ThreeMutationsOverTheWholeInterval) {
  Ambiente amb;
  intervallo(amb, "1", "16569");
  campione(amb, "tre.FASTA", 1, 16569, {{73, 'G'}, {263, 'G'}, {315, 'T'}});
  ASSERT_EQ(esegui(amb, Comando::ConfrontaSingolo, "tre.FASTA"), EsitoEvento::completato);
  EXPECT_EQ(colonnaRisultati(amb, "numero_differenze"), (std::vector<std::string>{"3"}));
  EXPECT_EQ(amb.porta.testo(Controllo::Lbl_Titolo), amb.stato.messaggi[79]);

  std::string file = testoPercorso(amb.stato.cartellaEsporta / "tre.FASTA");
  std::vector<std::string> atteso = {
      "*--- Analisi Vorlane: 07/12/2026 -----------*",
      "Sequenza riferimento          : Andrews et al., 1999 (Nature Genetics 23:147)",
      "File sequenze analizzato      : " + file,
      "Intervallo mutazioni          : da 0 a 16569",
      "Lista posizioni mutazione     : ",
      "Mutazioni rilevate (n.)       : 3",
      "Percentuale mutazioni          : da 0 a 16569",
      "Intervallo posizioni          : da 1 a 16569",
      "Intervallo percentuale        : da 1 a 100",
      "Mutazioni                     : 73,263,315",
      "Aplotipo                      : R",
      "Percentuale mutazioni         : 100",
      "Aplogruppo PhyloTree          : H2a2a (qualit\xE0 0.65; margine 0.28)",
      "Varianti attese assenti       : -",
      "Varianti non attese           : 73G 315T",
  };
  EXPECT_EQ(ultimoBloccoRighe(amb), atteso);
  // 315 is left out of the tables: the row found lists 73 and 263.
  EXPECT_EQ(colonnaRisultati(amb, "aplotipo"), (std::vector<std::string>{"R"}));

  // The block is shown, then the report is announced.
  ASSERT_EQ(amb.porta.messaggi.size(), 2u);
  EXPECT_EQ(righeCrLf(amb.porta.messaggi[0].testo), atteso);
  EXPECT_EQ(amb.porta.messaggi[1].icona, Icona::informazione);
  EXPECT_NE(amb.porta.messaggi[1].testo.find("Confronto_tre.htm"), std::string::npos);
  EXPECT_FALSE(amb.porta.occupato());
}

TEST(ConfrontoSingolo, TheMutationLinesAndTheRangeOfTheirNumber) {
  Ambiente amb;
  // Placed from the interval's start: "-" is a character the settings do not allow, as an
  // aligned sample's gaps are not.
  amb.stato.allinea = false;
  std::map<int, char> undici;
  for (int p = 16010; p <= 16020; ++p) undici[p] = '-';
  for (int p = 16110; p <= 16120; ++p) undici[p] = altraBase(p);
  // Lower case, "?" and "n" are not mutations.
  undici[16200] = 'n';
  campione(amb, "undici.FASTA", 16001, 16400, undici);
  std::string testo = leggiFile(amb.stato.cartellaEsporta / "undici.FASTA");
  testo[4 + 300] = minuscola(testo[4 + 300]);
  scriviFile(amb.stato.cartellaEsporta / "undici.FASTA", testo);

  ASSERT_EQ(esegui(amb, Comando::ConfrontaSingoloNew, "undici.FASTA"), EsitoEvento::completato);
  std::vector<std::string> righe = ultimoBloccoRighe(amb);
  EXPECT_EQ(riga(righe, "Mutazioni rilevate"), "Mutazioni rilevate (n.)       : 11");
  EXPECT_EQ(riga(righe, "Mutazioni    "),
            "Mutazioni                     : "
            "16110,16111,16112,16113,16114,16115,16116,16117,16118,16119");
  EXPECT_EQ(righe[righe.size() - 6], "Mutazioni                     : 16120");
  EXPECT_EQ(righe[righe.size() - 4], "Percentuale mutazioni         : 100");
  // The whole tree scores all eleven, listed or not; most are no haplogroup's.
  EXPECT_EQ(righe[righe.size() - 3],
            "Aplogruppo PhyloTree          : H10a1 (qualit\xE0 0.53; margine 0.03; incerto)");
  EXPECT_EQ(righe.back(),
            "Varianti non attese           : 16110A 16111T 16112T 16113G 16115T 16116G 16117C "
            "16118A 16119G 16120G");

  // Above NumeroMutazioniA nothing is listed and nothing is found.
  amb.stato.impostazioni.NumeroMutazioniA = "10";
  ASSERT_EQ(esegui(amb, Comando::ConfrontaSingoloNew, "undici.FASTA"), EsitoEvento::completato);
  righe = ultimoBloccoRighe(amb);
  EXPECT_EQ(conta(righe, "Mutazioni    "), 0);
  EXPECT_EQ(riga(righe, "Aplotipo"), "Aplotipo                      : ");
  EXPECT_EQ(righe[righe.size() - 4], "Percentuale mutazioni         : 0");
  EXPECT_EQ(righe[righe.size() - 3],
            "Aplogruppo PhyloTree          : H10a1 (qualit\xE0 0.53; margine 0.03; incerto)");
}

TEST(ConfrontoSingolo, ASampleEqualToTheReference) {
  Ambiente amb;
  campione(amb, "uguale.FASTA", 16001, 16400, {});
  ASSERT_EQ(esegui(amb, Comando::ConfrontaSingolo, "uguale.FASTA"), EsitoEvento::completato);
  std::vector<std::string> righe = ultimoBloccoRighe(amb);
  EXPECT_EQ(riga(righe, "Mutazioni rilevate"), "Mutazioni rilevate (n.)       : 0");
  EXPECT_EQ(colonnaRisultati(amb, "aplotipo"), (std::vector<std::string>{""}));
  EXPECT_EQ(conta(righe, "Mutazioni    "), 0);
  EXPECT_EQ(conta(righe, "Percentuale mutazioni         : "), 0);
  EXPECT_EQ(righe[righe.size() - 4], "Aplotipo                      : ");
  // Nothing of HV1 tells the branches of H apart: the call is H itself.
  EXPECT_EQ(righe[righe.size() - 3].substr(0, 35), "Aplogruppo PhyloTree          : H (");
  EXPECT_EQ(righe[righe.size() - 2], "Varianti attese assenti       : -");
  EXPECT_EQ(righe.back(), "Varianti non attese           : -");
}

TEST(ConfrontoSingolo, APageWithAGridOfSixtyPositions) {
  Ambiente amb;
  intervallo(amb, "1", "16569");
  campione(amb, "a.b.FASTA", 1, 16569, {{73, 'G'}});
  ASSERT_EQ(esegui(amb, Comando::ConfrontaSingolo, "a.b.FASTA"), EsitoEvento::completato);
  std::string pagina = leggiFile(amb.stato.cartellaHtml / "Confronto_a.htm");
  std::vector<std::string> righe = righeCrLf(pagina);
  EXPECT_EQ(righe[4], "      " + amb.stato.messaggi[84]);
  EXPECT_EQ(righe.back(), "      </HTML>");
  // The legend's red cell is indented one blank less than the other two.
  const auto& m = amb.stato.messaggi;
  EXPECT_NE(pagina.find("<TD BGCOLOR=red>\r\n                   <P>\r\n" + std::string(20, ' ') +
                        m[87] + "\r\n"),
            std::string::npos);
  EXPECT_NE(pagina.find("<TD BGCOLOR=#FFFFFF>\r\n                   <P>\r\n" +
                        std::string(21, ' ') + htmlTesto(m[88]) + "\r\n"),
            std::string::npos);
  EXPECT_NE(pagina.find("<TD BGCOLOR=red><ACRONYM title=' 73 - a'><P>g</P></TD>\r\n"),
            std::string::npos);
  std::string base74(1, testoRiferimento()[73]);
  EXPECT_NE(pagina.find("<TD BGCOLOR=#C6D8EB><ACRONYM title= 74><P>" + base74 + "</P></TD>\r\n"),
            std::string::npos);

  // Rows of 60 from 1 to 16561; the last one holds 9 positions.
  std::vector<std::vector<std::string>> griglia = righeUltimaTabella(pagina);
  ASSERT_EQ(griglia.size(), 1u + 277u);
  EXPECT_EQ(griglia[0],
            (std::vector<std::string>{"<B>Pos</B>", "<B>" + amb.stato.messaggi[89] + "</B>"}));
  EXPECT_EQ(griglia[1][0], "1");
  EXPECT_EQ(griglia[2][0], "61");
  EXPECT_EQ(griglia.back()[0], "16561");
  std::size_t celle = 0;
  for (const std::string& r : righe) celle += r.find("<ACRONYM title=") != std::string::npos;
  EXPECT_EQ(celle, 16569u);
  EXPECT_EQ(pagina.find("title= 16570"), std::string::npos);
  EXPECT_NE(pagina.find("title= 16569>"), std::string::npos);
}

TEST(ConfrontoSingolo, ThePagesTextsAreEscaped) {
  Ambiente amb;
  GrigliaAplotipi griglia(69, 10);
  griglia.imposta(1, 0, "H<1>&'x'");
  griglia.imposta(1, 1, "16100");
  amb.stato.aplotipiUmani = IndiceAplotipi(griglia);
  campione(amb, "x&<y>.FASTA", 16001, 16400, {{16100, altraBase(16100)}});
  ASSERT_EQ(esegui(amb, Comando::ConfrontaSingolo, "x&<y>.FASTA"), EsitoEvento::completato);
  std::string pagina = leggiFile(amb.stato.cartellaHtml / "Confronto_x&<y>.htm");
  EXPECT_NE(pagina.find("                     H&lt;1&gt;&amp;&#39;x&#39;\r\n"), std::string::npos);
  EXPECT_NE(pagina.find("                     x&amp;&lt;y&gt;\r\n"), std::string::npos);
  EXPECT_EQ(pagina.find("<y>"), std::string::npos);
}

TEST(ConfrontoSingolo, AnIntervalOutsideTheSequenceStopsOnlyTheOperation) {
  Ambiente amb;
  campione(amb, "fuori.FASTA", 16001, 16400, {{16100, altraBase(16100)}});
  intervallo(amb, "16001", "17000");
  EXPECT_EQ(esegui(amb, Comando::ConfrontaSingolo, "fuori.FASTA"), EsitoEvento::errore);
  ASSERT_FALSE(amb.porta.messaggi.empty());
  EXPECT_EQ(amb.porta.messaggi.back().titolo, "ERRORE");
  EXPECT_NE(amb.porta.messaggi.back().testo.find("ConfrontaCampionamentoSingolo"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(amb.stato.cartellaHtml / "Confronto_fuori.htm"));

  intervallo(amb, "16001", "16400");
  EXPECT_EQ(esegui(amb, Comando::ConfrontaSingolo, "fuori.FASTA"), EsitoEvento::completato);
}

}  // namespace
}  // namespace vorlane::test
