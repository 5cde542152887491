#include <gtest/gtest.h>

#include "app/segnalazione.h"
#include "base/errore.h"
#include "io/scrittura.h"
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

// Another run in the same folder appending its block, or the day changing, after this run wrote
// its own: the block shown is still this run's.
TEST_F(Registro, TheBlockShownIsTheOneThisRunWrote) {
  ScriviLogOperazioni(a.stato, "*--- questa corsa");
  ScriviLogOperazioni(a.stato, "Aplotipo                      : J1");
  SvuotaRegistro(a.stato);
  aggiungiAlFile(a.cartella / "log" / "20261207_Vorlane.log",
                 "*--- un'altra corsa\r\nAplotipo                      : H\r\n", "");
  adesso.tm_mday = 8;
  EXPECT_EQ(mostra(), "*--- questa corsa\r\nAplotipo                      : J1\r\n");
  EXPECT_FALSE(std::filesystem::exists(a.cartella / "log" / "20261208_Vorlane.log"));
}

TEST_F(Registro, LinesGoToTheFileOfTheirOwnDay) {
  adesso.tm_hour = 23, adesso.tm_min = 59, adesso.tm_sec = 59;
  ScriviLogOperazioni(a.stato, "*--- prima di mezzanotte");
  adesso.tm_mday = 8, adesso.tm_hour = 0, adesso.tm_sec = 1;
  ScriviLogOperazioni(a.stato, "*--- dopo mezzanotte");
  EXPECT_EQ(mostra(), "*--- dopo mezzanotte\r\n");
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261207_Vorlane.log"),
            "*--- prima di mezzanotte\r\n");
  // The same day of another month is another day, and a moved log folder gets the next lines.
  adesso.tm_mon = 0;
  ScriviLogOperazioni(a.stato, "gennaio");
  std::filesystem::create_directory(a.cartella / "altro");
  a.stato.cartellaLog = a.cartella / "altro";
  ScriviLogOperazioni(a.stato, "altrove");
  SvuotaRegistro(a.stato);
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20260108_Vorlane.log"), "gennaio\r\n");
  EXPECT_EQ(test::leggiFile(a.cartella / "altro" / "20260108_Vorlane.log"), "altrove\r\n");
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

TEST_F(Registro, TheBlockStartIsFoundWhereverItFallsAgainstTheSearchedPieces) {
  // The log is searched from its end in pieces of 256 KiB: a "*" line start one byte after the
  // last piece's first byte, on it, and one byte before it.
  const std::filesystem::path log = a.cartella / "log" / "prova.log";
  const std::size_t pezzo = 1 << 18;
  for (std::size_t spostamento : {std::size_t{0}, std::size_t{1}, std::size_t{2}}) {
    std::string coda = "*--- blocco\r\n" + std::string(pezzo - 14 + spostamento - 2, 'x') + "\r\n";
    std::string prima = "*--- vecchio\r\n" + std::string(1000, 'y') + "\r\n";
    test::scriviFile(log, prima + coda);
    EXPECT_EQ(std::string_view(ultimoBlocco(log)), coda) << spostamento;
    // The same star inside a line is not a block start: the older block is the last one.
    test::scriviFile(log, prima + "z" + coda);
    EXPECT_EQ(std::string_view(ultimoBlocco(log)), prima + "z" + coda) << spostamento;
  }
}

