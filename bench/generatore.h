#pragma once
// Synthetic HV1 samples for benchmarks: the reference over an interval with random mutations,
// some N and "?", reproducible from a seed.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace vorlane::bench {

struct OpzioniGeneratore {
  std::size_t campioni = 100000;
  unsigned seme = 20261207;
  int da = 16001, a = 16400;
};

struct CampioneSintetico {
  std::string nome;
  int frequenza = 1;
  std::string sequenza;
};

std::vector<CampioneSintetico> generaCampioni(const OpzioniGeneratore& opzioni);
// One-line FASTA records, CR LF line ends.
void scriviFasta(const std::filesystem::path& file, const std::vector<CampioneSintetico>& campioni);
// Arlequin sample lines: name TAB frequency TAB sequence.
void scriviArlequin(const std::filesystem::path& file,
                    const std::vector<CampioneSintetico>& campioni);

}  // namespace vorlane::bench
