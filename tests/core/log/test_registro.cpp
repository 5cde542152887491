#include <gtest/gtest.h>

#include "app/errore.h"
#include "app/segnalazione.h"
#include "log/registro.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

struct Registro : ::testing::Test {
  test::Ambiente a;
  std::tm adesso = test::momentoFisso();
  void SetUp() override {
    ASSERT_TRUE(a.avviato);
    a.stato.orologio = [this] { return adesso; };
  }
  std::string mostra() {
    a.porta.messaggi.clear();
    VisualizzaLogOperazioni(a.stato, a.porta);
    EXPECT_EQ(a.porta.messaggi.size(), 1u);
    EXPECT_EQ(a.porta.messaggi.at(0).icona, Icona::nessuna);
    return a.porta.messaggi.at(0).testo;
  }
};

TEST_F(Registro, ShowsOnlyTheLastBlockAndABlankBeforeTheStarDoesNotStartOne) {
  for (const char* riga : {"*--- prima", "a", "*--- seconda", "b", " *non inizia", "c"})
    ScriviLogOperazioni(a.stato, riga);
  EXPECT_EQ(mostra(), "*--- seconda\r\nb\r\n *non inizia\r\nc\r\n");
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261207_Vorlane.log"),
            "*--- prima\r\na\r\n*--- seconda\r\nb\r\n *non inizia\r\nc\r\n");
}

TEST_F(Registro, ALogWithoutBlocksIsShownWholeAndAMissingLogIsAnError) {
  try {
    VisualizzaLogOperazioni(a.stato, a.porta);
    FAIL();
  } catch (const ErroreVorlane& e) {
    EXPECT_EQ(e.etichetta(), "VisualizzaLogOperazioni");
  }
  ScriviLogOperazioni(a.stato, "uno");
  ScriviLogOperazioni(a.stato, "due");
  EXPECT_EQ(mostra(), "uno\r\ndue\r\n");
}

TEST_F(Registro, LinesGoToTheFileOfTheirOwnDay) {
  adesso.tm_hour = 23, adesso.tm_min = 59, adesso.tm_sec = 59;
  ScriviLogOperazioni(a.stato, "*--- prima di mezzanotte");
  adesso.tm_mday = 8, adesso.tm_hour = 0, adesso.tm_sec = 1;
  ScriviLogOperazioni(a.stato, "*--- dopo mezzanotte");
  EXPECT_EQ(mostra(), "*--- dopo mezzanotte\r\n");
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261207_Vorlane.log"),
            "*--- prima di mezzanotte\r\n");
}

TEST_F(Registro, FindsTheBlockStartFarFromTheEndOfALargeLog) {
  ScriviLogOperazioni(a.stato, "*--- vecchio");
  ScriviLogOperazioni(a.stato, "*--- grande");
  std::string atteso = "*--- grande\r\n";
  for (int i = 0; i < 50000; ++i) {
    std::string riga = "campione " + std::to_string(i);
    ScriviLogOperazioni(a.stato, riga);
    atteso += riga + "\r\n";
  }
  EXPECT_EQ(mostra(), atteso);
}

TEST_F(Registro, LinesWrittenBeforeAFailureStillReachTheLog) {
  bool ok = eseguiEvento(a.stato, a.porta, "Prova", [&] {
    ScriviLogOperazioni(a.stato, "*--- prima del guasto");
    throw ErroreVorlane("guasto");
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261207_Vorlane.log"),
            "*--- prima del guasto\r\n");
  ASSERT_FALSE(a.porta.messaggi.empty());
  const auto& report = a.porta.messaggi.back();
  EXPECT_EQ(report.titolo, "ERRORE");
  EXPECT_EQ(report.icona, Icona::critica);
  EXPECT_EQ(report.testo, a.stato.messaggi[20] + " Prova\r\nguasto");
}

}  // namespace
}  // namespace vorlane
