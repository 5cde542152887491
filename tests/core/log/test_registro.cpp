#include <gtest/gtest.h>

#include "app/segnalazione.h"
#include "base/errore.h"
#include "io/scrittura.h"
#include "log/registro.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

struct FileDiRegistro : ::testing::Test {
  test::Ambiente a;
  std::tm adesso = test::momentoFisso();
  void SetUp() override {
    ASSERT_TRUE(a.avviato);
    a.stato.registro.orologio = [this] { return adesso; };
  }
  std::string mostra() {
    a.porta.messaggi.clear();
    a.stato.registro.VisualizzaLogOperazioni(a.porta);
    EXPECT_EQ(a.porta.messaggi.size(), 1u);
    EXPECT_EQ(a.porta.messaggi.at(0).icona, Icona::nessuna);
    return a.porta.messaggi.at(0).testo;
  }
};

TEST_F(FileDiRegistro, ShowsOnlyTheLastBlockAndABlankBeforeTheStarDoesNotStartOne) {
  for (const char* riga : {"*--- prima", "a", "*--- seconda", "b", " *non inizia", "c"})
    a.stato.registro.ScriviLogOperazioni(riga);
  EXPECT_EQ(mostra(), "*--- seconda\r\nb\r\n *non inizia\r\nc\r\n");
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261207_Vorlane.log"),
            "*--- prima\r\na\r\n*--- seconda\r\nb\r\n *non inizia\r\nc\r\n");
}

TEST_F(FileDiRegistro, ALogWithoutBlocksIsShownWholeAndAMissingLogIsAnError) {
  try {
    a.stato.registro.VisualizzaLogOperazioni(a.porta);
    FAIL();
  } catch (const ErroreVorlane& e) {
    EXPECT_EQ(e.etichetta(), "VisualizzaLogOperazioni");
  }
  a.stato.registro.ScriviLogOperazioni("uno");
  a.stato.registro.ScriviLogOperazioni("due");
  EXPECT_EQ(mostra(), "uno\r\ndue\r\n");
}

// Another run in the same folder appending its block, or the day changing, after this run wrote
// its own: the block shown is still this run's.
TEST_F(FileDiRegistro, TheBlockShownIsTheOneThisRunWrote) {
  a.stato.registro.ScriviLogOperazioni("*--- questa corsa");
  a.stato.registro.ScriviLogOperazioni("Aplotipo                      : J1");
  a.stato.registro.svuota();
  aggiungiAlFile(a.cartella / "log" / "20261207_Vorlane.log",
                 "*--- un'altra corsa\r\nAplotipo                      : H\r\n", "");
  adesso.tm_mday = 8;
  EXPECT_EQ(mostra(), "*--- questa corsa\r\nAplotipo                      : J1\r\n");
  EXPECT_FALSE(std::filesystem::exists(a.cartella / "log" / "20261208_Vorlane.log"));
}

TEST_F(FileDiRegistro, LinesGoToTheFileOfTheirOwnDay) {
  adesso.tm_hour = 23, adesso.tm_min = 59, adesso.tm_sec = 59;
  a.stato.registro.ScriviLogOperazioni("*--- prima di mezzanotte");
  adesso.tm_mday = 8, adesso.tm_hour = 0, adesso.tm_sec = 1;
  a.stato.registro.ScriviLogOperazioni("*--- dopo mezzanotte");
  EXPECT_EQ(mostra(), "*--- dopo mezzanotte\r\n");
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261207_Vorlane.log"),
            "*--- prima di mezzanotte\r\n");
  // The same day of another month is another day, and a moved log folder gets the next lines.
  adesso.tm_mon = 0;
  a.stato.registro.ScriviLogOperazioni("gennaio");
  std::filesystem::create_directory(a.cartella / "altro");
  a.stato.registro.impostaCartella(a.cartella / "altro");
  a.stato.registro.ScriviLogOperazioni("altrove");
  a.stato.registro.svuota();
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20260108_Vorlane.log"), "gennaio\r\n");
  EXPECT_EQ(test::leggiFile(a.cartella / "altro" / "20260108_Vorlane.log"), "altrove\r\n");
}

TEST_F(FileDiRegistro, FindsTheBlockStartFarFromTheEndOfALargeLog) {
  a.stato.registro.ScriviLogOperazioni("*--- vecchio");
  a.stato.registro.ScriviLogOperazioni("*--- grande");
  std::string atteso = "*--- grande\r\n";
  for (int i = 0; i < 50000; ++i) {
    std::string riga = "campione " + std::to_string(i);
    a.stato.registro.ScriviLogOperazioni(riga);
    atteso += riga + "\r\n";
  }
  EXPECT_EQ(mostra(), atteso);
}

