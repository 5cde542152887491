#include "haplotype/confronto_singolo.h"

#include <algorithm>
#include <vector>

#include "base/errore.h"
#include "haplotype/aplogruppo_albero.h"
#include "haplotype/confronto.h"
#include "haplotype/report_singolo.h"
#include "haplotype/ricerca.h"
#include "log/registro.h"
#include "report/html.h"
#include "report/risultati.h"
#include "sequence/caricamento.h"
#include "stato/messaggi.h"
#include "text/testo.h"

namespace vorlane {
namespace {

void intestazione(const StatoVorlane& stato, const Porta& porta, BloccoRegistro& blocco) {
  const auto& m = stato.messaggi;
  const Impostazioni& imp = stato.impostazioni;
  const std::string numeroDa = inUnaRiga(imp.NumeroMutazioniDa);
  const std::string numeroA = inUnaRiga(imp.NumeroMutazioniA);
  blocco.riga(rigaInizioBlocco(stato));
  blocco.riga(m[msg::sequenzaRiferimento], "          : ", stato.citazioneRiferimento);
  blocco.riga(m[msg::fileSequenzeAnalizzato], "      : ",
              inUnaRiga(testoPercorso(stato.fileCampione)));
  blocco.riga(m[msg::intervalloMutazioni], "          : ", m[msg::da], " ", numeroDa, " ",
              m[msg::a], " ", numeroA);
  blocco.riga(m[msg::listaPosizioniMutazione], "     : ",
              inUnaRiga(porta.testo(Controllo::Text_posMutazione)));
  blocco.riga(m[msg::mutazioniRilevate], "       : ", testoNumero(stato.numeroMutazioni));
  blocco.riga(m[msg::percentualeMutazioni], "          : da ", numeroDa, " a ", numeroA);
  blocco.riga(m[msg::intervalloPosizioni], "          : da ",
              inUnaRiga(porta.testo(Controllo::Text_PosizioneMutazioneDa)), " a ",
              inUnaRiga(porta.testo(Controllo::Text_PosizioneMutazioneA)));
  blocco.riga(m[msg::intervalloPercentuale], "        : da ", inUnaRiga(imp.PercentoDa), " a ",
              inUnaRiga(imp.PercentoA));
}

// Lists the mutations of the interval when the sample's count is within the settings' range.
void elenca(const StatoVorlane& stato, const RegoleConfronto& regole, ElencoMutazioni& elenco,
            BloccoRegistro& blocco) {
  if (!regole.elenca(stato.numeroMutazioni) || regole.primo > regole.ultimo) return;
  elencaMutazioni(stato, static_cast<std::size_t>(regole.primo),
                  static_cast<std::size_t>(regole.ultimo), elenco, blocco);
  if (!elenco.parziale().empty()) blocco.riga(kRigaMutazioni, elenco.parziale());
}

// The whole tree's call for the sample over the positions of the interval it covers, with the
// variants the call expects and the sample lacks, and those it has and the call does not expect.
Classificazione righeAlbero(const StatoVorlane& stato, const RegoleConfronto& regole,
                            BloccoRegistro& blocco) {
  const std::string& s = stato.sequenzaCampione;
  long primo = std::max(regole.primo, 1L), ultimo = std::min<long>(regole.ultimo, kUltimaPosizione);
  while (primo <= ultimo && s[static_cast<std::size_t>(primo)] == ' ') ++primo;
  while (ultimo >= primo && s[static_cast<std::size_t>(ultimo)] == ' ') --ultimo;
  if (primo > ultimo) return {};
  std::vector<int> segnate;
  for (long p = primo; p <= ultimo; ++p)
    if (stato.marcaMutazioni[static_cast<std::size_t>(p)] == '*')
      segnate.push_back(static_cast<int>(p));
  const ClassificatoreAplogruppi classificatore(
      alberoPhyloTree17(), Copertura({{static_cast<int>(primo), static_cast<int>(ultimo)}}));
  std::vector<Variante> varianti = variantiSegnate(s, segnate);
  Classificazione c = classificatore.classifica(varianti);
  ConfrontoAplogruppo differenze = classificatore.confronta(c.aplogruppo, varianti);
  blocco.riga(rigaAplogruppo(stato, testoAplogruppo(stato, c)));
  blocco.riga(rigaVarianti(stato.messaggi[msg::variantiAtteseAssenti], differenze.mancanti));
  blocco.riga(rigaVarianti(stato.messaggi[msg::variantiNonAttese], differenze.inattese));
  return c;
}

// The sample's row: every position it differs at, as the count of the block counts them.
void tabellaRisultati(StatoVorlane& stato, const Porta& porta, const Classificazione& albero) {
  std::vector<int> segnate;
  for (int p = 1; p <= kUltimaPosizione; ++p)
    if (stato.marcaMutazioni[static_cast<std::size_t>(p)] == '*') segnate.push_back(p);
  TabellaRisultati tabella(stato, "ConfrontoSingolo_" + nomeBaseReport(stato.fileCampione),
                           {kColonneCampione, kColonneConfronto});
  RigaRisultati riga;
  riga.campione(stato.fileCampione, stato.nomeCampione, stato.frequenzaCampione,
                testoIntervallo(porta.testo(Controllo::Text_PosizioneMutazioneDa),
                                porta.testo(Controllo::Text_PosizioneMutazioneA)),
                variantiSegnate(stato.sequenzaCampione, segnate))
      .confronto(stato.aplotipoTrovato, albero);
  riga.fine(tabella.testo());
  tabella.concludi(stato);
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
    blocco.riga(stato.messaggi[msg::aplotipo], "                      : ",
                inUnaRiga(stato.aplotipoTrovato));
    if (stato.numeroMutazioni > 0)
      blocco.riga(stato.messaggi[msg::percentualeMutazioni], "         : ",
                  percentualeMutazioni(elenco.quante, stato.numeroMutazioni));
    const Classificazione albero = righeAlbero(stato, regole, blocco);
    blocco.scrivi(stato);
    tabellaRisultati(stato, porta, albero);
    porta.puntatoreOccupato(false);
    VisualizzaLogOperazioni(stato, porta);
  });
  ScriviHTML(stato, porta);
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
