#pragma once
// Runs vorlane-batch in a folder and captures what it prints.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/supporto.h"

namespace vorlane::test {

struct EsitoBatch {
  int stato = -1;
  std::string uscita, errori;
};

// Where the run's standard streams lead, and the program run (vorlane-batch of the build
// unless told).
struct Redirezioni {
  std::filesystem::path ingresso = "/dev/null";
  std::filesystem::path uscita;  // empty: captured into EsitoBatch::uscita
  std::filesystem::path programma = VORLANE_BATCH;
  std::string ambiente;  // assignments put before the command, each followed by a blank
};

// Runs in `cartella` with HOME set to it and VORLANE_LAVORO unset, so that a user's folder the
// program prepares lies inside the test's folder.
EsitoBatch eseguiBatch(const std::filesystem::path& cartella,
                       const std::vector<std::string>& argomenti, const Redirezioni& r = {});

// The same as an unprivileged user, so that permission bits hold even when the tests run as
// root (the folder is handed over to that user first). `limiti` are prlimit's options for the
// program ("--nproc=1"), which bind an unprivileged user only.
EsitoBatch eseguiBatchSenzaPrivilegi(const std::filesystem::path& cartella,
                                     const std::vector<std::string>& argomenti,
                                     const std::string& limiti = "");

// A working folder with the shipped messages and tables, for running vorlane-batch in.
class ProvaBatch : public ::testing::Test {
 protected:
  void SetUp() override;
  EsitoBatch lancia(const std::vector<std::string>& argomenti);
  EsitoBatch lancia(const std::string& argomenti);  // split at blanks
  std::string registro();                           // the text of the only day's log
  CartellaTemporanea cartella;
};

// The reference from `da` on, `quanti` bases, upper case, with a transition at each of `mutate`.
std::string campione(int da, int quanti, const std::vector<int>& mutate);

}  // namespace vorlane::test
