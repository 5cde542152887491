#pragma once
// What the table conversion and the normalisation share: the analysis interval, the base name
// of a file, and the transition partners that make a mutation token a bare position.

#include <filesystem>
#include <string>

#include "app/stato.h"

namespace vorlane {

// Positions inizio..fine, both included; empty when fine < inizio.
struct Intervallo {
  int inizio = 0;
  int fine = 0;
  std::size_t lunghezza() const {
    return fine < inizio ? 0 : static_cast<std::size_t>(fine - inizio + 1);
  }
};

// The interval of the settings InizioSequenza and FineSequenza. A start below 1 is an error, and
// so is an end beyond the reference unless `fineOltreRiferimento` allows it (the end is then cut
// to the last position).
Intervallo intervalloAnalisi(const StatoVorlane& stato, bool fineOltreRiferimento);

// A file's name without its last `taglio` characters (its extension), as text for rows and
// messages and as the native name for the output path.
struct NomeBase {
  std::string testo;
  std::string nativo;
};
// A name shorter than `taglio` is an error naming the file.
NomeBase nomeBase(const std::filesystem::path& file, std::size_t taglio);

// The transition partner of an upper-case base (A-G, C-T); 0 for anything else.
char partnerTransizione(char base);

}  // namespace vorlane
