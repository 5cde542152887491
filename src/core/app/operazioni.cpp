#include "app/operazioni.h"

#include <vector>

#include "app/segnalazione.h"
#include "base/errore.h"
#include "convert/conversione.h"
#include "convert/normalizzazione.h"
#include "haplotype/confronto_multiplo.h"
#include "haplotype/confronto_singolo.h"
#include "mutation/controllo.h"
#include "sequence/profilo.h"
#include "stato/messaggi.h"
#include "stato/parametri.h"
#include "text/testo.h"

namespace vorlane {
namespace {

constexpr std::size_t kLunghezzaDidascalia = 60;

struct VoceComando {
  const char* nome;
  std::filesystem::path StatoVorlane::*cartella;
  std::int16_t codiceFasta, codiceArlequin;
};

// Indexed by tipoSelezione.
const VoceComando kComandi[kNumeroComandi] = {
    {"Cmd_ControlloMutazioni_Click", &StatoVorlane::cartellaEsporta, 10, 11},
    {"Cmd_Normalizza_Click", &StatoVorlane::cartellaDati, 20, 20},
    {"routine Cmd_ConvertiInTabella_Click", &StatoVorlane::cartellaEsporta, 40, 50},
    {"Cmd_ConfrontaSingolo_Click", &StatoVorlane::cartellaEsporta, 60, 60},
    {"Cmd_ConfrontaMultiplo_Click", &StatoVorlane::cartellaEsporta, 70, 70},
    {"Cmd_ConfrontaSingoloNew_Click", &StatoVorlane::cartellaEsporta, 80, 80},
    {"Cmd_ConfrontaMultiploNew_Click", &StatoVorlane::cartellaEsporta, 90, 90},
};

// Code and list pattern of a command for the chosen file type; the normalisation always lists
// tables, and the option only changes which normalisation runs.
void impostaCodiceEFiltro(StatoVorlane& stato) {
  const VoceComando& voce = kComandi[stato.scelta.tipoSelezione];
  bool fasta = stato.scelta.tipoFile == "FASTA";
  stato.scelta.codiceOperazione = fasta ? voce.codiceFasta : voce.codiceArlequin;
  if (static_cast<Comando>(stato.scelta.tipoSelezione) == Comando::Normalizza)
    stato.scelta.filtroFile = "*.TXT";
  else
    stato.scelta.filtroFile = fasta ? "*.FASTA" : "*.ARL";
}

// What runs for each operation code and what its title line says: the check and the
// normalisation append their text to the one their command set, the others replace it.
struct VoceOperazione {
  std::int16_t codice;
  ProceduraOperazione procedura;
  msg::Messaggio titolo;
  bool accodaTitolo;
};

const std::vector<VoceOperazione>& tabellaOperazioni() {
  static const std::vector<VoceOperazione> tabella = {
      {10, ControlloMutazioniFASTA, msg::campioniFasta, true},
      {11, ControlloMutazioniARL, msg::campioniArlequin, true},
      {20, Normalizza, msg::daTabellaAFile, true},
      {40, ConvertiFASTAinTabella, msg::conversioneFileFasta, false},
      {50, ConvertiARLinTabella, msg::conversioneFileArlequin, false},
      {60, OperazioneConfrontoSingolo, msg::confrontoSingoloAplogruppi, false},
      {70, OperazioneConfrontoMultiplo, msg::confrontoMultiploAplogruppi, false},
      {80, OperazioneConfrontoSingoloNew, msg::confrontoSingoloMotivi, false},
      {90, OperazioneConfrontoMultiploNew, msg::confrontoMultiploMotivi, false},
  };
  return tabella;
}

const VoceOperazione* operazionePerCodice(std::int16_t codice) {
  for (const VoceOperazione& v : tabellaOperazioni())
    if (v.codice == codice) return &v;
  return nullptr;
}

// The title line of a prepared code.
void SceltaSequenza(StatoVorlane& stato, Porta& porta) {
  const VoceOperazione* v = operazionePerCodice(stato.scelta.codiceOperazione);
  if (!v) return;
  const std::string& testo = stato.messaggi[v->titolo];
  porta.impostaTesto(Controllo::Lbl_Titolo,
                     v->accodaTitolo ? porta.testo(Controllo::Lbl_Titolo) + testo : testo);
}

}  // namespace

const char* nomeComando(Comando comando) {
  return kComandi[static_cast<int>(comando)].nome;
}

EsitoEvento PreparaOperazione(StatoVorlane& stato, Porta& porta, Comando comando) {
  bool ok = eseguiEvento(stato, porta, nomeComando(comando), [&] {
    if (comando == Comando::ControlloMutazioni)
      porta.impostaTesto(Controllo::Lbl_Titolo, "Controllo mutazioni: ");
    else if (comando == Comando::Normalizza)
      porta.impostaTesto(Controllo::Lbl_Titolo, stato.messaggi[msg::titoloNormalizzazione] + ": ");
    stato.fileCampione.clear();
    stato.scelta.tipoSelezione = static_cast<std::int16_t>(comando);
    stato.scelta.cartellaScelta = stato.*kComandi[stato.scelta.tipoSelezione].cartella;
    impostaCodiceEFiltro(stato);
    SceltaSequenza(stato, porta);
  });
  return ok ? EsitoEvento::completato : EsitoEvento::errore;
}

void Option_TipoFileSequenza_Click(StatoVorlane& stato, std::int16_t indice) {
  stato.scelta.tipoFile = indice == 0 ? "FASTA" : "ARL";
  impostaCodiceEFiltro(stato);
}

std::string didascaliaFileCampione(const Contesto& stato, const std::string& percorso) {
  std::string d = stato.messaggi[msg::fileInUso] + ": ";
  if (percorso.size() <= kLunghezzaDidascalia) return d + percorso;
  return d + " ..." + percorso.substr(percorso.size() - kLunghezzaDidascalia);
}

bool corrispondeFiltro(const std::string& nomeFile, const std::string& filtro) {
  // Profiles (.hsd) are samples whichever format is chosen.
  if (filtro != "*.TXT" && nomeDiProfili(nomeFile)) return true;
  std::string estensione = filtro.substr(1);  // "*.FASTA" -> ".FASTA"
  if (nomeFile.size() < estensione.size()) return false;
  return ugualiSenzaMaiuscole(nomeFile.substr(nomeFile.size() - estensione.size()), estensione);
}

EsitoEvento File_Sequenza_DblClick(StatoVorlane& stato, Porta& porta,
                                   const std::filesystem::path& nomeFile) {
  Esito esito = Esito::completata;
  porta.puntatoreOccupato(true);
  bool ok = eseguiEvento(stato, porta, "File_Sequenza_DblClick", [&] {
    bool soloNome = nomeFile.native().find('/') == std::string::npos;
    stato.fileCampione = soloNome ? stato.scelta.cartellaScelta / nomeFile : nomeFile;
    porta.impostaTesto(Controllo::Label_FileSequenzaCampione,
                       didascaliaFileCampione(stato, testoPercorso(stato.fileCampione)));
    if (const ProceduraOperazione* p = proceduraPerCodice(stato.scelta.codiceOperazione))
      esito = (*p)(stato, porta, leggiCaselle(porta));
  });
  porta.puntatoreOccupato(false);
  if (!ok) return EsitoEvento::errore;
  return esito == Esito::completata ? EsitoEvento::completato : EsitoEvento::interrotto;
}

std::filesystem::path Cmd_VisualizzaManuale_Click(StatoVorlane& stato, Porta& porta) {
  porta.impostaTesto(Controllo::Lbl_Titolo,
                     stato.messaggi[msg::fileInUso] + "\r\n" + stato.messaggi[msg::manualeUso]);
  return stato.cartellaCorrente / "manuale_Vorlane.htm";
}

bool Cmd_esci_Click(StatoVorlane& stato, Porta& porta) {
  return eseguiEvento(stato, porta, "routine Cmd_Esci_Click", [&] { ScriviFileParametri(stato); });
}

const ProceduraOperazione* proceduraPerCodice(std::int16_t codice) {
  const VoceOperazione* v = operazionePerCodice(codice);
  return v ? &v->procedura : nullptr;
}

}  // namespace vorlane
