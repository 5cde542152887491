// Mutation tables as the normalisation reads them, into both layouts.
#include "app/operazioni.h"
#include "supporto_fuzz.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  auto& l = fuzz::lavoro();
  fuzz::scriviIngresso(l.stato.cartellaDati / "fuzz.txt", dati, n);
  for (std::int16_t opzione : {0, 1}) {
    PreparaOperazione(l.stato, l.porta, Comando::Normalizza);
    Option_TipoFileSequenza_Click(l.stato, opzione);
    File_Sequenza_DblClick(l.stato, l.porta, "fuzz.txt");
  }
  return 0;
}