TEST_F(FileDiRegistro, TheBlockStartIsFoundWhereverItFallsAgainstTheSearchedPieces) {
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

TEST_F(FileDiRegistro, LinesEndedByAnotherProgramAreShownWithCrLf) {
  const std::filesystem::path log = a.cartella / "log" / "prova.log";
  test::scriviFile(log, "vecchio\n*--- blocco\nuno\rdue\r\ntre");
  EXPECT_EQ(std::string_view(ultimoBlocco(log)), "*--- blocco\r\nuno\r\ndue\r\ntre\r\n");
  test::scriviFile(log, "*--- blocco\r\nuno\r\r\n");
  EXPECT_EQ(std::string_view(ultimoBlocco(log)), "*--- blocco\r\nuno\r\n\r\n");
}

TEST_F(FileDiRegistro, LinesWrittenBeforeAFailureStillReachTheLog) {
  bool ok = eseguiEvento(a.stato, a.porta, "Prova", [&] {
    a.stato.registro.ScriviLogOperazioni("*--- prima del guasto");
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

TEST_F(FileDiRegistro, ABlockBuiltInTheQueueGoesWholeToItsDayOrNotAtAll) {
  a.stato.registro.ScriviLogOperazioni("*--- ieri");
  adesso.tm_mday = 8;
  // A block of a new day sends what the queue holds for the day before to that day's file.
  {
    BloccoRegistro blocco(a.stato.registro, adesso);
    blocco.riga("*--- oggi ", "uno");
    blocco.riga("due");
    EXPECT_EQ(blocco.dimensione(), 18u);
    blocco.scrivi(a.stato.registro);
  }
  bool ok = eseguiEvento(a.stato, a.porta, "Prova", [&] {
    BloccoRegistro blocco(a.stato.registro, adesso);
    blocco.riga("mezzo blocco");
    throw ErroreVorlane("guasto");
  });
  EXPECT_FALSE(ok);
  // A block grown past the queue's megabyte leaves the queue at once, on its way to the file;
  // the event's end waits for it.
  std::string grande(1 << 20, 'g');
  BloccoRegistro blocco(a.stato.registro, adesso);
  blocco.riga(grande);
  blocco.scrivi(a.stato.registro);
  EXPECT_TRUE(a.stato.registro.inCoda().empty());
  a.stato.registro.svuota();
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261207_Vorlane.log"), "*--- ieri\r\n");
  EXPECT_EQ(test::leggiFile(a.cartella / "log" / "20261208_Vorlane.log"),
            "*--- oggi uno\r\ndue\r\n" + grande + "\r\n");
}

// The log after a full disk, a torn line or a planted link: a failed write is reported and takes
// back what it wrote, a torn last line is ended before the next block, and a symbolic link at the
// log's name is never written through.
TEST_F(FileDiRegistro, AFailedWriteLeavesNoPartialLineAndATornLineIsMarkedFirst) {
  const std::filesystem::path log = a.cartella / "log" / "20261207_Vorlane.log";
  test::scriviFile(log, "*--- vecchio\r\nAplotip");
  a.stato.registro.ScriviLogOperazioni("*--- nuovo");
  a.stato.registro.svuota();
  EXPECT_EQ(test::leggiFile(log),
            "*--- vecchio\r\nAplotip [riga interrotta: scrittura non conclusa]\r\n*--- nuovo\r\n");
  EXPECT_EQ(mostra(), "*--- nuovo\r\n");

  const std::string prima = test::leggiFile(log);
  a.stato.registro.ScriviLogOperazioni("*--- " + std::string(100, 'x'));
  try {
    test::LimiteFile limite(prima.size() + 10);
    a.stato.registro.svuota();
    FAIL() << "the write past the limit must fail";
  } catch (const ErroreVorlane& e) {
    EXPECT_EQ(e.etichetta(), "ScriviLogOperazioni");
    EXPECT_NE(std::string(e.what()).find("file troppo grande"), std::string::npos) << e.what();
  }
  EXPECT_EQ(test::leggiFile(log), prima);
}

TEST_F(FileDiRegistro, AFailedLogWriteAfterAnotherFailureIsReportedToo) {
  const std::filesystem::path log = a.cartella / "log" / "20261207_Vorlane.log";
  test::scriviFile(log, "*--- vecchio\r\n");
  bool ok;
  {
    test::LimiteFile limite(std::filesystem::file_size(log));
    ok = eseguiEvento(a.stato, a.porta, "Prova", [&] {
      a.stato.registro.ScriviLogOperazioni("*--- del guasto");
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

TEST_F(FileDiRegistro, ALinkAtTheLogsNameIsNotWrittenThrough) {
  const std::filesystem::path fuori = a.cartella / "fuori.txt";
  test::scriviFile(fuori, "altrui\r\n");
  std::filesystem::create_symlink(fuori, a.cartella / "log" / "20261207_Vorlane.log");
  bool ok = eseguiEvento(a.stato, a.porta, "Prova",
                         [&] { a.stato.registro.ScriviLogOperazioni("*--- campione segreto"); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(test::leggiFile(fuori), "altrui\r\n");
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_NE(a.porta.messaggi[0].testo.find("collegamento simbolico"), std::string::npos)
      << a.porta.messaggi[0].testo;
}

}  // namespace
}  // namespace vorlane
