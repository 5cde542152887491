#pragma once
// What the table conversion and the normalisation share: the analysis interval, the base name
// of a file, and the transition partners that make a mutation token a bare position.

#include <filesystem>
#include <string>

#include "base/intervallo.h"
#include "base/porta.h"
#include "sequence/alfabeto.h"
#include "stato/stato.h"

namespace vorlane {

// The interval of the settings InizioSequenza and FineSequenza, across the origin when the end is
// below the start; one outside the sequence is an error that says so.
Intervallo intervalloAnalisi(const StatoVorlane& stato);

// A file's name without its last `taglio` characters (its extension), as text for rows and
// messages and as the native name for the output path.
struct NomeBase {
  std::string testo;
  std::string nativo;
};
// A name shorter than `taglio` is an error naming the file.
NomeBase nomeBase(const std::filesystem::path& file, std::size_t taglio);

// Whether `file` may be replaced: true when there is no entry of exactly that name (letter case
// included), or when the user answers Yes to `domanda`. A No restores the normal pointer.
bool sostituzioneConsentita(Porta& porta, const std::filesystem::path& file,
                            const std::string& domanda, const std::string& titolo);

}  // namespace vorlane
