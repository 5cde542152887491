#pragma once
// Normalisation: a mutation table of the data folder becomes a FASTA or Arlequin file in the
// export folder, every sample rebuilt over the whole interval from the reference and its tokens.

#include <string>
#include <string_view>

#include "app/operazioni.h"
#include "app/porta.h"
#include "app/stato.h"
#include "convert/tabella.h"

namespace vorlane {

// Code 20: NormalizzaFasta when tipoFile is "FASTA", NormalizzaArlequin otherwise.
Esito Normalizza(StatoVorlane& stato, Porta& porta);
Esito NormalizzaFasta(StatoVorlane& stato, Porta& porta);
Esito NormalizzaArlequin(StatoVorlane& stato, Porta& porta);

// Puts the reference over the interval into `sequenza` (lower case) and the mutations of the
// token list in place (upper case); a later token for a position replaces an earlier one.
void ricostruisciSequenza(std::string& sequenza, std::string_view mutazioni,
                          const std::string& riferimento, Intervallo intervallo);

}  // namespace vorlane
