#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "app/errore.h"
#include "app/segnalazione.h"
#include "log/registro.h"
#include "support/supporto.h"
#include "text/scrittura.h"
#include "text/sfondo.h"

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

// Lowers the limit on the size of files this process may write, so that a write past it fails
// with EFBIG (SIGXFSZ ignored) the way a full disk would.
class LimiteFile {
 public:
  explicit LimiteFile(rlim_t byte) {
    ::getrlimit(RLIMIT_FSIZE, &prima_);
    segnale_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = prima_;
    limite.rlim_cur = byte;
    ::setrlimit(RLIMIT_FSIZE, &limite);
  }
  ~LimiteFile() {
    ::setrlimit(RLIMIT_FSIZE, &prima_);
    ::signal(SIGXFSZ, segnale_);
  }

 private:
  rlimit prima_{};
  sighandler_t segnale_;
};

// Either way of writing: on the writer's thread, or where the lines are made.
constexpr ScrittoreTesto::Scrittura kModi[] = {ScrittoreTesto::Scrittura::inSfondo,
                                               ScrittoreTesto::Scrittura::diretta};

TEST(LavoroSfondo, AWriteFailingOnTheBackgroundThreadFailsTheFileAndKeepsTheOldOne) {
  for (ScrittoreTesto::Scrittura modo : kModi) {
    test::CartellaTemporanea t;
    test::scriviFile(t / "r.txt", "vecchio");
    const std::string riga(1000, 'x');
    {
      LimiteFile limite(3 << 20);
      auto scrivi = [&] {
        ScrittoreTesto f(t / "r.txt", modo);
        for (int i = 0; i < 8000; ++i) f.riga(riga);
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
  for (ScrittoreTesto::Scrittura modo : kModi) {
    ScrittoreTesto f(t / "r.txt", modo);
    std::string scritto;
    for (int i = 0; i < 60000; ++i) {
      std::string riga = std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), 'a');
      f.riga(riga);
      scritto += riga + "\r\n";
    }
    f.conferma();
    EXPECT_TRUE(test::leggiFile(t / "r.txt") == scritto);
  }
}

TEST(LavoroSfondo, ALogAppendFailingOnTheBackgroundThreadIsReportedAtTheEventsEnd) {
  test::Ambiente a;
  const std::string riga(1000, 'x');
  bool ok = true;
  {
    LimiteFile limite(2 << 20);
    ok = eseguiEvento(a.stato, a.porta, "Prova", [&] {
      for (int i = 0; i < 5000; ++i) ScriviLogOperazioni(a.stato, riga);
    });
  }
  EXPECT_FALSE(ok);
  ASSERT_FALSE(a.porta.messaggi.empty());
  EXPECT_NE(a.porta.messaggi.back().testo.find("ScriviLogOperazioni"), std::string::npos);
}

}  // namespace
}  // namespace vorlane
