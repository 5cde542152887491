#pragma once
// Table conversion: a FASTA or Arlequin file of samples becomes a mutation table in the data
// folder, one row per sample listing where it differs from the reference over the interval.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/esito.h"
#include "base/porta.h"
#include "convert/tabella.h"
#include "convert/token.h"
#include "stato/parametri.h"
#include "stato/stato.h"
#include "text/blocchi.h"

namespace vorlane {

// Code 40 and code 50. A declined overwrite question and the stop at an Arlequin line without
// TAB end as Esito::interrotta.
Esito ConvertiFASTAinTabella(StatoVorlane& stato, Porta& porta, const Caselle& caselle);
Esito ConvertiARLinTabella(StatoVorlane& stato, Porta& porta, const Caselle& caselle);

// The reference over the interval, prepared once per run for comparing sample after sample.
class ConfrontoRiferimento {
 public:
  // With `ignoraN` a sample N never differs. `avx2` compares 32 characters per instruction; only
  // the tests turn it off where the processor has it.
  ConfrontoRiferimento(const std::string& riferimento, Intervallo intervallo, bool ignoraN,
                       bool avx2 = avx2Disponibile());
  // Writes at p, each followed by "-", the tokens of the positions where `sequenza` (its first
  // character at the start of the interval) differs from the reference: the position for a
  // transition, the position and the upper-case sample character otherwise. Characters beyond
  // the interval are ignored. Returns the end of what was written, which takes at most
  // spazioMassimo(sequenza.size()) bytes.
  char* scriviMutazioni(char* p, std::string_view sequenza) const;
  std::size_t spazioMassimo(std::size_t lunghezza) const {
    return std::min(lunghezza, posizioni_.size()) * sizeof(TokenPosizione);
  }
  // The same tokens appended to `riga`.
  void aggiungiMutazioni(std::string& riga, std::string_view sequenza) const;

 private:
  // The run's tables as plain pointers, copied onto the stack for a run of tokens: tokens are
  // written through a char pointer, which may alias any member, so members read in the loop
  // would be loaded again for every token.
  struct Tavole {
    const char* minuscolo;
    const char* piega;
    const char* maiuscole;  // upper case of each byte
    const TokenPosizione* posizioni;
    char ignorato;  // the sample character that never differs: N, or one upper case never gives
  };
  Tavole tavole() const;
  // Writes at p the token of position k when `carattere` differs from the reference there and
  // returns its end; p itself otherwise. Up to sizeof(TokenPosizione) bytes at p are overwritten.
  static char* scriviToken(char* p, std::size_t k, char carattere, const Tavole& t);

  // The reference as it is.
  std::string minuscolo_;
  // 0x20 where the reference holds a letter a-z: OR-ed into a sample character it folds an
  // upper-case letter onto the lower case, and leaves anything that could not match it unmatched.
  std::string piega_;
  // Each position's token, ready to be written.
  std::vector<TokenPosizione> posizioni_;
  char ignorato_;
  bool avx2_;
};

}  // namespace vorlane
