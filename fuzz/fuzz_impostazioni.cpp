// The settings file: every key read from arbitrary text, values never longer than 127.
#include <cstdlib>

#include "base/errore.h"
#include "stato/parametri.h"
#include "supporto_fuzz.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  auto& l = fuzz::lavoro();
  auto file = fuzz::scriviIngresso(l.cartella / "fuzz.ini", dati, n);
  for (const char* chiave : {"InizioSequenza", "caratteriPermessi", "posMutazione"}) {
    std::string v = LeggiIni(file, chiave, chiave, "d");
    if (v.size() > 127) std::abort();
  }
  return 0;
}
