#pragma once
// The multiple comparison's store of a sample over the analysis interval. A run stores a hundred
// thousand samples of a few hundred characters: looking each character up in the character table
// would cost more than the rest of the comparison.

#include <cstddef>
#include <string_view>

#include "sequence/caricamento.h"
#include "stato/stato.h"

namespace vorlane {

class MemoriaIntervallo {
 public:
  // The character table is taken from the state's allowed characters once per run. Blocks of
  // 32 characters are copied where the processor has AVX2, unless `avx2` is false (for the tests
  // that check both ways agree).
  MemoriaIntervallo(const StatoVorlane& stato, double da, double a, bool avx2 = true);

  // What memorizzaSequenza(sequenza, testo, da, a) does, and its return value. Several threads
  // may store at once, each into its own sequence.
  double memorizza(std::string& sequenza, std::string_view testo) const;
  const TabellaCaratteri& caratteri() const { return caratteri_; }

 private:
  void copia(char* destinazione, std::string_view testo) const;

  TabellaCaratteri caratteri_;
  double da_, a_;
  // Whether the interval starts on a whole position inside the sequence, which lets a sample be
  // copied as a block; and how many characters at most it takes then.
  bool intero_ = false;
  double massimo_ = 0;
  // Whether A, C, G, T in either case are allowed: they then store as their lower case, which
  // one OR gives for sixteen characters at a time.
  bool basiDirette_ = false;
  bool avx2_ = false;
};

}  // namespace vorlane
