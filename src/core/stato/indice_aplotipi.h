#pragma once
// The index of a haplotype table, which start-up builds with the table and every search reads.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "stato/griglia.h"

namespace vorlane {

// A haplotype table turned around for searching: for each token text, the set of rows that list
// it. Built once, when the table is loaded, it makes a search cost one lookup per sample token
// instead of a scan of the grid. Copies share what the table says and keep scores of their own:
// a search on each of the engine's threads searches on its own copy.
class IndiceAplotipi {
 public:
  IndiceAplotipi() : IndiceAplotipi(GrigliaAplotipi()) {}  // a table with no rows
  explicit IndiceAplotipi(const GrigliaAplotipi& griglia);

  // Row chosen for the "," separated tokens of `posizioniMutate`: the one that lists most of
  // them (a token given twice counts twice), the earlier one on a tie; 0 when no row lists any.
  // Rows from the first one with an empty name on, and cells from a row's first empty one on,
  // are not part of the table.
  int cerca(std::string_view posizioniMutate);
  // The same for positions given as numbers, as the multiple comparison lists them: it spares
  // writing and reading back the digits of a hundred thousand samples' positions.
  int cerca(const std::vector<int>& posizioni);
  // Name of a row; empty for row 0.
  const std::string& nome(int riga) const { return tavola_->nomi[static_cast<std::size_t>(riga)]; }

 private:
  // Sets of rows, one bit per row, in blocks of 128 rows that one vector instruction handles
  // (SSE2, NEON); a set is `blocchi` blocks, one after the other in `insiemi`. A token of the
  // motif table can be listed by a hundred rows: adding its set to the scores costs a few
  // block operations instead of a hundred increments.
  using Blocco = std::uint64_t __attribute__((vector_size(16)));
  struct HashTesto {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  // What the table says, which no search changes: built once and shared by the copies of the
  // index that search on the engine's threads, each with its own scores.
  struct Tavola {
    std::vector<std::string> nomi;
    std::size_t blocchi = 0;
    std::vector<Blocco> insiemi;
    // Where a token's set starts in `insiemi`, by the token's text; and for the tokens that are
    // plain position numbers ("16223", not "016223"), by the position too: the sample's tokens
    // are such numbers, and reading one costs less than hashing it.
    std::unordered_map<std::string, std::size_t, HashTesto, std::equal_to<>> perTesto;
    std::vector<std::ptrdiff_t> perPosizione;
  };
  static void aggiungiRiga(Tavola& tavola, const GrigliaAplotipi& griglia, int riga);
  const Blocco* insieme(std::string_view token) const;
  const Blocco* insiemePosizione(long p) const;
  static bool qualcuna(Blocco blocco) { return (blocco[0] | blocco[1]) != 0; }
  void inizia(std::size_t token);
  void conta(const Blocco* righe);
  int migliore();

  std::shared_ptr<const Tavola> tavola_;
  // The scores of all rows, in binary: plane b, from piani_[b * blocchi], holds bit b of every
  // row's score. A search uses as many planes as its token count has binary digits, as no row
  // can score more than that count.
  std::vector<Blocco> piani_;
  std::size_t pianiUsati_ = 0;
  // Working sets kept between searches: the carry of an addition, the rows still in the running.
  std::vector<Blocco> riporto_, candidate_, conBit_;
};

}  // namespace vorlane
