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

// "16519C", "16519c", "523d", "523DEL", "315.1C"; empty when the text is none of these or the
// position is outside 1-16569. A multi-base insertion ("8289.1CCT") is several variants and is
// refused here.
std::optional<Variante> leggiVariante(std::string_view testo);
// The variant in the notation above, upper case, deletions as "d".
std::string testoVariante(const Variante& v);
// The same appended to `testo`.
void aggiungiVariante(std::string& testo, const Variante& v);

// Sites that change so often, or are aligned so differently from one sample to the next, that
// a match or a miss there says nothing of the lineage: the insertions in the HV2 C tract
// (309.1C, 309.2C, 310.1T, 315.1C) and after 16193, the AC repeat's indels at 523-524, the
// substitutions at 16182, 16183 and 16519, and 3107, which the rCRS keeps only as a placeholder.
// The classifier leaves them out of both the sample and the haplogroups.
bool puntoCaldo(const Variante& v);

}  // namespace vorlane
