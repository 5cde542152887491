#pragma once
// A variant of a sample or of a haplogroup relative to the rCRS, in PhyloTree's notation:
// 16519C (substitution), 523d (deletion), 315.1C (the first base inserted after 315).

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

struct Variante {
  int posizione = 0;
  int inserzione = 0;  // 0 for a substitution or a deletion, k (1-63) for the k-th inserted base
  char base = 'A';     // upper case; kDelezione for a deletion

  static constexpr char kDelezione = '-';
  bool delezione() const { return base == kDelezione; }
  // Position and insertion index: the site whose changes in the tree set the variant's weight.
  int sito() const { return posizione * 64 + inserzione; }
  auto operator<=>(const Variante&) const = default;
};

// "16519": a position of the rCRS, 1-16569, in digits alone; empty otherwise.
std::optional<int> leggiPosizione(std::string_view testo);

// "16519C", "16519c", "523d", "523DEL", "315.1C"; empty when the text is none of these or the
// position is outside 1-16569. A multi-base insertion ("8289.1CCT") is several variants and is
// refused here.
std::optional<Variante> leggiVariante(std::string_view testo);
// The variant in the notation above, upper case, deletions as "d".
std::string testoVariante(const Variante& v);
// The same appended to `testo`.
void aggiungiVariante(std::string& testo, const Variante& v);

}  // namespace vorlane
