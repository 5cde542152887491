#pragma once
// The mutation check: for every sample of a file, which of the listed positions differ from the
// reference. One algorithm; the FASTA and Arlequin variants differ only in how records are read
// and in a few texts.

#include "base/esito.h"
#include "base/porta.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

Esito ControlloMutazioniFASTA(StatoVorlane& stato, Porta& porta, const Caselle& caselle);
Esito ControlloMutazioniARL(StatoVorlane& stato, Porta& porta, const Caselle& caselle);

}  // namespace vorlane
