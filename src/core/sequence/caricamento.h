#pragma once
// Loading one sample into the per-position table, the allowed-character test, and the list of
// positions the mutation check examines.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// The sample a single comparison loads and compares, from which its log block, results table
// and page are made. Entry p of `sequenzaCampione` and of `marcaMutazioni` is position p; entry
// 0 holds nothing.
struct CampioneCaricato {
  std::string nome, frequenza;  // as its file gives them
  std::string sequenzaCampione = std::string(kUltimaPosizione + 1, ' ');
  double lunghezzaCampione = 0;  // the last position a comparison may mark
  // The bases it has inserted after a position, in its order, upper case.
  std::vector<std::pair<int, std::string>> inserzioni;
  std::vector<char> marcaMutazioni = std::vector<char>(kUltimaPosizione + 1, 0);  // '*': mutated
  double numeroMutazioni = 0;
  std::string aplotipoTrovato;  // the table's row that lists the most of its mutated positions
};

// Stores `testo` from position `da` on, not beyond `a`, into a sequence of 16,570 characters;
// returns the position after the last one stored. A position outside 0..16569 is an error.
double memorizzaSequenza(std::string& sequenza, const TabellaCaratteri& caratteri,
                         std::string_view testo, double da, double a);

// Loads the chosen file's first sample over the interval of the two boxes, character k at the
// interval's start + k - 1: a ">" header and the lines up to the next one, joined; or a line
// with a TAB, its sequence the text after the last TAB. `letto` gets the sample as read.
CampioneCaricato CaricaSequenzaDati(StatoVorlane& stato, const Caselle& caselle, Campione& letto);

// Splits the position box into listaPosizioni the first time after start-up, and after an edit.
void AggiornaMAT_BASI(StatoVorlane& stato, const Caselle& caselle);

}  // namespace vorlane
