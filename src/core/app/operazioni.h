#pragma once
// Operation codes: the seven preparing commands, the FASTA/Arlequin option, and the dispatch of
// a file double-click to the procedures of the prepared code.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "base/esito.h"
#include "base/porta.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// How an event ended, for front ends that must tell (vorlane-batch's exit status).
enum class EsitoEvento { completato, interrotto, errore };

// The preparing commands, in the order of tipoSelezione.
enum class Comando : std::int16_t {
  ControlloMutazioni = 0,
  Normalizza = 1,
  ConvertiInTabella = 2,
  ConfrontaSingolo = 3,
  ConfrontaMultiplo = 4,
  ConfrontaSingoloNew = 5,
  ConfrontaMultiploNew = 6,
};
inline constexpr int kNumeroComandi = 7;

// The event handler's own name, e.g. "Cmd_Normalizza_Click".
const char* nomeComando(Comando comando);

// Records the code, folder and pattern of a command and sets its title line.
EsitoEvento PreparaOperazione(StatoVorlane& stato, Porta& porta, Comando comando);
// The FASTA (0) / Arlequin (1) option: sets tipoFile and refines the prepared code and pattern.
void Option_TipoFileSequenza_Click(StatoVorlane& stato, std::int16_t indice);
// Runs the prepared operation on a file of the prepared folder (a bare name), or on a path.
EsitoEvento File_Sequenza_DblClick(StatoVorlane& stato, Porta& porta,
                                   const std::filesystem::path& nomeFile);
// Caption of Label_FileSequenzaCampione for a path text: long paths keep their last 60 characters.
std::string didascaliaFileCampione(const Contesto& stato, const std::string& percorso);
// Whether a file name matches a list pattern such as "*.FASTA", without regard to case; the
// samples' patterns also take profiles (*.hsd).
bool corrispondeFiltro(const std::string& nomeFile, const std::string& filtro);

// Sets the manual's title line; returns the manual's path.
std::filesystem::path Cmd_VisualizzaManuale_Click(StatoVorlane& stato, Porta& porta);
// Saves the settings; false when that failed (the report was shown).
bool Cmd_esci_Click(StatoVorlane& stato, Porta& porta);

// The procedures a double-click runs for a code; a code without an entry does nothing.
using ProceduraOperazione = std::function<Esito(StatoVorlane&, Porta&, const Caselle&)>;
const ProceduraOperazione* proceduraPerCodice(std::int16_t codice);

}  // namespace vorlane
