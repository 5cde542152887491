#pragma once
// Loading one sample into the per-position table, the allowed-character test, and the list of
// positions the mutation check examines.

#include <string_view>

#include "base/porta.h"
#include "sequence/alfabeto.h"
#include "sequence/campioni.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// Whether `carattere` is in caratteriValidi, without regard to case.
bool CarattereValido(const StatoVorlane& stato, char carattere);
// Lower-case character, or "?" when it is not allowed.
char carattereCampione(const StatoVorlane& stato, char carattere);

// carattereCampione of every byte, for loaders that store many characters.
TabellaCaratteri tabellaCaratteri(const StatoVorlane& stato);

// Empties sequenzaCampione: 16,570 blanks (positions 0..16569).
void azzeraSequenzaCampione(StatoVorlane& stato);
// Stores `testo` from position `da` on, not beyond `a`; returns the position after the last
// one stored. A position outside 0..16569 is an error.
double memorizzaSequenza(StatoVorlane& stato, std::string_view testo, double da, double a);
double memorizzaSequenza(StatoVorlane& stato, const TabellaCaratteri& caratteri,
                         std::string_view testo, double da, double a);
// The same into a store of 16,570 characters other than the state's.
double memorizzaSequenza(std::string& sequenza, const TabellaCaratteri& caratteri,
                         std::string_view testo, double da, double a);

// Loads the chosen file's first sample over the interval of the two boxes, character k at the
// interval's start + k - 1: a ">" header and the lines up to the next one, joined; or a line
// with a TAB, its sequence the text after the last TAB. `campione` gets the sample as read.
void CaricaSequenzaDati(StatoVorlane& stato, const Caselle& caselle, Campione& campione);

// Splits the position box into listaPosizioni the first time after start-up, and after an edit.
void AggiornaMAT_BASI(StatoVorlane& stato, const Caselle& caselle);

}  // namespace vorlane
