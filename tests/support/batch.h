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

EsitoBatch eseguiBatch(const std::filesystem::path& cartella,
                       const std::vector<std::string>& argomenti);

// The same as an unprivileged user, so that permission bits hold even when the tests run as
// root (the folder is handed over to that user first).
EsitoBatch eseguiBatchSenzaPrivilegi(const std::filesystem::path& cartella,
                                     const std::vector<std::string>& argomenti);

// A working folder with the shipped messages and tables, for running vorlane-batch in.
class ProvaBatch : public ::testing::Test {
 protected:
  void SetUp() override;
  EsitoBatch lancia(const std::vector<std::string>& argomenti);
  EsitoBatch lancia(const std::string& argomenti);  // split at blanks
  std::string registro();                           // the text of the only day's log
  CartellaTemporanea cartella;
};

}  // namespace vorlane::test
