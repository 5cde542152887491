#pragma once
// The comparison table of a multiple run: summary and one row per compared sample.

#include <cstddef>
#include <span>
#include <string_view>

#include "base/porta.h"
#include "haplotype/report_comune.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// The page of a multiple run, written while its samples are compared so that writing it
// overlaps the comparison: the summary and the table's header when it is made, the rows of each
// piece's results as the piece is handed on (made on the piece's own thread by `righe`), the
// rows of every result not yet in it when it is concluded.
class PaginaMultiplo {
 public:
  PaginaMultiplo(const StatoVorlane& stato, const Caselle& caselle);
  // The rows of `risultati`, into a piece's text.
  static void righe(ScrittoreTesto& testo, std::span<const RisultatoCampione> risultati);
  // A piece's rows, for the `quanti` results from index `primo` of risultatiMultipli. Rows that
  // do not follow those already in the page are left to `concludi`.
  void accoda(std::string_view righe, std::size_t primo, std::size_t quanti);
  // The rows of the results not yet in the page, the end of the table and of the page, which
  // takes the place of any earlier one and is announced.
  void concludi(const StatoVorlane& stato, Porta& porta);

 private:
  PaginaConfronto pagina_;
  std::size_t scritti_ = 0;  // results whose rows are in the page
};

// Writes html/Confronto_<file name>.htm from risultatiMultipli and announces it. A run that
// compared no sample gets a result table with its header row only.
void ScriviHTMLMultiplo(StatoVorlane& stato, Porta& porta, const Caselle& caselle);

}  // namespace vorlane
