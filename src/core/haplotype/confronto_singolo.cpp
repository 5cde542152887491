#include "haplotype/confronto_singolo.h"

#include "app/errore.h"
#include "haplotype/confronto.h"
#include "haplotype/report_singolo.h"
#include "haplotype/ricerca.h"
#include "log/registro.h"
#include "sequence/caricamento.h"
#include "text/testo.h"

namespace vorlane {
namespace {

void intestazione(const StatoVorlane& stato, const Porta& porta, BloccoRegistro& blocco) {
  const auto& m = stato.messaggi;
  const Impostazioni& imp = stato.impostazioni;
  const std::string numeroDa = inUnaRiga(imp.NumeroMutazioniDa);
  const std::string numeroA = inUnaRiga(imp.NumeroMutazioniA);
  blocco.riga(rigaInizioBlocco(stato));
  blocco.riga(m[22], "          : ", stato.citazioneRiferimento);
  blocco.riga(m[23], "      : ", inUnaRiga(testoPercorso(stato.fileCampione)));
  blocco.riga(m[27], "          : ", m[14], " ", numeroDa, " ", m[15], " ", numeroA);
  blocco.riga(m[28], "     : ", inUnaRiga(porta.testo(Controllo::Text_posMutazione)));
  blocco.riga(m[24], "       : ", testoNumero(stato.numeroMutazioni));
  blocco.riga(m[31], "          : da ", numeroDa, " a ", numeroA);
  blocco.riga(m[29], "          : da ",
              inUnaRiga(porta.testo(Controllo::Text_PosizioneMutazioneDa)), " a ",
              inUnaRiga(porta.testo(Controllo::Text_PosizioneMutazioneA)));
  blocco.riga(m[30], "        : da ", inUnaRiga(imp.PercentoDa), " a ", inUnaRiga(imp.PercentoA));
}

// Lists the mutations of the interval when the sample's count is within the settings' range.
void elenca(const StatoVorlane& stato, const RegoleConfronto& regole, ElencoMutazioni& elenco,
            BloccoRegistro& blocco) {
  if (!regole.elenca(stato.numeroMutazioni) || regole.primo > regole.ultimo) return;
  elencaMutazioni(stato, static_cast<std::size_t>(regole.primo),
                  static_cast<std::size_t>(regole.ultimo), elenco, blocco);
  if (!elenco.parziale().empty()) blocco.riga(kRigaMutazioni, elenco.parziale());
}

}  // namespace

void confrontaCampionamentoSingolo(StatoVorlane& stato, Porta& porta,
                                   const TabellaAplotipi& tabella) {
  procedura(tabella.confrontoSingolo, [&] {
    RegoleConfronto regole = regoleConfronto(stato, porta);
    azzeraMarche(stato);
    segnaMutazioni(stato, 1, kUltimaPosizione);
    BloccoRegistro blocco;
    intestazione(stato, porta, blocco);
    ElencoMutazioni elenco;
    elenca(stato, regole, elenco, blocco);
    ricercaAplotipo(stato, tabella, elenco.posizioni);
    blocco.riga(stato.messaggi[55], "                      : ", inUnaRiga(stato.aplotipoTrovato));
    if (stato.numeroMutazioni > 0)
      blocco.riga(stato.messaggi[31], "         : ",
                  percentualeMutazioni(elenco.quante, stato.numeroMutazioni));
    blocco.scrivi(stato);
    porta.puntatoreOccupato(false);
    VisualizzaLogOperazioni(stato, porta);
  });
  ScriviHTML(stato, porta);
}

void ConfrontaCampionamentoSingolo(StatoVorlane& stato, Porta& porta) {
  confrontaCampionamentoSingolo(stato, porta, kTabellaPrincipale);
}

void ConfrontaCampionamentoSingoloNew(StatoVorlane& stato, Porta& porta) {
  confrontaCampionamentoSingolo(stato, porta, kTabellaMotivi);
}

namespace {
Esito operazioneConfrontoSingolo(StatoVorlane& stato, Porta& porta,
                                 const TabellaAplotipi& tabella) {
  porta.impostaTesto(Controllo::Lbl_Titolo, stato.messaggi[tabella.titoloSingolo]);
  CaricaSequenzaDati(stato, porta);
  confrontaCampionamentoSingolo(stato, porta, tabella);
  return Esito::completata;
}
}  // namespace

Esito OperazioneConfrontoSingolo(StatoVorlane& stato, Porta& porta) {
  return operazioneConfrontoSingolo(stato, porta, kTabellaPrincipale);
}

Esito OperazioneConfrontoSingoloNew(StatoVorlane& stato, Porta& porta) {
  return operazioneConfrontoSingolo(stato, porta, kTabellaMotivi);
}

}  // namespace vorlane
