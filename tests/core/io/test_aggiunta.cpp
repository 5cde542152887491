// Appending to a file that other copies of the program append to: what one of them reported
// written stays whole, whatever the others' writes do on a full disk.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <random>
#include <set>

#include "base/errore.h"
#include "io/scrittura.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

constexpr std::string_view kSegno = " [interrotta]";

TEST(AggiungiAlFile, AppendsCreatesAndMarksALastLineLeftWithoutItsEnd) {
  test::CartellaTemporanea t;
  aggiungiAlFile(t / "log.txt", "a\r\n", kSegno);
  aggiungiAlFile(t / "log.txt", "b\r\n", kSegno);
  EXPECT_EQ(test::leggiFile(t / "log.txt"), "a\r\nb\r\n");
  EXPECT_THROW(aggiungiAlFile(t / "manca" / "log.txt", "x", kSegno), ErroreVorlane);

  // What a run killed in the middle of its append leaves: the cut line must not read as a
  // whole one. A CR LF cut after its CR, or a line ended by LF alone, is a whole line.
  const std::pair<std::string, std::string> code[] = {
      {"*--- a\r\nMutazioni : 16069,161", "*--- a\r\nMutazioni : 16069,161 [interrotta]\r\n"},
      {"*", "* [interrotta]\r\n"},
      {"*--- a\r\nAplotipo : H\r", "*--- a\r\nAplotipo : H\r\n"},
      {"*--- a\nAplotipo : H\n", "*--- a\nAplotipo : H\n"},
  };
  for (const auto& [coda, attesa] : code) {
    test::scriviFile(t / "log.txt", coda);
    aggiungiAlFile(t / "log.txt", "*--- b\r\n", kSegno);
    EXPECT_EQ(test::leggiFile(t / "log.txt"), attesa + "*--- b\r\n");
  }
}

// A second name of a file outside the working folder carried the log's lines there; a pipe at
// the log's name would fill and then keep the append waiting.
TEST(AggiungiAlFile, ALogWithAnotherNameOrThatIsNotARegularFileIsRefused) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "fuori.txt", "altrui\r\n");
  std::filesystem::create_hard_link(t / "fuori.txt", t / "log.txt");
  try {
    aggiungiAlFile(t / "log.txt", "*--- blocco\r\n", kSegno);
    ADD_FAILURE() << "appended through a hard link";
  } catch (const ErroreVorlane& e) {
    EXPECT_NE(std::string(e.what()).find("log.txt': ha pi\xF9 di un nome"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(test::leggiFile(t / "fuori.txt"), "altrui\r\n");
  ASSERT_EQ(::mkfifo((t / "tubo.log").c_str(), 0644), 0);
  try {
    aggiungiAlFile(t / "tubo.log", std::string(1 << 17, 'x') + "\r\n", kSegno);
    ADD_FAILURE() << "appended to a pipe";
  } catch (const ErroreVorlane& e) {
    EXPECT_NE(std::string(e.what()).find("non \xE8 un file ordinario"), std::string::npos)
        << e.what();
  }
}

// A block a writer appends: its header, lines of a length of its own, its end.
std::string blocco(int scrittore, int n) {
  std::mt19937 g(static_cast<unsigned>(scrittore * 100003 + n));
  std::string nome = std::to_string(scrittore) + "-" + std::to_string(n);
  std::string testo = "*--- blocco " + nome + "\r\n";
  for (std::size_t righe = g() % 200; righe > 0; --righe)
    testo += "Mutazioni " + nome + " : " + std::string(g() % 90, 'x') + "\r\n";
  return testo + "fine " + nome + "\r\n";
}

// Appends blocks until the file system has refused `rifiuti` of them; writes the numbers of the
// blocks appended, one a line, to `esito`. Runs in a child process and ends it.
[[noreturn]] void scrivi(int scrittore, const std::filesystem::path& registro,
                         const std::filesystem::path& esito, rlim_t limite) {
  if (limite > 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit r{limite, limite};
    ::setrlimit(RLIMIT_FSIZE, &r);
  }
  std::string scritti;
  for (int n = 0, rifiuti = 0; rifiuti < 30; ++n) {
    try {
      aggiungiAlFile(registro, blocco(scrittore, n), kSegno);
      scritti += std::to_string(n) + "\n";
    } catch (const ErroreVorlane&) {
      ++rifiuti;
    }
  }
  // The limit is lifted first: the list goes to a file system with room.
  rlimit r{RLIM_INFINITY, RLIM_INFINITY};
  ::setrlimit(RLIMIT_FSIZE, &r);
  std::ofstream(esito) << scritti;
  ::_exit(0);
}

// A folder on a file system of its own of `byte` bytes when this process may mount one.
class FileSystemPiccolo {
 public:
  FileSystemPiccolo(const std::filesystem::path& cartella, std::size_t byte) : cartella_(cartella) {
    std::filesystem::create_directory(cartella_);
    std::string opzioni = "size=" + std::to_string(byte);
    montato_ = ::mount("tmpfs", cartella_.c_str(), "tmpfs", 0, opzioni.c_str()) == 0;
  }
  ~FileSystemPiccolo() {
    if (montato_) ::umount2(cartella_.c_str(), MNT_DETACH);
  }
  bool montato() const { return montato_; }

 private:
  std::filesystem::path cartella_;
  bool montato_ = false;
};

std::set<int> numeri(const std::filesystem::path& esito) {
  std::set<int> n;
  std::ifstream f(esito);
  for (int k; f >> k;) n.insert(k);
  return n;
}

// Two writers fill a small file system (or, where none may be mounted, reach a file-size limit)
// and keep trying: a failed append cut the file back to its size at the opening, removing the
// other writer's blocks appended meanwhile, or stretching with NUL bytes a file the other had
// already cut shorter.
TEST(AggiungiAlFile, TwoWritersOnAFullDiskLoseNoBlockTheyReportedWritten) {
  test::CartellaTemporanea t;
  constexpr std::size_t kSpazio = 256 << 10;
  FileSystemPiccolo fs(t / "pieno", kSpazio);
  const std::filesystem::path registro = t / "pieno" / "registro.log";
  for (int giro = 0; giro < 6; ++giro) {
    SCOPED_TRACE(giro);
    std::filesystem::remove(registro);
    pid_t figli[2];
    for (int s = 0; s < 2; ++s) {
      figli[s] = ::fork();
      ASSERT_GE(figli[s], 0);
      if (figli[s] == 0)
        scrivi(s, registro, t / ("esito" + std::to_string(s)), fs.montato() ? 0 : kSpazio);
    }
    for (pid_t figlio : figli) {
      int stato = 0;
      ASSERT_EQ(::waitpid(figlio, &stato, 0), figlio);
      ASSERT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0);
    }
    const std::string testo = test::leggiFile(registro);
    EXPECT_EQ(testo.find('\0'), std::string::npos);
    std::size_t scritti = 0;
    for (int s = 0; s < 2; ++s)
      for (int n : numeri(t / ("esito" + std::to_string(s)))) {
        ++scritti;
        EXPECT_NE(testo.find(blocco(s, n)), std::string::npos) << "blocco " << s << "-" << n;
      }
    EXPECT_GT(scritti, 0u);
  }
}

}  // namespace
}  // namespace vorlane
