#include "convert/conversione.h"

#include <gtest/gtest.h>

#include <random>

#include "aiuti.h"

namespace vorlane::test {
namespace {

constexpr int kDa = 16001, kA = 16400;

char transizione(char base) {
  return partnerTransizione(base);
}

// A base that is neither the reference nor its transition partner.
char trasversione(char base) {
  for (char c : {'A', 'C', 'G', 'T'})
    if (c != base && c != transizione(base)) return c;
  return 'A';
}

std::vector<std::string> testata(const StatoVorlane& s) {
  return {s.messaggi[60], s.messaggi[61], s.messaggi[62], s.messaggi[63]};
}

std::vector<std::string> conTestata(const StatoVorlane& s, std::vector<std::string> righe) {
  std::vector<std::string> tutte = testata(s);
  tutte.insert(tutte.end(), righe.begin(), righe.end());
  return tutte;
}

// Samples placed from the interval's start, character k at start + k - 1: these tests look at
// the tokens of that rule (test_conversione_allineata.cpp has the aligned conversion).
class Conversione : public ::testing::Test {
 protected:
  Conversione() { a.stato.allinea = false; }
  std::filesystem::path esporta(const std::string& nome) { return a.stato.cartellaEsporta / nome; }
  std::filesystem::path tabella() { return a.stato.cartellaDati / "campioni.txt"; }
  std::vector<std::string> righeTabella() { return righeCrLf(leggiFile(tabella())); }
  std::string rif() { return campioneRiferimento(a.stato, kDa, kA); }
  char base(int p) { return riferimentoMaiuscolo(a.stato, p); }
  // The reference with fewer than `mutazioni` random characters changed (either case, N, gaps,
  // beyond ASCII) and fewer than `taglio` cut from its end.
  std::string rifCasuale(std::mt19937& caso, unsigned mutazioni, unsigned taglio) {
    const std::string varianti = "ACGTacgtN?-n \xE0\xC0";
    std::string s = rif();
    for (int m = static_cast<int>(caso() % mutazioni); m > 0; --m)
      s[caso() % s.size()] = varianti[caso() % varianti.size()];
    s.resize(s.size() - caso() % taglio);
    return s;
  }

  Ambiente a;
};

TEST_F(Conversione, FastaRowsListTokensInOrderAndIgnoreN) {
  ASSERT_TRUE(a.avviato);
  std::string s1 = rif();
  muta(s1, kDa, 16223, transizione(base(16223)));
  muta(s1, kDa, 16183, 'C');
  muta(s1, kDa, 16189, 'N');
  muta(s1, kDa, 16093, static_cast<char>(std::tolower(transizione(base(16093)))));
  muta(s1, kDa, 16300, '-');
  muta(s1, kDa, 16301, static_cast<char>(std::tolower(trasversione(base(16301)))));
  muta(s1, kDa, 16302, ' ');
  ASSERT_EQ(base(16183), 'A');  // so that C is not a transition there
  std::string lunga = rif() + std::string(50, '?');
  std::string corta = rif().substr(0, 10);
  muta(corta, kDa, 16005, transizione(base(16005)));
  std::string s2 = rif();  // the reference in lower case: no difference
  for (char& c : s2) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  scriviFile(esporta("campioni.FASTA"), ">S1\r\n" + s1 + "\r\n>S2\r\n" + s2 + "\n>\r\n" + lunga +
                                            "\r\n>S4\r\n>S5 x\r\n" + corta + "\r\n");

  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::completato);

