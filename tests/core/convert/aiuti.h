#pragma once
// Running the conversion and the normalisation as the user does: command, option, double-click.

#include <cctype>
#include <string>

#include "app/operazioni.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {

inline EsitoEvento eseguiComando(Ambiente& a, Comando comando, bool arlequin,
                                 const std::filesystem::path& file) {
  PreparaOperazione(a.stato, a.porta, comando);
  Option_TipoFileSequenza_Click(a.stato, arlequin ? 1 : 0);
  return File_Sequenza_DblClick(a.stato, a.porta, file);
}

// The reference over da..a in upper case, as a sample file would hold it.
inline std::string campioneRiferimento(const StatoVorlane& stato, int da, int a) {
  std::string s = stato.sequenzaRiferimento.substr(static_cast<std::size_t>(da),
                                                   static_cast<std::size_t>(a - da + 1));
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Sets the base at position p of a sample that starts at `da`.
inline void muta(std::string& campione, int da, int p, char base) {
  campione[static_cast<std::size_t>(p - da)] = base;
}

inline char riferimentoMaiuscolo(const StatoVorlane& stato, int p) {
  return static_cast<char>(std::toupper(
      static_cast<unsigned char>(stato.sequenzaRiferimento[static_cast<std::size_t>(p)])));
}

inline void impostaIntervallo(Ambiente& a, int da, int fine) {
  a.stato.impostazioni.InizioSequenza = std::to_string(da);
  a.stato.impostazioni.FineSequenza = std::to_string(fine);
}

}  // namespace vorlane::test
