#pragma once
// Shared test support: a temporary working folder, a port that records what the user would
// see, and small file helpers.

#include <signal.h>
#include <sys/resource.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "base/porta_memoria.h"
#include "stato/stato.h"

namespace vorlane::test {

struct Messaggio {
  std::string testo, titolo;
  Icona icona;
};

class PortaTest : public PortaMemoria {
 public:
  void messaggio(std::string_view testo, const std::string& titolo, Icona icona) override {
    messaggi.push_back({std::string(testo), titolo, icona});
  }
  bool domandaSiNo(const std::string& testo, const std::string& titolo) override {
    domande.push_back({testo, titolo, Icona::nessuna});
    return rispostaSi;
  }
  std::vector<Messaggio> messaggi;
  std::vector<Messaggio> domande;
  bool rispostaSi = false;
};

// A fresh folder under the system's temporary folder, removed at the end of the test.
class CartellaTemporanea {
 public:
  CartellaTemporanea();
  ~CartellaTemporanea();
  const std::filesystem::path& percorso() const { return percorso_; }
  std::filesystem::path operator/(const std::string& nome) const { return percorso_ / nome; }

 private:
  std::filesystem::path percorso_;
};

// Lowers the limit on the size of files this process may write, so that a write past it fails
// with EFBIG (SIGXFSZ ignored) the way a full disk would.
class LimiteFile {
 public:
  explicit LimiteFile(rlim_t byte);
  ~LimiteFile();
  LimiteFile(const LimiteFile&) = delete;
  LimiteFile& operator=(const LimiteFile&) = delete;

 private:
  rlimit prima_{};
  sighandler_t segnale_;
};

void scriviFile(const std::filesystem::path& p, const std::string& contenuto);
std::string leggiFile(const std::filesystem::path& p);
std::vector<std::string> righeCrLf(const std::string& contenuto);  // splits at CR LF

// Where a wrapped FASTA copy has empty lines of its own.
struct RigheVuoteACapo {
  bool dopoIntestazione = false, dopoCampione = false;
};
// `fasta` with every sequence line cut into lines of `larghezza` characters, each line ended by
// `fine`: the wrapped layout GenBank and sequencing pipelines write. Lines of `fasta` may end at
// CR LF, CR or LF; its empty lines are left out.
std::string fastaACapo(const std::string& fasta, std::size_t larghezza, const std::string& fine,
                       RigheVuoteACapo vuote = {});

// A fixed moment for logs and reports: 7 December 2026, 10:20:30.
std::tm momentoFisso();

// Copies the shipped messages and haplotype tables into `cartella`.
void preparaCartellaLavoro(const std::filesystem::path& cartella);
// A working folder with the shipped files, started as the program starts (clock fixed).
struct Ambiente {
  Ambiente();
  CartellaTemporanea cartella;
  StatoVorlane stato;
  PortaTest porta;
  bool avviato = false;
};

}  // namespace vorlane::test
