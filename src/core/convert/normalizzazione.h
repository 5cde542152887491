#pragma once
// Normalisation: a mutation table of the data folder becomes a FASTA or Arlequin file in the
// export folder, every sample rebuilt over the whole interval from the reference and its tokens.

#include <string>
#include <string_view>

#include "base/esito.h"
#include "base/porta.h"
#include "convert/tabella.h"
#include "stato/stato.h"

namespace vorlane {

// Code 20: NormalizzaFasta when tipoFile is "FASTA", NormalizzaArlequin otherwise.
Esito Normalizza(StatoVorlane& stato, Porta& porta);
Esito NormalizzaFasta(StatoVorlane& stato, Porta& porta);
Esito NormalizzaArlequin(StatoVorlane& stato, Porta& porta);

// Rebuilds samples over the interval from the reference and their token lists; prepared once
// per run for row after row.
class Ricostruzione {
 public:
  Ricostruzione(const std::string& riferimento, Intervallo intervallo);
  // Characters of a rebuilt sample: the interval's, none when it is not within the reference.
  std::size_t lunghezza() const { return minuscolo_.size(); }
  // Writes at p, in lunghezza() characters, the reference over the interval (lower case) with
  // the mutations of the token list in place (upper case); a later token for a position
  // replaces an earlier one.
  void scrivi(char* p, std::string_view mutazioni) const;
  // The reference over the interval, lower case, and the interval's first position.
  std::string_view riferimento() const { return minuscolo_; }
  int inizio() const { return inizio_; }

 private:
  std::string minuscolo_;
  std::string partner_;  // the transition partner of each position, 0 for none
  int inizio_, fine_;
};

}  // namespace vorlane
