#pragma once
// The haplotype search: the row of a table that lists the most of a sample's mutated positions.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/stato.h"
#include "haplotype/griglia.h"
#include "haplotype/tabelle.h"

namespace vorlane {

// A table turned around for searching: for each token text, the set of rows that list it. Built
// once per run, it makes a search cost one lookup per sample token instead of a scan of the grid.
class IndiceAplotipi {
 public:
  explicit IndiceAplotipi(const GrigliaAplotipi& griglia);

  // Row chosen for the "," separated tokens of `posizioniMutate`: the one that lists most of
  // them (a token given twice counts twice), the earlier one on a tie; 0 when no row lists any.
  // Rows from the first one with an empty name on, and cells from a row's first empty one on,
  // are not part of the table.
  int cerca(std::string_view posizioniMutate);
  // Name of a row; empty for row 0.
  const std::string& nome(int riga) const { return nomi_[static_cast<std::size_t>(riga)]; }

 private:
  // One bit per row. A token of the motif table can be listed by a hundred rows: adding its set
  // to the scores costs a few word operations instead of a hundred increments.
  using InsiemeRighe = std::vector<std::uint64_t>;
  struct HashTesto {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  void aggiungiRiga(const GrigliaAplotipi& griglia, int riga);
  void conta(const InsiemeRighe& righe);
  int migliore();

  std::vector<std::string> nomi_;
  std::size_t parole_ = 0;  // words of an InsiemeRighe
  std::unordered_map<std::string, InsiemeRighe, HashTesto, std::equal_to<>> righe_;
  // The scores of all rows, in binary: piani_[b] holds bit b of every row's score. The planes
  // past pianiUsati_ are zero.
  std::vector<InsiemeRighe> piani_;
  std::size_t pianiUsati_ = 0;
  InsiemeRighe candidate_, conBit_;  // migliore's working sets, kept between searches
};

// Sets aplotipoTrovato to the name of the chosen row of the first table (empty when none).
void RicercaAplotipo(StatoVorlane& stato, std::string_view posizioniMutate);
// The same on the motif table.
void RicercaAplotipoNew(StatoVorlane& stato, std::string_view posizioniMutate);
// The same on either table.
void ricercaAplotipo(StatoVorlane& stato, const TabellaAplotipi& tabella,
                     std::string_view posizioniMutate);

}  // namespace vorlane
