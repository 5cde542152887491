// The work in batches: batches of two samples, so that the input, repeated to at least 4 KiB,
// holds several batches worked on the engine's threads the way a file of megabytes is, by every
// operation, as a sample file and as a table. The properties of eseguiTutte hold on every run.
#include <string>

#include "app/operazioni.h"
#include "sequence/lavoro_campioni.h"
#include "stato/parametri.h"
#include "supporto_fuzz.h"

using namespace vorlane;

namespace {
constexpr std::size_t kRipetuto = 4096;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  if (n == 0) return 0;
  campioniPerLotto() = 2;
  auto& l = fuzz::lavoro();
  SettaValoriBase(l.stato);
  l.porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, "16001");
  l.porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, "16400");
  l.porta.impostaTesto(Controllo::Text_posMutazione, "16189,16223,16311");
  Text_posMutazione_Change(l.stato, l.porta);
  std::string grande;
  while (grande.size() < kRipetuto) grande.append(reinterpret_cast<const char*>(dati), n);
  fuzz::scriviTesto(l.stato.cartellaEsporta / "grande.FASTA", grande);
  fuzz::scriviTesto(l.stato.cartellaEsporta / "grande.ARL", grande);
  fuzz::scriviTesto(l.stato.cartellaDati / "lotti.txt", grande);
  fuzz::eseguiTutte(l, "grande", "lotti");
  return 0;
}
