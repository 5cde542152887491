// Sample files as each operation reads them: the input is the file double-clicked for the
// mutation check, the conversions, the single and the multiple comparisons, in both layouts.
// Every operation must end in an orderly way or in the error report, never crash.
#include "app/operazioni.h"
#include "log/registro.h"
#include "stato/parametri.h"
#include "supporto_fuzz.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  auto& l = fuzz::lavoro();
  std::filesystem::remove(percorsoRegistro(l.stato));  // keeps the day's log from growing
  fuzz::scriviIngresso(l.stato.cartellaEsporta / "fuzz.FASTA", dati, n);
  fuzz::scriviIngresso(l.stato.cartellaEsporta / "fuzz.ARL", dati, n);
  l.porta.impostaTesto(Controllo::Text_posMutazione, "16189,16223, 16311");
  Text_posMutazione_Change(l.stato, l.porta);
  for (Comando c : {Comando::ControlloMutazioni, Comando::ConvertiInTabella,
                    Comando::ConfrontaSingolo, Comando::ConfrontaMultiploNew}) {
    for (std::int16_t opzione : {0, 1}) {
      PreparaOperazione(l.stato, l.porta, c);
      Option_TipoFileSequenza_Click(l.stato, opzione);
      File_Sequenza_DblClick(l.stato, l.porta, opzione ? "fuzz.ARL" : "fuzz.FASTA");
    }
  }
  return 0;
}
