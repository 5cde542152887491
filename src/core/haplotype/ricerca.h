#pragma once
// The haplotype search: the row of a table that lists the most of a sample's mutated positions.

#include <string>
#include <string_view>

#include "haplotype/tabelle.h"
#include "stato/indice_aplotipi.h"
#include "stato/stato.h"

namespace vorlane {

// The name of the chosen row of the first table (empty when none).
std::string RicercaAplotipo(const Contesto& contesto, std::string_view posizioniMutate);
// The same on either table.
std::string ricercaAplotipo(const Contesto& contesto, const TabellaAplotipi& tabella,
                            std::string_view posizioniMutate);

}  // namespace vorlane
