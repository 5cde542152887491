#pragma once
// Synthetic HV1 samples for benchmarks: the reference over an interval with random mutations,
// some N and "?", reproducible from a seed.

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vorlane::bench {

// A haplogroup motif inside the interval: positions and the bases they carry.
using Motivo = std::vector<std::pair<int, char>>;

struct OpzioniGeneratore {
  std::size_t campioni = 100000;
  unsigned seme = 20261207;
  int da = 16001, a = 16400;
  // When given, every sample carries one of these motifs and a few private mutations;
  // otherwise it carries up to eight random changes.
  std::vector<Motivo> motivi;
};

// The motifs of a haplotype table (its third field, e.g. "16069T 16126C 295T"), cut to the
// interval; rows without a position in it are left out.
std::vector<Motivo> leggiMotivi(const std::filesystem::path& tabella, int da, int a);

struct CampioneSintetico {
  std::string nome;
  int frequenza = 1;
  std::string sequenza;
};

std::vector<CampioneSintetico> generaCampioni(const OpzioniGeneratore& opzioni);
// The samples (over 16001-16400) as a laboratory's HV1 reads: each starts anywhere in
// 15990-16030 and ends anywhere in 16365-16400, some with N at their ends; about one in five has
// a C more in the 16184-16193 tract and one in ten a base fewer somewhere. With `tagliate` the
// same reads are cut to 16024-16365, their indels kept.
std::vector<CampioneSintetico> generaLetture(const std::vector<CampioneSintetico>& campioni,
                                             unsigned seme, bool tagliate);

// FASTA records, CR LF line ends: each sequence on one line, or wrapped at `larghezza`
// characters a line as GenBank and sequencing pipelines write it.
void scriviFasta(const std::filesystem::path& file, const std::vector<CampioneSintetico>& campioni,
                 std::size_t larghezza = 0);
// Arlequin sample lines: name TAB frequency TAB sequence.
void scriviArlequin(const std::filesystem::path& file,
                    const std::vector<CampioneSintetico>& campioni);

}  // namespace vorlane::bench
