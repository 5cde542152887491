#pragma once
// The colour legend of the single-comparison report.

#include "app/stato.h"
#include "text/scrittura.h"

namespace vorlane {

// A table with the title messaggi(85) over three cells: the colours of a base equal to the
// reference (86), of a mutated position (87) and of the page (88).
void scriviLegendaConfronto(ScrittoreTesto& pagina, const StatoVorlane& stato);

}  // namespace vorlane
