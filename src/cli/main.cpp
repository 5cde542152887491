// vorlane-batch: the window's operations without a window, for pipelines and tests. For each
// FILE it does the window's start-up, then what one command and one double-click on FILE would
// do, each FILE in a run of its own.

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "app/avvio.h"
#include "app/cartella_utente.h"
#include "app/operazioni.h"
#include "app/segnalazione.h"
#include "argomenti.h"
#include "ingresso_standard.h"
#include "io/errore_file.h"
#include "porta_batch.h"
#include "stato/parametri.h"
#include "text/testo.h"
#include "versione.h"

using namespace vorlane;
using namespace vorlane::batch;
namespace fs = std::filesystem;

namespace {

constexpr int kEsitoCompletato = 0;
constexpr int kEsitoErrore = 1;
constexpr int kEsitoRifiutato = 2;
constexpr const char* kEtichetta = "vorlane-batch";

// An error outweighs a refusal, a refusal a completed run.
int peggiore(int a, int b) {
  auto peso = [](int e) { return e == kEsitoErrore ? 2 : e == kEsitoRifiutato ? 1 : 0; };
  return peso(a) >= peso(b) ? a : b;
}

int usoErrato(const std::string& testo) {
  std::cerr << kEtichetta << ": " << testo << "\n"
            << "Provare \"vorlane-batch --help\" per maggiori informazioni.\n";
  return kEsitoRifiutato;
}

// Results that never reached standard output (a full disk, a closed pipe's reader) are a
// failure, not a completed run.
int chiudiUscita() {
  errno = 0;
  std::cout.flush();
  if (std::fflush(stdout) == 0 && !std::ferror(stdout) && std::cout.good()) return kEsitoCompletato;
  int err = errno ? errno : EIO;
  std::cerr << kEtichetta
            << ": impossibile scrivere lo standard output: " << versoUtf8(descrizioneSistema(err))
            << "\n";
  return kEsitoErrore;
}

// Types into the boxes and leaves them, as a user would; false when a box refused its text.
bool compilaCaselle(StatoVorlane& stato, PortaBatch& porta, const Richiesta& r) {
  if (r.da) {
    porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, *r.da);
    if (!Text_PosizioneMutazioneDa_LostFocus(stato, porta)) return false;
  }
  if (r.a) {
    porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, *r.a);
    if (!Text_PosizioneMutazioneA_LostFocus(stato, porta)) return false;
  }
  if (r.posizioni) {
    porta.impostaTesto(Controllo::Text_posMutazione, posizioniACinqueCifre(*r.posizioni));
    Text_posMutazione_Change(stato, porta);
  }
  return true;
}

int esitoDi(EsitoEvento e) {
  switch (e) {
    case EsitoEvento::completato:
      return kEsitoCompletato;
    case EsitoEvento::interrotto:
      return kEsitoRifiutato;
    case EsitoEvento::errore:
      break;
  }
  return kEsitoErrore;
}

// The prepared operation on `file`; "-" is standard input, named after the listed pattern.
int eseguiSuFile(StatoVorlane& stato, PortaBatch& porta, const fs::path& file) {
  if (file != "-") return esitoDi(File_Sequenza_DblClick(stato, porta, file));
  try {
    IngressoStandard ingresso("stdin" + stato.scelta.filtroFile.substr(1));
    return esitoDi(File_Sequenza_DblClick(stato, porta, ingresso.percorso()));
  } catch (const ErroreVorlane& e) {
    segnalaErrore(stato, porta, ErroreVorlane(kEtichetta, e.what()));
    return kEsitoErrore;
  }
}

int esegui(StatoVorlane& stato, PortaBatch& porta, const Richiesta& r,
           const std::optional<fs::path>& file) {
  if (!compilaCaselle(stato, porta, r)) return kEsitoRifiutato;
  if (r.allinea) stato.allinea = *r.allinea;
  if (!r.comando) return kEsitoCompletato;
  if (PreparaOperazione(stato, porta, *r.comando) == EsitoEvento::errore) return kEsitoErrore;
  if (r.arlequin) Option_TipoFileSequenza_Click(stato, 1);
  // After the preparation, so that a bare FILE is still looked for in the listed folder.
  if (r.cartellaUscita)
    stato.cartellaHtml = stato.cartellaDati = stato.cartellaEsporta = stato.cartellaRisultati =
        *r.cartellaUscita;
  return eseguiSuFile(stato, porta, *file);
}

