#include <gtest/gtest.h>

#include "support/batch.h"
#include "support/supporto.h"

namespace vorlane::test {
namespace {

TEST(BatchAvvio, CreatesFoldersAndSettingsThenStops) {
  CartellaTemporanea t;
  preparaCartellaLavoro(t.percorso());
  EsitoBatch e = eseguiBatch(t.percorso(), {});
  EXPECT_EQ(e.stato, 0) << e.errori;
  for (const char* c : {"log", "html", "dati", "esporta"})
    EXPECT_TRUE(std::filesystem::is_directory(t / c)) << c;
  auto righe = righeCrLf(leggiFile(t / "Vorlane.ini"));
  ASSERT_EQ(righe.size(), 31u);
  EXPECT_EQ(righe[30], "caratteriPermessi=A,T,G,C,N,X,?");
}

TEST(BatchAvvio, ABrokenMessagesFileEndsWithTheReportOnStandardError) {
  CartellaTemporanea t;
  scriviFile(t / "messaggi.txt", "20;Errore in\n201;troppo\n");
  EsitoBatch e = eseguiBatch(t.percorso(), {});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("[ERRORE]"), std::string::npos);
  EXPECT_NE(e.errori.find("Errore in CaricaMessaggi"), std::string::npos);
  EXPECT_NE(e.errori.find("messaggi.txt, riga 2"), std::string::npos);
  scriviFile(t / "messaggi.txt", "1;a\nsenza punto e virgola\n");
  e = eseguiBatch(t.percorso(), {});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("riga 2"), std::string::npos);
  std::filesystem::remove(t / "messaggi.txt");
  EXPECT_EQ(eseguiBatch(t.percorso(), {}).stato, 1);
}

TEST(BatchAvvio, ARefusedBoxValueExitsTwoWithTheReasonOnStandardError) {
  CartellaTemporanea t;
  preparaCartellaLavoro(t.percorso());
  EsitoBatch e = eseguiBatch(t.percorso(), {"--da", "abc"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.errori.find("abc"), std::string::npos);
  EXPECT_TRUE(e.uscita.empty()) << e.uscita;
}

TEST(BatchAvvio, SaveWritesTheBoxesAfterTheirRules) {
  CartellaTemporanea t;
  preparaCartellaLavoro(t.percorso());
  EXPECT_EQ(
      eseguiBatch(t.percorso(), {"--da", "16500", "--posizioni", "16189,16223", "--salva"}).stato,
      0);
  std::string ini = leggiFile(t / "Vorlane.ini");
  EXPECT_NE(ini.find("InizioSequenza=16500\r\n"), std::string::npos);
  EXPECT_NE(ini.find("FineSequenza=16500\r\n"), std::string::npos);
  EXPECT_NE(ini.find("posMutazione=16189,16223\r\n"), std::string::npos);
  // Without --salva the file stays as it is.
  EXPECT_EQ(eseguiBatch(t.percorso(), {"--da", "16001"}).stato, 0);
  EXPECT_EQ(leggiFile(t / "Vorlane.ini"), ini);
}

}  // namespace
}  // namespace vorlane::test
