#pragma once
// The two human haplotype tables: their files, their fixed grids and the loader. Every X / XNew
// pair of the haplotype comparison is one behaviour on one of these two descriptions.

#include <filesystem>

#include "stato/griglia.h"
#include "stato/messaggi.h"
#include "stato/stato.h"

namespace vorlane {

struct TabellaAplotipi {
  const char* nomeFile;
  int ultimaRiga;                    // haplotypes: rows 1..ultimaRiga
  int ultimaColonna;                 // positions per haplotype: columns 1..ultimaColonna
  IndiceAplotipi Contesto::*indice;  // where start-up keeps it
  // Procedure labels of the table's loader, search and comparisons.
  const char* carica;
  const char* ricerca;
  const char* confrontoSingolo;
  const char* caricaMultipli;
  const char* confrontoMultiplo;
  // Title lines of the single and the multiple comparison.
  msg::Messaggio titoloSingolo;
  msg::Messaggio titoloMultiplo;
};

extern const TabellaAplotipi kTabellaPrincipale;  // "tabella_mutazioni_OLD.csv", 69 x 10
extern const TabellaAplotipi kTabellaMotivi;      // "tabella_mutazioni_Motifs.csv", 469 x 15

// Reads a table file into a grid of the table's size. Lines starting with "/" or "#" are
// comments, blank lines are skipped, a zero-byte file is an empty table; a line without ";", a
// row or a token beyond the grid is an error naming the file and the line.
GrigliaAplotipi leggiTabellaAplotipi(const std::filesystem::path& file,
                                     const TabellaAplotipi& tabella);

void CaricaAplotipiUmani(StatoVorlane& stato);
void CaricaAplotipiUmaniNew(StatoVorlane& stato);

}  // namespace vorlane