TEST_F(Registro, LinesEndedByAnotherProgramAreShownWithCrLf) {
  const std::filesystem::path log = a.cartella / "log" / "prova.log";
  test::scriviFile(log, "vecchio\n*--- blocco\nuno\rdue\r\ntre");
  EXPECT_EQ(std::string_view(ultimoBlocco(log)), "*--- blocco\r\nuno\r\ndue\r\ntre\r\n");
  test::scriviFile(log, "*--- blocco\r\nuno\r\r\n");
  EXPECT_EQ(std::string_view(ultimoBlocco(log)), "*--- blocco\r\nuno\r\n\r\n");
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

TEST_F(Registro, ABlockBuiltInTheQueueGoesWholeToItsDayOrNotAtAll) {
  ScriviLogOperazioni(a.stato, "*--- ieri");
  adesso.tm_mday = 8;
  // A block of a new day sends what the queue holds for the day before to that day's file.
  {
    BloccoRegistro blocco(a.stato, adesso);
    blocco.riga("*--- oggi ", "uno");
    blocco.riga("due");
    EXPECT_EQ(blocco.dimensione(), 18u);
    blocco.scrivi(a.stato);
  }
  bool ok = eseguiEvento(a.stato, a.porta, "Prova", [&] {
    BloccoRegistro blocco(a.stato, adesso);
    blocco.riga("mezzo blocco");
    throw ErroreVorlane("guasto");
  });
  EXPECT_FALSE(ok);
  // A block grown past the queue's megabyte leaves the queue at once, on its way to the file;
  // the event's end waits for it.
  std::string grande(1 << 20, 'g');
  BloccoRegistro blocco(a.stato, adesso);
  blocco.riga(grande);
  blocco.scrivi(a.stato);
  EXPECT_TRUE(a.stato.registro.testo.empty());
  SvuotaRegistro(a.stato);
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261207_Vorlane.log"), "*--- ieri\r\n");
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261208_Vorlane.log"),
            "*--- oggi uno\r\ndue\r\n" + grande + "\r\n");
}

// The log after a full disk, a torn line or a planted link: a failed write is reported and takes
// back what it wrote, a torn last line is ended before the next block, and a symbolic link at the
// log's name is never written through.
TEST_F(Registro, AFailedWriteLeavesNoPartialLineAndATornLineIsMarkedFirst) {
  const std::filesystem::path log = a.cartella / "log" / "20261207_Vorlane.log";
  test::scriviFile(log, "*--- vecchio\r\nAplotip");
  ScriviLogOperazioni(a.stato, "*--- nuovo");
  SvuotaRegistro(a.stato);
  EXPECT_EQ(test::leggiFile(log),
            "*--- vecchio\r\nAplotip [riga interrotta: scrittura non conclusa]\r\n*--- nuovo\r\n");
  EXPECT_EQ(mostra(), "*--- nuovo\r\n");

  const std::string prima = test::leggiFile(log);
  ScriviLogOperazioni(a.stato, "*--- " + std::string(100, 'x'));
  try {
    test::LimiteFile limite(prima.size() + 10);
    SvuotaRegistro(a.stato);
    FAIL() << "the write past the limit must fail";
  } catch (const ErroreVorlane& e) {
    EXPECT_EQ(e.etichetta(), "ScriviLogOperazioni");
    EXPECT_NE(std::string(e.what()).find("file troppo grande"), std::string::npos) << e.what();
  }
  EXPECT_EQ(test::leggiFile(log), prima);
}

TEST_F(Registro, AFailedLogWriteAfterAnotherFailureIsReportedToo) {
  const std::filesystem::path log = a.cartella / "log" / "20261207_Vorlane.log";
  test::scriviFile(log, "*--- vecchio\r\n");
  bool ok;
  {
    test::LimiteFile limite(std::filesystem::file_size(log));
    ok = eseguiEvento(a.stato, a.porta, "Prova", [&] {
      ScriviLogOperazioni(a.stato, "*--- del guasto");
      throw ErroreVorlane("pagina non scritta");
    });
  }
  EXPECT_FALSE(ok);
  ASSERT_EQ(a.porta.messaggi.size(), 2u);
  EXPECT_EQ(a.porta.messaggi[0].testo, a.stato.messaggi[20] + " Prova\r\npagina non scritta");
  EXPECT_NE(a.porta.messaggi[1].testo.find("ScriviLogOperazioni"), std::string::npos);
  EXPECT_EQ(a.porta.messaggi[1].icona, Icona::critica);
  EXPECT_EQ(test::leggiFile(log), "*--- vecchio\r\n");
}

TEST_F(Registro, ALinkAtTheLogsNameIsNotWrittenThrough) {
  const std::filesystem::path fuori = a.cartella / "fuori.txt";
  test::scriviFile(fuori, "altrui\r\n");
  std::filesystem::create_symlink(fuori, a.cartella / "log" / "20261207_Vorlane.log");
  bool ok = eseguiEvento(a.stato, a.porta, "Prova",
                         [&] { ScriviLogOperazioni(a.stato, "*--- campione segreto"); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(test::leggiFile(fuori), "altrui\r\n");
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_NE(a.porta.messaggi[0].testo.find("collegamento simbolico"), std::string::npos)
      << a.porta.messaggi[0].testo;
}

}  // namespace
}  // namespace vorlane
