// The work in pieces: the input is repeated until the file passes the size from which the
// operations cut it into pieces on two processors (3 MiB), then every operation runs on it as a
// sample file and as a table. The properties of eseguiTutte hold on every run.
#include <string>

#include "app/operazioni.h"
#include "app/parametri.h"
#include "sequence/pezzi.h"
#include "supporto_fuzz.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  if (n == 0) return 0;
  auto& l = fuzz::lavoro();
  SettaValoriBase(l.stato);
  l.porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, "16001");
  l.porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, "16400");
  l.porta.impostaTesto(Controllo::Text_posMutazione, "16189,16223,16311");
  Text_posMutazione_Change(l.stato, l.porta);
  std::string grande;
  grande.reserve(2 * kPezzo + 2 * n);
  while (!daTagliare(grande.size())) grande.append(reinterpret_cast<const char*>(dati), n);
  fuzz::scriviTesto(l.stato.cartellaEsporta / "grande.FASTA", grande);
  fuzz::scriviTesto(l.stato.cartellaEsporta / "grande.ARL", grande);
  fuzz::scriviTesto(l.stato.cartellaDati / "pezzi.txt", grande);
  fuzz::eseguiTutte(l, "grande", "pezzi");
  return 0;
}
