#pragma once
// The comparison table of a multiple run: summary and one row per compared sample.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/porta.h"
#include "haplotype/report_comune.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// One row of the multiple comparison's results, kept whole so that an identifier holding "|"
// cannot shift the page's columns.
struct RisultatoCampione {
  std::string identificativo;
  std::string aplotipo;
  double numeroMutazioni = 0;
  std::string aplogruppoAlbero;  // the whole tree's call, as the log block gives it
};
// A run's results, in the file's order.
using RisultatiMultipli = std::vector<RisultatoCampione>;

// The page of a multiple run, written while its samples are compared so that writing it
// overlaps the comparison: the summary and the table's header when it is made, the rows of each
// piece's results as the piece is handed on (made on the piece's own thread by `righe`), the
// rows of every result not yet in it when it is concluded.
class PaginaMultiplo {
 public:
  PaginaMultiplo(const StatoVorlane& stato, const Caselle& caselle);
  // The rows of `risultati`, into a piece's text.
  static void righe(ScrittoreTesto& testo, std::span<const RisultatoCampione> risultati);
  // A piece's rows, for the `quanti` results from index `primo` of the run's. Rows that do not
  // follow those already in the page are left to `concludi`.
  void accoda(std::string_view righe, std::size_t primo, std::size_t quanti);
  // The rows of the run's `risultati` not yet in the page, the end of the table and of the page,
  // which takes the place of any earlier one and is announced.
  void concludi(const StatoVorlane& stato, Porta& porta,
                std::span<const RisultatoCampione> risultati);

 private:
  PaginaConfronto pagina_;
  std::size_t scritti_ = 0;  // results whose rows are in the page
};

// Writes html/Confronto_<file name>.htm from a run's `risultati` and announces it. A run that
// compared no sample gets a result table with its header row only.
void ScriviHTMLMultiplo(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                        std::span<const RisultatoCampione> risultati);

}  // namespace vorlane
