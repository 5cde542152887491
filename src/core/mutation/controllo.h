#pragma once
// The mutation check: for every sample of a file, which of the listed positions differ from the
// reference. One algorithm; the FASTA and Arlequin variants differ only in how records are read
// and in a few texts.

#include <cstddef>
#include <cstdint>

#include "app/operazioni.h"
#include "app/porta.h"
#include "app/stato.h"

namespace vorlane {

Esito ControlloMutazioniFASTA(StatoVorlane& stato, Porta& porta);
Esito ControlloMutazioniARL(StatoVorlane& stato, Porta& porta);

// The room a large file's matrix takes at once: samples and bytes of names, from those of its
// first piece, which covered `letti` of the file's `dimensione` bytes.
struct RiservaMatrice {
  std::size_t campioni, byteNomi;
};
RiservaMatrice riservaMatrice(std::size_t campioni, std::size_t byteNomi, std::uintmax_t letti,
                              std::uintmax_t dimensione);

}  // namespace vorlane