  std::string token301 = "16301" + std::string(1, trasversione(base(16301)));
  EXPECT_EQ(
      righeTabella(),
      conTestata(a.stato,
                 {"campioni S1\t1\t16093-16183C-16223-16300--" + token301 + "-16302 ",
                  "campioni S2\t1", "campioni \t1", "campioni S4\t1", "campioni S5 x\t1\t16005"}));
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  const Messaggio& fine = a.porta.messaggi[0];
  EXPECT_EQ(fine.titolo, a.stato.messaggi[67]);
  EXPECT_EQ(fine.testo, a.stato.messaggi[66] + " \r\n" + testoPercorso(tabella()) + "\r\n" +
                            a.stato.messaggi[53]);
  EXPECT_EQ(fine.icona, Icona::informazione);
  EXPECT_TRUE(a.porta.domande.empty());
}

TEST_F(Conversione, FastaSequenceBeforeAnyHeaderGetsARowNamedByTheBase) {
  std::string s = rif();
  muta(s, kDa, 16100, transizione(base(16100)));
  scriviFile(esporta("campioni.FASTA"), "\r\n" + s + "\r\n>S1\r\n" + rif() + "\r\n");
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::completato);
  EXPECT_EQ(righeTabella(), conTestata(a.stato, {"campioni \t1\t16100", "campioni S1\t1"}));
}

TEST_F(Conversione, EmptyFastaFileGivesTheHeaderOnly) {
  scriviFile(esporta("campioni.FASTA"), "");
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::completato);
  EXPECT_EQ(righeTabella(), testata(a.stato));
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_EQ(a.porta.messaggi[0].titolo, a.stato.messaggi[67]);
}

// An N is missing data in an Arlequin sample as in a FASTA one: no token.
TEST_F(Conversione, ArlequinRowsCarryTheFrequencyAndLeaveNOut) {
  std::string s1 = rif();
  muta(s1, kDa, 16189, 'n');
  muta(s1, kDa, 16223, transizione(base(16223)));
  std::string s3 = rif();
  muta(s3, kDa, 16400, trasversione(base(16400)));
  scriviFile(esporta("campioni.ARL"),
             "A1\t3\t" + s1 + "\r\nA2\t0,5\t" + rif() + "\r\nA3\tx\t" + s3 + "\taltro\r\n");

  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, true, "campioni.ARL"),
            EsitoEvento::completato);

  EXPECT_EQ(righeTabella(), conTestata(a.stato, {"campioni A1\t3\t16223", "campioni A2\t0,5",
                                                 "campioni A3\tx\t16400" +
                                                     std::string(1, trasversione(base(16400)))}));
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_EQ(a.porta.messaggi[0].titolo, a.stato.messaggi[65]);
  EXPECT_EQ(a.porta.messaggi[0].testo, a.stato.messaggi[64] + " \r\n" + testoPercorso(tabella()) +
                                           "\r\n" + a.stato.messaggi[53]);
}

TEST_F(Conversione, ArlequinLineWithoutTabStopsAndKeepsTheRowsBefore) {
  for (const char* interruzione : {"senza tabulazione", ""}) {
    SCOPED_TRACE(std::string("riga: '") + interruzione + "'");
    a.porta.messaggi.clear();
    std::filesystem::remove(tabella());
    std::string s1 = rif();
    muta(s1, kDa, 16050, transizione(base(16050)));
    scriviFile(esporta("campioni.ARL"),
               "A1\t1\t" + s1 + "\r\n" + interruzione + "\r\nA3\t1\t" + rif() + "\r\n");

    EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, true, "campioni.ARL"),
              EsitoEvento::interrotto);

    EXPECT_EQ(righeTabella(), conTestata(a.stato, {"campioni A1\t1\t16050"}));
    ASSERT_EQ(a.porta.messaggi.size(), 1u);  // the information box, and no completion box
    const Messaggio& avviso = a.porta.messaggi[0];
    EXPECT_EQ(avviso.titolo, a.stato.messaggi[48]);
    EXPECT_EQ(avviso.icona, Icona::informazione);
    EXPECT_EQ(avviso.testo, a.stato.messaggi[32] + " \r\n" +
                                testoPercorso(esporta("campioni.ARL")) + "\r\n" +
                                a.stato.messaggi[33] + "\r\n" + a.stato.messaggi[34]);
  }
}

