#pragma once
// Runs vorlane-batch in a folder and captures what it prints.

#include <filesystem>
#include <string>
#include <vector>

namespace vorlane::test {

struct EsitoBatch {
  int stato = -1;
  std::string uscita, errori;
};

EsitoBatch eseguiBatch(const std::filesystem::path& cartella,
                       const std::vector<std::string>& argomenti);

}  // namespace vorlane::test
