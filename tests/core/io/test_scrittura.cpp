#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <set>

#include "base/errore.h"
#include "io/scrittura.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

std::size_t fileNellaCartella(const std::filesystem::path& c) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& voce : std::filesystem::directory_iterator(c)) ++n;
  return n;
}

TEST(ScrittoreTesto, WritesCrLfLinesOnlyWhenConfirmed) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "r.txt", "vecchio");
  {
    ScrittoreTesto f(t / "r.txt");
    f.riga("uno");
    f.righe("d", "u", "e");
    EXPECT_EQ(test::leggiFile(t / "r.txt"), "vecchio");
    f.conferma();
  }
  EXPECT_EQ(test::leggiFile(t / "r.txt"), "uno\r\ndue\r\n");
  EXPECT_EQ(fileNellaCartella(t.percorso()), 1u);
}

TEST(ScrittoreTesto, AnAbandonedOrFailedWriteLeavesTheOldFileAndNoLeftovers) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "r.txt", "vecchio");
  {
    ScrittoreTesto f(t / "r.txt");
    for (int i = 0; i < 200000; ++i) f.riga("riga lunga abbastanza da svuotare il buffer");
  }  // destroyed without conferma, as when an operation fails midway
  EXPECT_EQ(test::leggiFile(t / "r.txt"), "vecchio");
  EXPECT_EQ(fileNellaCartella(t.percorso()), 1u);

  // A target that cannot be replaced (a non-empty folder of that name).
  std::filesystem::create_directories(t / "occupato" / "dentro");
  ScrittoreTesto g(t / "occupato");
  g.riga("x");
  EXPECT_THROW(g.conferma(), ErroreVorlane);
  EXPECT_TRUE(std::filesystem::is_directory(t / "occupato" / "dentro"));
  EXPECT_EQ(fileNellaCartella(t.percorso()), 2u);

  EXPECT_THROW(ScrittoreTesto(t / "manca" / "r.txt"), ErroreVorlane);
}

TEST(ScrittoreTesto, LinesBuiltInPlaceKeepTheirBytesWhenTheyOutgrowTheBuffer) {
  // Each line is built in pieces, its last byte taken back; some lines are longer than the
  // whole buffer and come while it is nearly full, so it must grow without losing the line.
  test::CartellaTemporanea t;
  std::string atteso;
  {
    ScrittoreTesto f(t / "r.txt");
    for (std::size_t lunghezza : {std::size_t{10}, std::size_t{1} << 19, std::size_t{3} << 20,
                                  std::size_t{0}, std::size_t{5} << 20, std::size_t{7}}) {
      std::string riga;
      f.aggiungi("inizio ");
      riga += "inizio ";
      for (std::size_t fatti = 0; fatti < lunghezza; fatti += 4096) {
        std::size_t n = std::min<std::size_t>(4096, lunghezza - fatti);
        char* p = f.spazio(n + 1);
        for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<char>('a' + (fatti + i) % 26);
        riga.append(p, n);
        f.avanza(p + n);
      }
      f.ritira(1);
      riga.pop_back();
      f.fineRiga();
      atteso += riga + "\r\n";
    }
    f.conferma();
  }
  EXPECT_EQ(test::leggiFile(t / "r.txt"), atteso);
}

mode_t permessi(const std::filesystem::path& p) {
  struct stat st {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0);
  return st.st_mode & 07777;
}

// Names of 248-255 bytes fit a folder; the temporary name beside them must fit as well.
TEST(ScrittoreTesto, ATargetWhoseNameFitsCanBeWrittenHoweverLong) {
  test::CartellaTemporanea t;
  for (std::size_t lunghezza : {1u, 200u, 247u, 248u, 251u, 255u}) {
    const std::string nome = std::string(lunghezza - 1, 'n') + "x";
    ScrittoreTesto f(t / nome);
    f.riga(std::to_string(lunghezza));
    f.conferma();
    EXPECT_EQ(test::leggiFile(t / nome), std::to_string(lunghezza) + "\r\n");
    ScrittoreTesto g(t / nome);  // replaced, through a temporary name of the same length
    g.riga("di nuovo");
    g.conferma();
    EXPECT_EQ(test::leggiFile(t / nome), "di nuovo\r\n");
  }
  // A name too long for the folder fails when the file is put in place, leaving nothing behind.
  ScrittoreTesto troppo(t / std::string(256, 'n'));
  EXPECT_THROW(troppo.conferma(), ErroreVorlane);
  EXPECT_EQ(fileNellaCartella(t.percorso()), 6u);
}

TEST(ScrittoreTesto, ARunStoppedBySignalLeavesNoTemporaryFile) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (int segnale : {SIGINT, SIGTERM}) {
    test::CartellaTemporanea t;
    test::scriviFile(t / "r.txt", "vecchio");
    auto interrotta = [&] {
      ScrittoreTesto f(t / "r.txt");
      ScrittoreTesto g(t / "s.txt");
      for (int i = 0; i < 100000; ++i) f.riga("una riga di un file grande");
      g.riga("uno");
      ::raise(segnale);
    };
    EXPECT_EXIT(interrotta(), testing::KilledBySignal(segnale), "");
    EXPECT_EQ(fileNellaCartella(t.percorso()), 1u);
    EXPECT_EQ(test::leggiFile(t / "r.txt"), "vecchio");
  }
}