TEST_F(Conversione, ArlequinLineWithTwoFieldsIsAnErrorAndLeavesTheOldTable) {
  scriviFile(tabella(), "tabella precedente\r\n");
  a.porta.rispostaSi = true;
  scriviFile(esporta("campioni.ARL"), "A1\t1\t" + rif() + "\r\nA2\t1\r\n");

  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, true, "campioni.ARL"),
            EsitoEvento::errore);

  EXPECT_EQ(leggiFile(tabella()), "tabella precedente\r\n");
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_EQ(a.porta.messaggi[0].icona, Icona::critica);
  EXPECT_NE(a.porta.messaggi[0].testo.find("ConvertiARLinTabella"), std::string::npos);
  EXPECT_NE(a.porta.messaggi[0].testo.find("riga 2"), std::string::npos);
}

TEST_F(Conversione, DecliningTheOverwriteLeavesTheOldTableByteForByte) {
  const std::string vecchia = "/ vecchia\r\nriga\tsenza\r\n\xE8\n";
  scriviFile(tabella(), vecchia);
  scriviFile(esporta("campioni.FASTA"), ">S1\r\n" + rif() + "\r\n");
  scriviFile(esporta("campioni.ARL"), "S1\t1\t" + rif() + "\r\n");

  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::interrotto);
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, true, "campioni.ARL"),
            EsitoEvento::interrotto);

  EXPECT_EQ(leggiFile(tabella()), vecchia);
  EXPECT_TRUE(a.porta.messaggi.empty());
  const auto& m = a.stato.messaggi;
  std::string domanda = m[56] + " campioni.txt\r\n" + m[57] + "\r\n" + m[58];
  ASSERT_EQ(a.porta.domande.size(), 2u);
  EXPECT_EQ(a.porta.domande[0].testo, domanda);
  EXPECT_EQ(a.porta.domande[0].titolo, m[68]);
  EXPECT_EQ(a.porta.domande[1].titolo, m[59]);
  EXPECT_FALSE(a.porta.occupato());

  a.porta.rispostaSi = true;
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::completato);
  EXPECT_EQ(righeTabella(), conTestata(a.stato, {"campioni S1\t1"}));
}

TEST_F(Conversione, OnlyATableOfExactlyThatNameIsQuestioned) {
  scriviFile(a.stato.cartellaDati / "Campioni.txt", "altra\r\n");
  scriviFile(a.stato.cartellaDati / "campioni.TXT", "altra\r\n");
  scriviFile(esporta("campioni.FASTA"), ">S1\r\n" + rif() + "\r\n");
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::completato);
  EXPECT_TRUE(a.porta.domande.empty());
  EXPECT_EQ(leggiFile(a.stato.cartellaDati / "Campioni.txt"), "altra\r\n");
  EXPECT_EQ(righeTabella(), conTestata(a.stato, {"campioni S1\t1"}));
}

TEST_F(Conversione, WholeSampleComparisonAgreesWithComparingEachPositionAlone) {
  // Eight characters are compared at a time; differences anywhere in a block, side by side,
  // in either case or beyond ASCII must give the tokens that one position at a time gives.
  std::mt19937 caso(11);
  for (bool ignoraN : {false, true})
    for (int prova = 0; prova < 200; ++prova) {
      std::string s = rifCasuale(caso, 40, 12);
      std::string intero, unoAUno;
      ConfrontoRiferimento(a.stato.sequenzaRiferimento, {kDa, kA}, ignoraN)
          .aggiungiMutazioni(intero, s);
      for (std::size_t k = 0; k < s.size(); ++k)
        ConfrontoRiferimento(a.stato.sequenzaRiferimento, {kDa + static_cast<int>(k), kA}, ignoraN)
            .aggiungiMutazioni(unoAUno, s.substr(k, 1));
      ASSERT_EQ(intero, unoAUno) << s;
    }
}

