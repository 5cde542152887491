#pragma once
// The comparison table of a multiple run: summary and one row per compared sample.

#include "app/porta.h"
#include "app/stato.h"

namespace vorlane {

// Writes html/Confronto_<file name>.htm from risultatiMultipli and announces it. A run that
// compared no sample gets a result table with its header row only.
void ScriviHTMLMultiplo(StatoVorlane& stato, Porta& porta);

}  // namespace vorlane