// A SIGKILL, or the system ending the program for want of memory, runs no handler: a named
// temporary file stayed behind, 2.4 GB of them after a dozen kills.
TEST(ScrittoreTesto, ARunKilledOutrightLeavesNoTemporaryFile) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "r.txt", "vecchio");
  // Forked rather than a death test, whose child would run the test again in a folder of its own.
  pid_t figlio = ::fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    ScrittoreTesto f(t / "r.txt");
    for (int i = 0; i < 300000; ++i) f.riga("una riga di un file grande");
    ::raise(SIGKILL);
  }
  int stato = 0;
  ASSERT_EQ(::waitpid(figlio, &stato, 0), figlio);
  EXPECT_TRUE(WIFSIGNALED(stato) && WTERMSIG(stato) == SIGKILL) << stato;
  EXPECT_EQ(fileNellaCartella(t.percorso()), 1u);
  EXPECT_EQ(test::leggiFile(t / "r.txt"), "vecchio");
}

// Left by runs killed before the unnamed files: removed when the same output is written again,
// unless a copy of the program is still writing one (it holds a lock on it).
TEST(ScrittoreTesto, StaleTemporaryFilesOfTheOutputAreRemovedBeforeItIsWritten) {
  test::CartellaTemporanea t;
  for (const char* nome : {".r.txt.AbC123", ".r.txt.zz9ZZ9", ".r.txt.vivo01", ".r.txt.corto",
                           ".r.txt.AbC1234", ".r.txt.Ab-123", ".s.txt.AbC123", "r.txt.AbC123"})
    test::scriviFile(t / nome, "avanzo");
  int vivo = ::open((t / ".r.txt.vivo01").c_str(), O_RDONLY);
  ASSERT_GE(vivo, 0);
  ASSERT_EQ(::flock(vivo, LOCK_EX), 0);
  ScrittoreTesto f(t / "r.txt");
  f.riga("nuovo");
  f.conferma();
  ::close(vivo);
  std::set<std::string> restanti;
  for (const auto& voce : std::filesystem::directory_iterator(t.percorso()))
    restanti.insert(voce.path().filename());
  EXPECT_EQ(restanti,
            (std::set<std::string>{"r.txt", ".r.txt.vivo01", ".r.txt.corto", ".r.txt.AbC1234",
                                   ".r.txt.Ab-123", ".s.txt.AbC123", "r.txt.AbC123"}));
  EXPECT_EQ(test::leggiFile(t / "r.txt"), "nuovo\r\n");
}

TEST(ScrittoreTesto, AReplacedFileKeepsItsPermissions) {
  test::CartellaTemporanea t;
  for (mode_t modo : {0600, 0640, 0604, 0660}) {
    test::scriviFile(t / "r.txt", "vecchio");
    ASSERT_EQ(::chmod((t / "r.txt").c_str(), modo), 0);
    ScrittoreTesto f(t / "r.txt");
    f.riga("nuovo");
    f.conferma();
    EXPECT_EQ(test::leggiFile(t / "r.txt"), "nuovo\r\n");
    EXPECT_EQ(permessi(t / "r.txt"), modo);
  }
  // A new file takes the default permissions.
  mode_t maschera = ::umask(022);
  ScrittoreTesto f(t / "nuovo.txt");
  f.conferma();
  ::umask(maschera);
  EXPECT_EQ(permessi(t / "nuovo.txt"), 0644u);
}

// Checked as a user other than root, who may write any file: in a child process that gives up
// root when it has it.
TEST(ScrittoreTesto, AFileTheUserCannotWriteIsNotReplaced) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  test::CartellaTemporanea t;
  test::scriviFile(t / "r.txt", "sola lettura");
  ASSERT_EQ(::chmod((t / "r.txt").c_str(), 0444), 0);
  ASSERT_EQ(::chmod(t.percorso().c_str(), 0777), 0);
  auto comeUtente = [&] {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::exit(2);
    try {
      ScrittoreTesto f(t / "r.txt");
      f.riga("sostituito");
      f.conferma();
    } catch (const ErroreVorlane& e) {
      bool nominato = std::string(e.what()).find("r.txt") != std::string::npos;
      std::exit(nominato && fileNellaCartella(t.percorso()) == 1 ? 0 : 3);
    }
    std::exit(1);
  };
  EXPECT_EXIT(comeUtente(), testing::ExitedWithCode(0), "");
  EXPECT_EQ(test::leggiFile(t / "r.txt"), "sola lettura");
  EXPECT_EQ(permessi(t / "r.txt"), 0444u);
}

}  // namespace
}  // namespace vorlane
