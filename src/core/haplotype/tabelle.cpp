#include "haplotype/tabelle.h"

#include "base/errore.h"
#include "io/righe.h"
#include "stato/messaggi.h"
#include "text/testo.h"

namespace vorlane {

const TabellaAplotipi kTabellaPrincipale = {
    .nomeFile = "tabella_mutazioni_OLD.csv",
    .ultimaRiga = 69,
    .ultimaColonna = 10,
    .indice = &Contesto::aplotipiUmani,
    .carica = "CaricaAplotipiUmani",
    .ricerca = "RicercaAplotipo",
    .confrontoSingolo = "ConfrontaCampionamentoSingolo",
    .caricaMultipli = "CaricaSequenzaDatiMultipli",
    .confrontoMultiplo = "ConfrontaCampionamentoMultiplo",
    .titoloSingolo = msg::confrontoSingoloAplogruppi,
    .titoloMultiplo = msg::confrontoMultiploAplogruppi,
};

const TabellaAplotipi kTabellaMotivi = {
    .nomeFile = "tabella_mutazioni_Motifs.csv",
    .ultimaRiga = 469,
    .ultimaColonna = 15,
    .indice = &Contesto::aplotipiUmaniNew,
    .carica = "CaricaAplotipiUmaniNew",
    .ricerca = "RicercaAplotipoNew",
    .confrontoSingolo = "ConfrontaCampionamentoSingoloNew",
    .caricaMultipli = "CaricaSequenzaDatiMultipliNew",
    .confrontoMultiplo = "ConfrontaCampionamentoMultiploNew",
    .titoloSingolo = msg::confrontoSingoloMotivi,
    .titoloMultiplo = msg::confrontoMultiploMotivi,
};

namespace {

ErroreVorlane erroreRiga(const LettoreRighe& file, const std::string& cosa) {
  return ErroreVorlane(testoPercorso(file.percorso()) + ", riga " +
                       std::to_string(file.numeroRiga()) + ": " + cosa);
}

bool daSaltare(std::string_view riga) {
  return senzaSpazi(riga).empty() || riga.front() == '/' || riga.front() == '#';
}

// Name to column 0, the "-" separated tokens of the second field to columns 1, 2, ...; an empty
// second field gives a row with no tokens.
void riempiRiga(const LettoreRighe& file, std::string_view riga, int r, GrigliaAplotipi& g) {
  std::size_t pv = riga.find(';');
  if (pv == std::string_view::npos)
    throw erroreRiga(file, "manca il separatore \";\" tra nome dell'aplotipo e posizioni");
  g.imposta(r, 0, riga.substr(0, pv));
  std::string_view lista = riga.substr(pv + 1);
  lista = lista.substr(0, lista.find(';'));
  if (lista.empty()) return;
  int colonna = 1;
  for (std::size_t inizio = 0;; ++colonna) {
    if (colonna > g.ultimaColonna())
      throw erroreRiga(
          file, "l'aplotipo ha pi\xF9 di " + std::to_string(g.ultimaColonna()) + " posizioni");
    std::size_t fine = lista.find('-', inizio);
    g.imposta(r, colonna, lista.substr(inizio, fine - inizio));
    if (fine == std::string_view::npos) return;
    inizio = fine + 1;
  }
}

}  // namespace

GrigliaAplotipi leggiTabellaAplotipi(const std::filesystem::path& file,
                                     const TabellaAplotipi& tabella) {
  GrigliaAplotipi griglia(tabella.ultimaRiga, tabella.ultimaColonna);
  LettoreRighe righe(file);
  std::string_view riga;
  int r = 1;
  while (righe.leggi(riga)) {
    if (daSaltare(riga)) continue;
    if (r > griglia.ultimaRiga())
      throw erroreRiga(
          righe, "la tabella ha posto per " + std::to_string(griglia.ultimaRiga()) + " aplotipi");
    riempiRiga(righe, riga, r++, griglia);
  }
  return griglia;
}

namespace {
void caricaTabella(StatoVorlane& stato, const TabellaAplotipi& tabella) {
  procedura(tabella.carica, [&] {
    stato.*tabella.indice =
        IndiceAplotipi(leggiTabellaAplotipi(stato.cartellaCorrente / tabella.nomeFile, tabella));
  });
}
}  // namespace

void CaricaAplotipiUmani(StatoVorlane& stato) {
  caricaTabella(stato, kTabellaPrincipale);
}

void CaricaAplotipiUmaniNew(StatoVorlane& stato) {
  caricaTabella(stato, kTabellaMotivi);
}

}  // namespace vorlane
