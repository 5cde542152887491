#pragma once
// The page of a single comparison: summary, legend and the sample base by base.

#include "base/porta.h"
#include "sequence/caricamento.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// Writes html/Confronto_<sample name>.htm for the comparison of `campione` just made and
// announces it.
void ScriviHTML(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                const CampioneCaricato& campione);

}  // namespace vorlane
