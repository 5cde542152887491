#pragma once
// Normalisation: a mutation table of the data folder becomes a FASTA or Arlequin file in the
// export folder, every sample rebuilt over the whole interval from the reference and its tokens.

#include <compare>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/esito.h"
#include "base/porta.h"
#include "convert/tabella.h"
#include "sequence/variante.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// Code 20: NormalizzaFasta when tipoFile is "FASTA", NormalizzaArlequin otherwise.
Esito Normalizza(StatoVorlane& stato, Porta& porta, const Caselle& caselle);
Esito NormalizzaFasta(StatoVorlane& stato, Porta& porta);
Esito NormalizzaArlequin(StatoVorlane& stato, Porta& porta);

// An insertion column of the rebuilt samples: the k-th base inserted after a position.
struct ColonnaInserita {
  int dopo = 0;
  int indice = 0;
  auto operator<=>(const ColonnaInserita&) const = default;
};

// Rebuilds samples over the interval from the reference and their token lists; prepared once
// per run for row after row. The interval may run across the origin; every insertion any row
// has is a column of every rebuilt sample, "-" in the rows that do not have it, so that the
// samples stay aligned with one another.
class Ricostruzione {
 public:
  Ricostruzione(const std::string& riferimento, Intervallo intervallo,
                const std::vector<ColonnaInserita>& inserite = {});
  // Characters of a rebuilt sample: the interval's and the insertion columns; none when the
  // interval is not within the reference.
  std::size_t lunghezza() const { return minuscolo_.size(); }
  // Writes at p, in lunghezza() characters, the reference over the interval (lower case) with
  // the mutations of the token list in place (upper case, "-" for a deletion); a later token for
  // a position replaces an earlier one.
  void scrivi(char* p, std::string_view mutazioni) const;
  // Whether the rebuilt sample is the reference's stretch from inizio() on, column by position:
  // no insertion column and no turn at the origin.
  bool semplice() const { return semplice_; }
  // The differences of a rebuilt sample from the reference, in the interval's order: each
  // position's, then those of the insertion columns after it.
  void differenze(std::string_view ricostruita, std::vector<Variante>& varianti) const;
  // The reference over the interval, lower case, and the interval's first position.
  std::string_view riferimento() const { return minuscolo_; }
  int inizio() const { return inizio_; }

 private:
  std::string minuscolo_;
  std::string partner_;        // the transition partner at each position's column, 0 for none
  std::vector<int> colonna_;   // each position's column, -1 outside the interval
  std::vector<int> inserite_;  // each position's number of insertion columns after it
  Intervallo intervallo_;
  int inizio_;
  bool semplice_ = true;
};

// The insertion columns of a table's rows over `intervallo`, in order; none, without reading
// the table's rows, when it holds no insertion token at all.
std::vector<ColonnaInserita> colonneInserite(const std::filesystem::path& tabella,
                                             const Intervallo& intervallo);

}  // namespace vorlane
