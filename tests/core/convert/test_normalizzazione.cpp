#include "convert/normalizzazione.h"

#include <gtest/gtest.h>

#include "aiuti.h"

namespace vorlane::test {
namespace {

const std::string kTestata = "/ riga 1\r\n/ riga 2\r\n/ riga 3\r\n/ ----\r\n";

class Normalizzazione : public ::testing::Test {
 protected:
  std::filesystem::path tabella() { return a.stato.cartellaDati / "campioni.txt"; }
  std::filesystem::path uscita(const char* estensione) {
    return a.stato.cartellaEsporta / (std::string("campioni") + estensione);
  }
  std::string rif(int da, int fine) {
    return a.stato.sequenzaRiferimento.substr(static_cast<std::size_t>(da),
                                              static_cast<std::size_t>(fine - da + 1));
  }
  // The sequence rebuilt from one row with this mutation list, read from the Arlequin output.
  std::string sequenzaDa(const std::string& mutazioni) {
    scriviFile(tabella(), kTestata + "S\t1\t" + mutazioni + "\r\n");
    EXPECT_EQ(eseguiComando(a, Comando::Normalizza, true, "campioni.txt"), EsitoEvento::completato);
    std::vector<std::string> righe = righeCrLf(leggiFile(uscita(".ARL")));
    if (righe.size() != 1) return "?";
    return righe[0].substr(std::string("S\t1\t").size());
  }

  void SetUp() override {
    ASSERT_TRUE(a.avviato);
    // Most cases normalise the same table again and again over the file the run before wrote.
    a.porta.rispostaSi = true;
  }

