#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/segnalazione.h"
#include "base/errore.h"
#include "io/scrittura.h"
#include "io/sfondo.h"
#include "log/registro.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

TEST(LavoroSfondo, RunsWorkInOrderAndHandsBackWhatItThrew) {
  std::vector<int> fatti;
  LavoroSfondo sfondo;
  for (int i = 0; i < 50; ++i) sfondo.affida([&fatti, i] { fatti.push_back(i); });
  sfondo.attendi();
  ASSERT_EQ(fatti.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(fatti[static_cast<std::size_t>(i)], i);

  sfondo.affida([] { throw ErroreVorlane("disco pieno"); });
  EXPECT_THROW(sfondo.attendi(), ErroreVorlane);
  sfondo.attendi();  // reported once

  // An error still under way surfaces when the next piece is handed over, and that piece does
  // not run: it would write after a gap.
  bool eseguito = false;
  sfondo.affida([] { throw ErroreVorlane("disco pieno"); });
  EXPECT_THROW(sfondo.affida([&] { eseguito = true; }), ErroreVorlane);
  sfondo.attendi();
  EXPECT_FALSE(eseguito);
}

// Lines reach the file either one by one, written on the writer's thread, or in pieces made in
// memory and added whole, as the conversion of a large file adds them.
void scriviRighe(ScrittoreTesto& f, const std::vector<std::string>& righe, bool aPezzi) {
  ScrittoreTesto pezzo;
  for (std::size_t i = 0; i < righe.size(); ++i) {
    (aPezzi ? pezzo : f).riga(righe[i]);
    if (aPezzi && (i % 777 == 776 || i + 1 == righe.size())) {
      f.accoda(pezzo.testo());
      pezzo.riportaA(0);
    }
  }
}

TEST(LavoroSfondo, AFailingWriteFailsTheFileAndKeepsTheOldOne) {
  for (bool aPezzi : {false, true}) {
    test::CartellaTemporanea t;
    test::scriviFile(t / "r.txt", "vecchio");
    const std::vector<std::string> righe(8000, std::string(1000, 'x'));
    {
      test::LimiteFile limite(3 << 20);
      auto scrivi = [&] {
        ScrittoreTesto f(t / "r.txt");
        scriviRighe(f, righe, aPezzi);
        f.conferma();
      };
      EXPECT_THROW(scrivi(), ErroreVorlane);
    }
    EXPECT_EQ(test::leggiFile(t / "r.txt"), "vecchio");
    std::size_t file = 0;
    for ([[maybe_unused]] const auto& voce : std::filesystem::directory_iterator(t.percorso()))
      ++file;
    EXPECT_EQ(file, 1u);
  }
}

TEST(LavoroSfondo, BothWaysOfWritingKeepEveryLineInOrderOverManyBuffers) {
  test::CartellaTemporanea t;
  std::vector<std::string> righe;
  std::string scritto;
  for (int i = 0; i < 60000; ++i) {
    righe.push_back(std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), 'a'));
    scritto += righe.back() + "\r\n";
  }
  for (bool aPezzi : {false, true}) {
    ScrittoreTesto f(t / "r.txt");
    f.riga("testata");
    std::uintmax_t dopoTestata = f.posizione();
    scriviRighe(f, {"da togliere"}, aPezzi);
    f.riportaA(dopoTestata);  // what a conversion read again in one go does
    scriviRighe(f, righe, aPezzi);
    f.conferma();
    EXPECT_TRUE(test::leggiFile(t / "r.txt") == "testata\r\n" + scritto);
  }
}

TEST(LavoroSfondo, ALogAppendFailingOnTheBackgroundThreadIsReportedAtTheEventsEnd) {
  test::Ambiente a;
  const std::string riga(1000, 'x');
  bool ok = true;
  {
    test::LimiteFile limite(2 << 20);
    ok = eseguiEvento(a.stato, a.porta, "Prova", [&] {
      for (int i = 0; i < 5000; ++i) a.stato.registro.ScriviLogOperazioni(riga);
    });
  }
  EXPECT_FALSE(ok);
  ASSERT_FALSE(a.porta.messaggi.empty());
  EXPECT_NE(a.porta.messaggi.back().testo.find("ScriviLogOperazioni"), std::string::npos);
}

}  // namespace
}  // namespace vorlane