TEST_F(Conversione, SixteenAndThirtyTwoCharacterComparisonsGiveTheSameTokens) {
  // The 32-character way runs where the processor has AVX2; the 16-character way everywhere
  // else. Samples long enough for several 64-character steps, differences at every offset.
  if (!avx2Disponibile()) GTEST_SKIP() << "no AVX2 on this processor";
  std::mt19937 caso(5);
  for (bool ignoraN : {false, true})
    for (int prova = 0; prova < 300; ++prova) {
      std::string s = rifCasuale(caso, 60, 70);
      std::string sedici, trentadue;
      ConfrontoRiferimento(a.stato.sequenzaRiferimento, {kDa, kA}, ignoraN, false)
          .aggiungiMutazioni(sedici, s);
      ConfrontoRiferimento(a.stato.sequenzaRiferimento, {kDa, kA}, ignoraN, true)
          .aggiungiMutazioni(trentadue, s);
      ASSERT_EQ(sedici, trentadue) << s;
    }
}

TEST_F(Conversione, NoTokenWhereTheReferenceHasNoBase) {
  impostaIntervallo(a, 3100, 3110);
  std::string s = campioneRiferimento(a.stato, 3100, 3110);
  ASSERT_EQ(s[7], 'X');
  muta(s, 3100, 3107, 'A');
  muta(s, 3100, 3105, transizione(riferimentoMaiuscolo(a.stato, 3105)));
  scriviFile(esporta("campioni.ARL"), "A\t1\t" + s + "\r\n");
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, true, "campioni.ARL"),
            EsitoEvento::completato);
  EXPECT_EQ(righeTabella(), conTestata(a.stato, {"campioni A\t1\t3105"}));
}

TEST_F(Conversione, IntervalEndBeyondTheReference) {
  impostaIntervallo(a, 16560, 17000);
  std::string s = campioneRiferimento(a.stato, 16560, 16569) + "GGGG";
  muta(s, 16560, 16569, transizione(riferimentoMaiuscolo(a.stato, 16569)));
  scriviFile(esporta("campioni.FASTA"), ">F\r\n" + s + "\r\n");
  scriviFile(esporta("campioni.ARL"), "A\t1\t" + s + "\r\n");

  // Neither conversion runs with an end outside the sequence, and neither writes a table.
  a.porta.rispostaSi = true;
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::errore);
  EXPECT_NE(a.porta.messaggi.back().testo.find("ConvertiFASTAinTabella"), std::string::npos);
  EXPECT_NE(a.porta.messaggi.back().testo.find("(FineSequenza) \"17000\""), std::string::npos);
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, true, "campioni.ARL"),
            EsitoEvento::errore);
  EXPECT_NE(a.porta.messaggi.back().testo.find("ConvertiARLinTabella"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(a.stato.cartellaDati));

  impostaIntervallo(a, 16560, 16569);
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::completato);
  EXPECT_EQ(righeTabella(), conTestata(a.stato, {"campioni F\t1\t16569"}));
}

TEST_F(Conversione, FileNameShorterThanItsExtensionIsAnError) {
  scriviFile(esporta("a.fa"), ">S\r\n");
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "a.fa"), EsitoEvento::errore);
  EXPECT_NE(a.porta.messaggi.back().testo.find("a.fa"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(a.stato.cartellaDati));
}

TEST_F(Conversione, NonAsciiFileNameNamesTheTableAndTheRows) {
  scriviFile(esporta("campi\xC3\xB2ni.ARL"), "A\t1\t" + rif() + "\r\n");
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, true, "campi\xC3\xB2ni.ARL"),
            EsitoEvento::completato);
  std::vector<std::string> righe =
      righeCrLf(leggiFile(a.stato.cartellaDati / "campi\xC3\xB2ni.txt"));
  ASSERT_EQ(righe.size(), 5u);
  EXPECT_EQ(righe[4], "campi\xF2ni A\t1");  // rows are Windows-1252 text
}

}  // namespace
}  // namespace vorlane::test