  Ambiente a;
};

TEST_F(Normalizzazione, WorkedExampleRebuildsTheIntervalExactly) {
  ASSERT_TRUE(a.avviato);
  scriviFile(tabella(), kTestata + "campioni S1\t1\t16223-16183C\r\n");
  scriviFile(uscita(".FASTA"), "vecchio file\r\n");

  EXPECT_EQ(eseguiComando(a, Comando::Normalizza, false, "campioni.txt"), EsitoEvento::completato);

  std::string attesa = rif(16001, 16400);
  ASSERT_EQ(attesa[16223 - 16001], 'c');
  ASSERT_EQ(attesa[16183 - 16001], 'a');
  attesa[16223 - 16001] = 'T';
  attesa[16183 - 16001] = 'C';
  EXPECT_EQ(leggiFile(uscita(".FASTA")), ">campioni S1 (freq: 1)\r\n" + attesa + "\r\n");
  // The file it replaced was there: the user was asked first.
  ASSERT_EQ(a.porta.domande.size(), 1u);
  EXPECT_EQ(a.porta.domande[0].titolo, a.stato.messaggi[67]);
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_EQ(a.porta.messaggi[0].titolo, a.stato.messaggi[67]);
  EXPECT_EQ(a.porta.messaggi[0].testo,
            a.stato.messaggi[66] + " \r\ncampioni\r\n" + a.stato.messaggi[53]);
}

TEST_F(Normalizzazione, ArlequinLinesKeepNameAndFrequency) {
  scriviFile(tabella(),
             kTestata + "\r\n   \r\n\t \r\n/ nota\r\nX a\t2,5\t16001G\tresto\r\nX a\t1\r\n");
  EXPECT_EQ(eseguiComando(a, Comando::Normalizza, true, "campioni.txt"), EsitoEvento::completato);
  std::string mutata = rif(16001, 16400);
  mutata[0] = 'G';
  // "\t " holds a TAB, which is not a blank: it is a row with an empty name.
  EXPECT_EQ(righeCrLf(leggiFile(uscita(".ARL"))),
            (std::vector<std::string>{"\t \t" + rif(16001, 16400), "X a\t2,5\t" + mutata,
                                      "X a\t1\t" + rif(16001, 16400)}));
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_EQ(a.porta.messaggi[0].titolo, a.stato.messaggi[71]);
  EXPECT_EQ(a.porta.messaggi[0].testo,
            a.stato.messaggi[70] + " \r\ncampioni\r\n" + a.stato.messaggi[53]);
}

TEST_F(Normalizzazione, TokensAreReadAsTheConversionWritesThem) {
  auto con = [&](std::string s, std::initializer_list<std::pair<int, char>> basi) {
    for (auto [p, b] : basi) s[static_cast<std::size_t>(p - 16001)] = b;
    return s;
  };
  const std::string r = rif(16001, 16400);
  ASSERT_EQ(r[16100 - 16001], 'a');
  EXPECT_EQ(sequenzaDa("16189n"), con(r, {{16189, 'N'}}));
  EXPECT_EQ(sequenzaDa("16189N"), con(r, {{16189, 'N'}}));
  EXPECT_EQ(sequenzaDa("16193--16223"), con(r, {{16193, '-'}, {16223, 'T'}}));
  EXPECT_EQ(sequenzaDa("16100-16193-"), con(r, {{16193, '-'}, {16100, 'G'}}));
  EXPECT_EQ(sequenzaDa("16300A-16300c"), con(r, {{16300, 'C'}}));
  EXPECT_EQ(sequenzaDa("16302 "), con(r, {{16302, ' '}}));
  EXPECT_EQ(sequenzaDa("15000-16500C-abc-99999999999999999999"), r);
  EXPECT_EQ(sequenzaDa(""), r);

  impostaIntervallo(a, 3100, 3110);
  const std::string x = rif(3100, 3110);
  ASSERT_EQ(x[7], 'x');
  EXPECT_EQ(sequenzaDa("3107"), x);
  std::string conG = x;
  conG[7] = 'G';
  EXPECT_EQ(sequenzaDa("3107G"), conG);
}

TEST_F(Normalizzazione, HeaderOnlyTableGivesAnEmptyFile) {
  scriviFile(tabella(), kTestata);
  EXPECT_EQ(eseguiComando(a, Comando::Normalizza, false, "campioni.txt"), EsitoEvento::completato);
  EXPECT_EQ(leggiFile(uscita(".FASTA")), "");
  EXPECT_EQ(a.porta.messaggi.size(), 1u);
}

TEST_F(Normalizzazione, RowWithoutTabIsAnErrorNamingTheLineAndWritesNothing) {
  scriviFile(uscita(".FASTA"), "precedente\r\n");
  scriviFile(tabella(), kTestata + "S\t1\t16223\r\nsenza tabulazione\r\n");

  EXPECT_EQ(eseguiComando(a, Comando::Normalizza, false, "campioni.txt"), EsitoEvento::errore);

  EXPECT_EQ(leggiFile(uscita(".FASTA")), "precedente\r\n");
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  const std::string& testo = a.porta.messaggi[0].testo;
  EXPECT_EQ(a.porta.messaggi[0].icona, Icona::critica);
  EXPECT_NE(testo.find("NormalizzaFasta"), std::string::npos);
  EXPECT_NE(testo.find(testoPercorso(tabella()) + ", riga 6"), std::string::npos);
}

TEST_F(Normalizzazione, ALargeTableGivesWhatOneReadingGives) {
  // A table of some 2 MB is rebuilt in pieces on two threads: each row's sequence, in the
  // table's order, whatever line a piece starts on (every line-end style), and a row without TAB
  // far into the table is the same error, naming its line in the whole table, with no file.
  const std::string righe[] = {"S1\t1\t16223-16183C", "/ nota", "S2\t3", "",
                               "S3\t2\t16001G-16400-"};
  for (const std::string fineRiga : {"\r\n", "\n", "\r"}) {
    std::string piccola, grande = kTestata;
    for (const std::string& riga : righe) piccola += riga + fineRiga;
    scriviFile(tabella(), kTestata + piccola);
    ASSERT_EQ(eseguiComando(a, Comando::Normalizza, true, "campioni.txt"), EsitoEvento::completato);
    std::string attesa = leggiFile(uscita(".ARL")), attese;
    constexpr int kCopie = 12000;
    for (int i = 0; i < kCopie; ++i) {
      grande += piccola;
      attese += attesa;
    }
    scriviFile(tabella(), grande);
    ASSERT_EQ(eseguiComando(a, Comando::Normalizza, true, "campioni.txt"), EsitoEvento::completato);
    EXPECT_TRUE(leggiFile(uscita(".ARL")) == attese) << "fine riga " << fineRiga.size();

    scriviFile(tabella(), grande + "senza tabulazione" + fineRiga + piccola);
    a.porta.messaggi.clear();
    EXPECT_EQ(eseguiComando(a, Comando::Normalizza, true, "campioni.txt"), EsitoEvento::errore);
    EXPECT_TRUE(leggiFile(uscita(".ARL")) == attese);
    ASSERT_EQ(a.porta.messaggi.size(), 1u);
    EXPECT_NE(a.porta.messaggi[0].testo.find(", riga " + std::to_string(4 + 5 * kCopie + 1) + ":"),
              std::string::npos)
        << a.porta.messaggi[0].testo;
  }
}

TEST_F(Normalizzazione, ALineOfTabsIsARowWithAnEmptyName) {
  scriviFile(tabella(), kTestata + "\t\t\r\n\t\r\n  \r\n");
  EXPECT_EQ(eseguiComando(a, Comando::Normalizza, false, "campioni.txt"), EsitoEvento::completato);
  const std::string r = rif(16001, 16400);
  EXPECT_EQ(leggiFile(uscita(".FASTA")), "> (freq: )\r\n" + r + "\r\n> (freq: )\r\n" + r + "\r\n");
}

TEST_F(Normalizzazione, AnExistingOutputIsReplacedOnlyWhenTheUserSaysSo) {
  // The table made from the user's own samples would otherwise replace them: every N and
  // everything outside the interval would be gone.
  const std::string originale = "S1\t1\tnnnn" + rif(16001, 16400) + "acgt\r\n";
  scriviFile(uscita(".ARL"), originale);
  scriviFile(tabella(), kTestata + "S1\t1\r\n");
  a.porta.rispostaSi = false;
  EXPECT_EQ(eseguiComando(a, Comando::Normalizza, true, "campioni.txt"), EsitoEvento::interrotto);
  EXPECT_EQ(leggiFile(uscita(".ARL")), originale);
  ASSERT_EQ(a.porta.domande.size(), 1u);
  EXPECT_NE(a.porta.domande[0].testo.find("campioni.ARL"), std::string::npos);
  EXPECT_EQ(a.porta.domande[0].titolo, a.stato.messaggi[71]);
  EXPECT_TRUE(a.porta.messaggi.empty());
  EXPECT_FALSE(a.porta.occupato());

  a.porta.rispostaSi = true;
  EXPECT_EQ(eseguiComando(a, Comando::Normalizza, true, "campioni.txt"), EsitoEvento::completato);
  EXPECT_EQ(leggiFile(uscita(".ARL")), "S1\t1\t" + rif(16001, 16400) + "\r\n");
  // A file that is not there is written without a question.
  a.porta.domande.clear();
  EXPECT_EQ(eseguiComando(a, Comando::Normalizza, false, "campioni.txt"), EsitoEvento::completato);
  EXPECT_TRUE(a.porta.domande.empty());
}

TEST_F(Normalizzazione, AMissingTableIsReportedBeforeTheOutputIsCreated) {
  // The export folder is not there either: the table is what the user is told about.
  std::filesystem::remove_all(a.stato.cartellaEsporta);
  scriviFile(a.stato.cartellaEsporta, "non una cartella");
  EXPECT_EQ(eseguiComando(a, Comando::Normalizza, false, "campioni.txt"), EsitoEvento::errore);
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_NE(a.porta.messaggi[0].testo.find(testoPercorso(tabella())), std::string::npos)
      << a.porta.messaggi[0].testo;
}

}  // namespace
}  // namespace vorlane::test
