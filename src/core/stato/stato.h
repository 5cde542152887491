#pragma once
// The program's state: what the window and the operations share. Start-up builds it, the
// front end owns it, and every operation gets it by reference.

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "log/registro.h"
#include "stato/indice_aplotipi.h"

namespace vorlane {

inline constexpr int kUltimaPosizione = 16569;  // length of the reference sequence
inline constexpr int kUltimoMessaggio = 200;

struct Impostazioni {
  std::string NumeroMutazioniDa;
  std::string NumeroMutazioniA;
  std::string InizioSequenza;
  std::string FineSequenza;
  std::string PercentoDa;
  std::string PercentoA;
  std::string posMutazione;
  std::string caratteriPermessi;
};

// What start-up builds and no operation changes: the messages, the folders, the reference and
// the two haplotype tables, each held as the index its searches read. A function that needs no more
// than these takes a const Contesto, so that it can neither change them nor read what an operation
// left in the state.
struct Contesto {
  std::array<std::string, kUltimoMessaggio + 1> messaggi;

  // Folders, formed from the current directory at start-up.
  std::filesystem::path cartellaCorrente;
  std::filesystem::path cartellaHtml, cartellaDati, cartellaEsporta;
  std::filesystem::path cartellaRisultati;

  // The reference: entry p is position p; entry 0 holds nothing.
  std::string sequenzaRiferimento;
  std::string citazioneRiferimento;

  IndiceAplotipi aplotipiUmani;
  IndiceAplotipi aplotipiUmaniNew;
};

// What the commands and the file-type option chose: the operation a double-click runs, and the
// folder and pattern of the files it takes. Only the dispatcher (app/operazioni.cpp) writes it;
// the window reads it to list the files.
struct SceltaOperazione {
  std::int16_t codiceOperazione = 0;
  std::int16_t tipoSelezione = 0;  // the command, a Comando
  std::string tipoFile = "FASTA";  // or "ARL"
  std::filesystem::path cartellaScelta;
  std::string filtroFile;
};

// The context and what changes while the program runs: the settings, the operation's choices
// and the log. What an operation finds is its own and goes to its outputs, not here.
struct StatoVorlane : Contesto {
  Impostazioni impostazioni;
  std::vector<std::string> caratteriValidi;

  // The results table the last operation wrote (report/risultati.h); empty before one has.
  std::filesystem::path tabellaRisultati;
  // The profiles (.hsd) it wrote beside the table, for the operations that write them.
  std::filesystem::path profiliRisultati;

  SceltaOperazione scelta;
  // Whether each sample is aligned to the reference; off, character k of a sample is the base
  // at the interval's start + k - 1.
  bool allinea = true;
  // The file the running operation reads: the one double-clicked, in the chosen folder.
  std::filesystem::path fileCampione;
  // The position box split, as the check reads it, and whether an edit left it to split again.
  bool posizioniDaRileggere = false;
  std::vector<std::string> listaPosizioni;

  // The daily log, in the folder "log", and the clock that dates its lines.
  Registro registro;
};

}  // namespace vorlane
