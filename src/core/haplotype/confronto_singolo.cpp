#include "haplotype/confronto_singolo.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "align/collocazione.h"
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

void intestazione(const StatoVorlane& stato, const Caselle& caselle,
                  const CampioneCaricato& caricato, BloccoRegistro& blocco) {
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
  blocco.riga(m[msg::listaPosizioniMutazione], "     : ", inUnaRiga(caselle.posizioni));
  blocco.riga(m[msg::mutazioniRilevate], "       : ", testoNumero(caricato.numeroMutazioni));
  blocco.riga(m[msg::percentualeMutazioni], "          : da ", numeroDa, " a ", numeroA);
  blocco.riga(m[msg::intervalloPosizioni], "          : da ", inUnaRiga(caselle.da), " a ",
              inUnaRiga(caselle.a));
  blocco.riga(m[msg::intervalloPercentuale], "        : da ", inUnaRiga(imp.PercentoDa), " a ",
              inUnaRiga(imp.PercentoA));
}

// The loaded sample as the comparison reads it. Placed through the aligner (or, across the
// origin, the fixed rule as a placement), its differences are a list of its own, insertions
// among them; placed from the interval's start, they are the marks.
struct CampioneSingolo {
  bool collocato = false;
  CampioneCollocato dentro;
  std::vector<Variante> differenze;
  // Placed from the interval's start, the differences at every position it marked, inside what
  // it covers or not: its row of the results table lists them all.
  std::vector<Variante> tutte;
  // The positions it covers: the whole tree's call is made for them.
  Intervallo coperto;
};

// The positions of the interval the sample stored, its blanks at either end left out.
Intervallo copertoDaInizio(const CampioneCaricato& caricato, const RegoleConfronto& regole) {
  const std::string& s = caricato.sequenzaCampione;
  long primo = std::max(regole.intervallo.inizio, 1),
       ultimo = std::min(regole.intervallo.fine, kUltimaPosizione);
  while (primo <= ultimo && s[static_cast<std::size_t>(primo)] == ' ') ++primo;
  while (ultimo >= primo && s[static_cast<std::size_t>(ultimo)] == ' ') --ultimo;
  if (primo > ultimo) return {};
  return {static_cast<int>(primo), static_cast<int>(ultimo)};
}

// Places the sample read on the reference, in place of the one loaded from the interval's start;
// false, after saying why, when it has no place there.
bool colloca(const StatoVorlane& stato, Porta& porta, const RegoleConfronto& regole,
             const Campione& letto, CampioneCaricato& caricato, CampioneSingolo& campione) {
  campione.collocato = true;
  caricato.sequenzaCampione.assign(kUltimaPosizione + 1, ' ');
  const TabellaCaratteri caratteri = tabellaCaratteri(stato);
  Collocatore collocatore(regole.allinea, regole.intervallo, caratteri);
  if (auto escluso = collocatore.colloca(letto, caricato.sequenzaCampione)) {
    CampioniEsclusi esclusi;
    esclusi.aggiungi(letto.nome, *escluso);
    porta.messaggio(esclusi.testo(), kTitoloApplicazione, Icona::esclamazione);
    return false;
  }
  campione.dentro = collocatore.dentro();
  campione.coperto = campione.dentro.coperto;
  differenzeCollocate(caricato.sequenzaCampione, stato.sequenzaRiferimento, campione.dentro,
                      campione.differenze);
  for (const Variante& v : campione.differenze)
    if (v.inserzione == 0) caricato.marcaMutazioni[static_cast<std::size_t>(v.posizione)] = '*';
  caricato.numeroMutazioni = static_cast<double>(campione.differenze.size());
  for (const Inserzione& i : campione.dentro.inserzioni)
    caricato.inserzioni.emplace_back(i.dopo, i.basi);
  return true;
}

// The sample's differences, placed from the interval's start: its marks. A place that looks
// wrong is named.
void segnaDaInizio(const StatoVorlane& stato, Porta& porta, const RegoleConfronto& regole,
                   const Campione& letto, CampioneCaricato& caricato, CampioneSingolo& campione) {
  std::vector<int> tutte;
  segnaMutazioni(caricato, stato.sequenzaRiferimento, 1, kUltimaPosizione, tutte);
  campione.coperto = copertoDaInizio(caricato, regole);
  std::vector<int> segnate;
  for (int p : tutte)
    if (campione.coperto.contiene(p)) segnate.push_back(p);
  campione.differenze = variantiSegnate(caricato.sequenzaCampione, segnate);
  campione.tutte = variantiSegnate(caricato.sequenzaCampione, tutte);
  if (auto motivo =
          collocazioneSospetta(letto.sequenza.size(), regole.intervallo.lunghezza(), segnate)) {
    CampioniEsclusi sospetti(true);
    sospetti.aggiungi(letto.nome, *motivo);
    porta.messaggio(sospetti.testo(), kTitoloApplicazione, Icona::esclamazione);
  }
}

// A sample that covers part of the interval is compared over that part, and the user told.
void avvisaCopertura(const CampioneCaricato& caricato, Porta& porta, const RegoleConfronto& regole,
                     const CampioneSingolo& campione) {
  const Intervallo& c = campione.coperto;
  const Intervallo& i = regole.intervallo;
  if (c.inizio == i.inizio && c.fine == i.fine) return;
  auto numero = [](int p) { return testoNumero(p); };
  std::string testo = "Il campione \"";
  testo.append(caricato.nome.empty() ? "senza nome" : caricato.nome).append("\" ");
  if (c.inizio == 0)
    testo.append("non copre alcuna posizione");
  else
    testo.append("copre le posizioni da ")
        .append(numero(c.inizio))
        .append(" a ")
        .append(numero(c.fine))
        .append(", non tutto");
  testo.append(" l'intervallo di analisi da ")
      .append(numero(i.inizio))
      .append(" a ")
      .append(numero(i.fine))
      .append(".");
  porta.messaggio(testo, kTitoloApplicazione, Icona::informazione);
}

