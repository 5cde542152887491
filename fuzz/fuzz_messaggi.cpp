// The messages file: any input either loads or fails with ErroreVorlane.
#include "base/errore.h"
#include "stato/messaggi.h"
#include "supporto_fuzz.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  auto& l = fuzz::lavoro();
  auto file = fuzz::scriviIngresso(l.cartella / "fuzz_messaggi.txt", dati, n);
  StatoVorlane stato;
  try {
    caricaMessaggiDa(file, stato);
  } catch (const ErroreVorlane&) {
  }
  return 0;
}
