// Every operation with fuzzed settings, position list and interval. The input's first lines are
// InizioSequenza, FineSequenza, posMutazione, NumeroMutazioniDa, NumeroMutazioniA and
// caratteriPermessi (as start-up would read them, and as the boxes then show them); the rest is
// the sample file and the table the operations read. The properties of eseguiTutte hold on
// every run.
#include <string>
#include <string_view>

#include "app/operazioni.h"
#include "stato/parametri.h"
#include "supporto_fuzz.h"
#include "text/testo.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  auto& l = fuzz::lavoro();
  std::string_view resto(reinterpret_cast<const char*>(dati), n);
  Impostazioni& imp = l.stato.impostazioni;
  SettaValoriBase(l.stato);
  for (std::string* valore :
       {&imp.InizioSequenza, &imp.FineSequenza, &imp.posMutazione, &imp.NumeroMutazioniDa,
        &imp.NumeroMutazioniA, &imp.caratteriPermessi}) {
    std::size_t fine = resto.find('\n');
    if (fine == std::string_view::npos) break;
    // A settings value is read trimmed and at most 127 characters long.
    *valore = std::string(senzaSpazi(resto.substr(0, fine)).substr(0, 127));
    resto.remove_prefix(fine + 1);
  }
  l.stato.caratteriValidi = dividi(imp.caratteriPermessi, ',');
  l.porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, imp.InizioSequenza);
  l.porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, imp.FineSequenza);
  l.porta.impostaTesto(Controllo::Text_posMutazione, imp.posMutazione);
  Text_posMutazione_Change(l.stato, l.porta);
  fuzz::scriviTesto(l.stato.cartellaEsporta / "fuzz.FASTA", resto);
  fuzz::scriviTesto(l.stato.cartellaEsporta / "fuzz.ARL", resto);
  fuzz::scriviTesto(l.stato.cartellaDati / "tabella.txt", resto);
  fuzz::eseguiTutte(l, "fuzz", "tabella");
  return 0;
}
