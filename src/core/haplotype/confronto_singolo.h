#pragma once
// The comparison of one loaded sample with the reference: its log block, shown at the end, and
// its report.

#include "base/esito.h"
#include "base/porta.h"
#include "haplotype/tabelle.h"
#include "sequence/campioni.h"
#include "sequence/caricamento.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// Compares the loaded sample `caricato` with the reference, searches `tabella`, writes and shows
// the log block, writes the report (ScriviHTML). `letto` is the sample as read: an aligned
// comparison places it again on its own. `caricato` is left with its marks, count and haplotype.
void confrontaCampionamentoSingolo(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                                   const TabellaAplotipi& tabella, const Campione& letto,
                                   CampioneCaricato& caricato);

// What a double-click runs for codes 60 (first table) and 80 (motif table): title line,
// loading of the chosen file, the comparison.
Esito OperazioneConfrontoSingolo(StatoVorlane& stato, Porta& porta, const Caselle& caselle);
Esito OperazioneConfrontoSingoloNew(StatoVorlane& stato, Porta& porta, const Caselle& caselle);

}  // namespace vorlane
