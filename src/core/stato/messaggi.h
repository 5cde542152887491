#pragma once
#include <filesystem>

#include "stato/stato.h"

namespace vorlane {

inline constexpr const char* kFileMessaggi = "messaggi.txt";

// The indices of messaggi.txt the program reads, each named after its text, so that a call site
// says which text it shows: stato.messaggi[msg::aplogruppoPhyloTree]. The values are the file's
// indices, which users' own copies of the file keep, and must never change. An unscoped enum in
// a namespace of its own indexes the table as it is, and lets a field or a list that carries a
// message say so by its type. Texts alike in different places get the place in their name.
namespace msg {
enum Messaggio : int {
  // Main window
  analisiRegioneControllo = 1,
  regioneControlloUmana = 2,
  scegliereComando = 3,
  controlloMutazioni = 4,
  normalizzazione = 5,
  conversione = 6,
  confrontoSingolo = 7,
  confrontoMultiplo = 8,
  manuale = 9,
  esci = 10,
  sequenzeInEsame = 11,
  fileDisponibili = 12,
  riferimento = 13,
  da = 14,
  a = 15,
  campione = 16,
  fasta = 17,
  arlequin = 18,
  comandi = 119,

  // Error report: the text, a blank, the procedure's name
  erroreNellaProcedura = 20,

  // Labels of the operations log and of the HTML reports
  analisiVorlane = 21,
  sequenzaRiferimento = 22,
  fileSequenzeAnalizzato = 23,
  mutazioniRilevate = 24,
  campioniEsaminati = 25,
  campioneRegistro = 26,
  intervalloMutazioni = 27,
  listaPosizioniMutazione = 28,
  intervalloPosizioni = 29,
  intervalloPercentuale = 30,
  percentualeMutazioni = 31,

  // Arlequin line without a TAB
  rigaSenzaTabulazioni = 32,
  campiSeparatiDaTab = 33,
  togliereIntestazioniArlequin = 34,

  // Mutation check
  laPosizione = 35,
  nonValida = 36,
  scrivereCinqueCifre = 37,
  posizioniNonAccettate = 38,
  nonValidaOFuoriIntervallo = 39,
  intervalloAnalisiImpostato = 40,
  campioneControllo = 41,
  mutazioni = 42,
  numeroCampioniMutati = 43,
  controlloEseguitoSulFile = 44,
  elaborazioneCompletata = 45,
  campioniConMutazione = 46,
  dettaglioNelRegistro = 47,
  vorlane = 48,

  // Conversion into a table, normalisation
  operazioneCompletata = 53,
  sequenzaDiRiferimento = 54,
  aplotipo = 55,
  tabellaGiaEsistente = 56,
  contenutoAndraPerso = 57,
  sovrascrivereTabella = 58,
  arlequinTabellaEsistente = 59,
  testataTabellaMutazioni = 60,
  testataColonne = 61,
  testataCodici = 62,
  testataSeparatore = 63,
  tabellaDaArlequin = 64,
  conversioneArlequin = 65,
  elaborazioneFastaEseguita = 66,
  elaborazioneFasta = 67,
  fastaTabellaEsistente = 68,
  normalizzazioneArlequinEseguita = 70,
  normalizzazioneArlequin = 71,

  // Title line
  campioniFasta = 74,
  campioniArlequin = 75,
  daTabellaAFile = 76,
  conversioneFileFasta = 77,
  conversioneFileArlequin = 78,
  confrontoSingoloAplogruppi = 79,
  confrontoMultiploAplogruppi = 80,
  confrontoSingoloMotivi = 81,
  confrontoMultiploMotivi = 82,

  // HTML reports
  citazioneRcrs = 83,
  risultatoConfronto = 84,
  legenda = 85,
  baseUguale = 86,
  posizioneMutata = 87,
  sequenzeAllineate = 88,
  confrontoPerPosizione = 89,
  rapportoHtmlSalvato = 90,

  // Normalisation, file in use, manual
  titoloNormalizzazione = 91,
  fileInUso = 92,
  manualeUso = 93,

  // Haplogroup from the whole PhyloTree
  aplogruppoPhyloTree = 94,
  qualita = 95,
  margine = 96,
  incerto = 97,
  variantiAtteseAssenti = 98,
  variantiNonAttese = 99,
};
}  // namespace msg

// Loads messaggi.txt of the current directory into stato.messaggi: "index;text" lines, "/" in
// the first column marks a comment, blank lines are skipped, the last line of an index wins.
void CaricaMessaggi(StatoVorlane& stato);
void caricaMessaggiDa(const std::filesystem::path& file, StatoVorlane& stato);

}  // namespace vorlane