// Results of the run that never reached standard output make it a failure. Once reported, the
// stream is cleared: the next FILE's results are tried afresh.
bool uscitaPerduta(const StatoVorlane& stato, PortaBatch& porta) {
  const int err = porta.erroreUscita();
  if (!err) return false;
  const std::string testo = "impossibile scrivere i risultati sullo standard output: ";
  segnalaErrore(stato, porta, ErroreVorlane(kEtichetta, testo + descrizioneSistema(err)));
  std::cout.clear();
  std::clearerr(stdout);
  return true;
}

// The results table on standard output, its lines ended by LF as a pipeline's tools expect;
// the header only when it differs from the one printed before (several FILEs of one kind make
// one table). The table is UTF-8 already, so it is copied as bytes, not through the line
// reader, which hands out Windows-1252.
void stampaTabella(const fs::path& tabella, std::string& intestazionePrecedente) {
  std::ifstream file(tabella, std::ios::binary);
  std::string riga;
  for (bool prima = true; std::getline(file, riga); prima = false) {
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    if (prima && riga == intestazionePrecedente) continue;
    if (prima) intestazionePrecedente = riga;
    std::cout << riga << '\n';
  }
}

// One FILE (or none) as a run of its own: start-up, boxes, command, double-click, save.
// `intestazioneStampata` is the results table's header --tsv printed last, shared by the runs.
int eseguiRun(const Richiesta& r, const fs::path& cartella, const std::optional<fs::path>& file,
              std::string& intestazioneStampata) {
  StatoVorlane stato;
  PortaBatch porta(std::cout, std::cerr, r.sovrascrivi, r.silenzioso);
  if (r.tsv || r.hsd) porta.blocchiComeAvvisi();
  int esito = kEsitoErrore;
  if (Avvio(stato, porta, cartella)) {
    esito = esegui(stato, porta, r, file);
    const fs::path& tabella = r.hsd ? stato.profiliRisultati : stato.tabellaRisultati;
    if ((r.tsv || r.hsd) && esito == kEsitoCompletato && !tabella.empty())
      stampaTabella(tabella, intestazioneStampata);
    if (r.salva && !Cmd_esci_Click(stato, porta)) esito = kEsitoErrore;
  }
  if (uscitaPerduta(stato, porta)) esito = kEsitoErrore;
  if (esito != kEsitoCompletato) porta.rilasciaAvvisi();
  return esito;
}

// The working folder and the output folder, made ready once for every FILE; nothing when the
// user has been told why they cannot be.
std::optional<fs::path> preparaCartelle(Richiesta& r) {
  StatoVorlane stato;
  PortaBatch porta(std::cout, std::cerr, false, r.silenzioso);
  try {
    std::error_code ec;
    fs::path corrente = fs::current_path(ec);
    // A folder removed while a shell stood in it: nothing can be read or written there.
    if (ec)
      throw ErroreVorlane("impossibile trovare la cartella di lavoro: " +
                          descrizioneSistema(ec.value()));
    fs::path cartella = scegliCartellaLavoro(r.cartellaUtente, corrente);
    if (cartella != corrente)
      porta.messaggio("cartella di lavoro: " + testoPercorso(cartella), kTitoloApplicazione,
                      Icona::informazione);
    if (r.cartellaUscita) {
      r.cartellaUscita = fs::absolute(*r.cartellaUscita);
      fs::create_directories(*r.cartellaUscita, ec);
      if (ec) throw erroreFile("impossibile creare la cartella", *r.cartellaUscita, ec.value());
    }
    return cartella;
  } catch (const ErroreVorlane& e) {
    segnalaErrore(stato, porta, ErroreVorlane("Form_Load", e.what()));
    return std::nullopt;
  }
}

int eseguiRichiesta(Richiesta& r) {
  std::optional<fs::path> cartella = preparaCartelle(r);
  if (!cartella) return kEsitoErrore;
  std::string intestazione;
  if (r.file.empty()) return eseguiRun(r, *cartella, std::nullopt, intestazione);
  int esito = kEsitoCompletato;
  for (const fs::path& file : r.file)
    esito = peggiore(esito, eseguiRun(r, *cartella, file, intestazione));
  return esito;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_NUMERIC, "");
  Lettura lettura = leggiArgomenti(argc, argv);
  int esito = kEsitoCompletato;
  if (const auto* errore = std::get_if<ErroreUso>(&lettura)) return usoErrato(errore->testo);
  if (const auto* richiamo = std::get_if<Richiamo>(&lettura))
    std::cout << (*richiamo == Richiamo::aiuto ? testoAiuto() : testoVersione(kEtichetta));
  else
    esito = eseguiRichiesta(std::get<Richiesta>(lettura));
  return peggiore(esito, chiudiUscita());
}