// Lists the differences of the interval when the sample's count is within the settings' range.
void elenca(const CampioneCaricato& caricato, const RegoleConfronto& regole,
            const CampioneSingolo& campione, ElencoMutazioni& elenco, BloccoRegistro& blocco) {
  if (!regole.elenca(caricato.numeroMutazioni)) return;
  if (campione.collocato) {
    elencaDifferenze(campione.differenze, elenco, blocco);
  } else {
    const Intervallo& i = regole.intervallo;
    if (i.attraversaOrigine()) return;
    elencaMutazioni(caricato, static_cast<std::size_t>(i.inizio), static_cast<std::size_t>(i.fine),
                    elenco, blocco);
  }
  if (!elenco.parziale().empty()) blocco.riga(kRigaMutazioni, elenco.parziale());
}

// The whole tree's call for the sample over the positions of the interval it covers, with the
// variants the call expects and the sample lacks, and those it has and the call does not expect.
Classificazione righeAlbero(const Contesto& stato, const CampioneSingolo& campione,
                            BloccoRegistro& blocco) {
  if (campione.coperto.inizio == 0) return {};
  const ClassificatoreAplogruppi classificatore(alberoPhyloTree17(), Copertura({campione.coperto}));
  Classificazione c = classificatore.classifica(campione.differenze);
  ConfrontoAplogruppo differenze = classificatore.confronta(c.aplogruppo, campione.differenze);
  blocco.riga(rigaAplogruppo(stato, testoAplogruppo(stato, c)));
  blocco.riga(rigaVarianti(stato.messaggi[msg::variantiAtteseAssenti], differenze.mancanti));
  blocco.riga(rigaVarianti(stato.messaggi[msg::variantiNonAttese], differenze.inattese));
  return c;
}

// The sample's row: every difference the block counts.
void tabellaRisultati(StatoVorlane& stato, const Caselle& caselle, const CampioneCaricato& caricato,
                      const CampioneSingolo& campione, const Classificazione& albero) {
  const std::vector<Variante>& tutte = campione.collocato ? campione.differenze : campione.tutte;
  TabellaRisultati tabella(stato, "ConfrontoSingolo_" + nomeBaseReport(stato.fileCampione),
                           {kColonneCampione, kColonneConfronto});
  RigaRisultati riga;
  riga.campione(stato.fileCampione, caricato.nome, caricato.frequenza,
                testoIntervallo(caselle.da, caselle.a), tutte)
      .confronto(caricato.aplotipoTrovato, albero);
  riga.fine(tabella.testo());
  tabella.concludi(stato);
}

}  // namespace

void confrontaCampionamentoSingolo(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                                   const TabellaAplotipi& tabella, const Campione& letto,
                                   CampioneCaricato& caricato) {
  procedura(tabella.confrontoSingolo, [&] {
    RegoleConfronto regole = regoleConfronto(stato, caselle);
    CampioneSingolo campione;
    if (regole.collocaCampioni() || letto.conProfilo) {
      if (!colloca(stato, porta, regole, letto, caricato, campione)) return;
    } else {
      segnaDaInizio(stato, porta, regole, letto, caricato, campione);
    }
    avvisaCopertura(caricato, porta, regole, campione);
    BloccoRegistro blocco;
    intestazione(stato, caselle, caricato, blocco);
    ElencoMutazioni elenco;
    elenca(caricato, regole, campione, elenco, blocco);
    caricato.aplotipoTrovato = ricercaAplotipo(stato, tabella, elenco.posizioni);
    blocco.riga(stato.messaggi[msg::aplotipo], "                      : ",
                inUnaRiga(caricato.aplotipoTrovato));
    if (caricato.numeroMutazioni > 0)
      blocco.riga(stato.messaggi[msg::percentualeMutazioni], "         : ",
                  percentualeMutazioni(elenco.quante, caricato.numeroMutazioni));
    const Classificazione albero = righeAlbero(stato, campione, blocco);
    blocco.scrivi(stato.registro);
    tabellaRisultati(stato, caselle, caricato, campione, albero);
    porta.puntatoreOccupato(false);
    stato.registro.VisualizzaLogOperazioni(porta);
  });
  ScriviHTML(stato, porta, caselle, caricato);
}

namespace {
Esito operazioneConfrontoSingolo(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                                 const TabellaAplotipi& tabella) {
  porta.impostaTesto(Controllo::Lbl_Titolo, stato.messaggi[tabella.titoloSingolo]);
  Campione letto;
  CampioneCaricato caricato = CaricaSequenzaDati(stato, caselle, letto);
  confrontaCampionamentoSingolo(stato, porta, caselle, tabella, letto, caricato);
  return Esito::completata;
}
}  // namespace

Esito OperazioneConfrontoSingolo(StatoVorlane& stato, Porta& porta, const Caselle& caselle) {
  return operazioneConfrontoSingolo(stato, porta, caselle, kTabellaPrincipale);
}

Esito OperazioneConfrontoSingoloNew(StatoVorlane& stato, Porta& porta, const Caselle& caselle) {
  return operazioneConfrontoSingolo(stato, porta, caselle, kTabellaMotivi);
}

}  // namespace vorlane
