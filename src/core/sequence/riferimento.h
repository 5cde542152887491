#pragma once
#include <string_view>

#include "base/porta.h"
#include "stato/stato.h"

namespace vorlane {

// The built-in reference: 16,569 lower-case bases, "x" at 3107 where the published sequence
// has the placeholder N.
std::string_view testoRiferimento();
// The position the published sequence keeps only as a placeholder.
inline constexpr int kSegnaposto = 3107;
inline constexpr const char* kCitazioneRiferimento =
    "Andrews et al., 1999 (Nature Genetics 23:147)";

// Fills stato.sequenzaRiferimento (entry p is position p, entry 0 empty) and names the
// reference in the window.
void CaricaSequenzaRiferimento(StatoVorlane& stato, Porta& porta);

}  // namespace vorlane
