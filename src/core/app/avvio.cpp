#include "app/avvio.h"

#include <signal.h>

#include "app/segnalazione.h"
#include "base/errore.h"
#include "haplotype/tabelle.h"
#include "io/errore_file.h"
#include "sequence/riferimento.h"
#include "stato/messaggi.h"
#include "stato/parametri.h"
#include "text/testo.h"

namespace vorlane {
namespace {

void creaCartelle(StatoVorlane& stato) {
  stato.registro.impostaCartella(stato.cartellaCorrente / "log");
  stato.cartellaHtml = stato.cartellaCorrente / "html";
  stato.cartellaDati = stato.cartellaCorrente / "dati";
  stato.cartellaEsporta = stato.cartellaCorrente / "esporta";
  stato.cartellaRisultati = stato.cartellaCorrente / "risultati";
  for (const std::filesystem::path* c : std::initializer_list<const std::filesystem::path*>{
           &stato.registro.cartella(), &stato.cartellaHtml, &stato.cartellaDati,
           &stato.cartellaEsporta, &stato.cartellaRisultati}) {
    std::error_code ec;
    if (std::filesystem::is_directory(*c, ec)) continue;
    if (!std::filesystem::create_directory(*c, ec) || ec)
      throw erroreFile("impossibile creare la cartella", *c, ec.value());
  }
}

void riempiCaselle(StatoVorlane& stato, Porta& porta) {
  const Impostazioni& imp = stato.impostazioni;
  porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, imp.InizioSequenza);
  porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, imp.FineSequenza);
  porta.impostaTesto(Controllo::Text_posMutazione, imp.posMutazione);
  Text_posMutazione_Change(stato, porta);
}

}  // namespace

bool Avvio(StatoVorlane& stato, Porta& porta, const std::filesystem::path& cartella) {
  // Past a file-size limit (ulimit -f) a write fails with EFBIG, reported as any failed write
  // ("file troppo grande"), instead of the signal ending the program.
  ::signal(SIGXFSZ, SIG_IGN);
  bool inizializzato = false;
  bool ok = eseguiEvento(stato, porta, "Form_Load", [&] {
    stato.cartellaCorrente = cartella;
    CaricaMessaggi(stato);
    creaCartelle(stato);
    std::error_code ec;
    if (!std::filesystem::exists(stato.cartellaCorrente / kFileParametri, ec)) {
      SettaValoriBase(stato);
      ScriviFileParametri(stato);
    }
    inizializzato = InizializzaValori(stato, porta);
    if (!inizializzato) return;
    stato.posizioniDaRileggere = true;
    stato.caratteriValidi = dividi(stato.impostazioni.caratteriPermessi, ',');
    riempiCaselle(stato, porta);
    CaricaSequenzaRiferimento(stato, porta);
    CaricaAplotipiUmani(stato);
    CaricaAplotipiUmaniNew(stato);
    stato.scelta.tipoFile = "FASTA";
    porta.impostaTesto(Controllo::Lbl_Titolo, stato.messaggi[msg::regioneControlloUmana] + "\r\n" +
                                                  stato.messaggi[msg::scegliereComando]);
  });
  return ok && inizializzato;
}

}  // namespace vorlane
