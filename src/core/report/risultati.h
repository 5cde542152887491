#pragma once
// The results table every operation writes beside its usual outputs, for R, a spreadsheet or a
// pipeline: risultati/<name>.tsv, UTF-8, TAB-separated, a header row and one row per sample.
// No field holds a TAB or a line break (they, and control characters, are shown by their
// pictures), no line is a comment, numbers have a decimal point whatever the locale.

#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io/scrittura.h"
#include "phylotree/classificatore.h"
#include "sequence/profilo.h"
#include "sequence/variante.h"
#include "stato/stato.h"

namespace vorlane {

// The columns every row starts with, and those the comparisons add after them.
inline constexpr std::string_view kColonneCampione[] = {
    "file", "campione", "frequenza", "intervallo", "numero_differenze", "differenze"};
inline constexpr std::string_view kColonneConfronto[] = {"aplotipo", "aplogruppo", "qualita",
                                                         "margine"};

// A row being built; each field is separated from the one before by a TAB. Kept from row to row,
// it keeps its room.
class RigaRisultati {
 public:
  // A Windows-1252 value.
  RigaRisultati& testo(std::string_view cp1252);
  RigaRisultati& numero(double valore);  // shortest form, "." as decimal point
  RigaRisultati& decimali(double valore, int cifre);
  // Blank-separated, in PhyloTree's notation; empty when there are none.
  RigaRisultati& varianti(std::span<const Variante> varianti);
  // The first columns: the file's name (not its folder), the sample, its frequency, the
  // interval and its differences from the reference.
  RigaRisultati& campione(const std::filesystem::path& file, std::string_view nome,
                          std::string_view frequenza, std::string_view intervallo,
                          std::span<const Variante> differenze);
  // The comparisons' columns: the table's haplotype and the whole tree's call.
  RigaRisultati& confronto(std::string_view aplotipo, const Classificazione& albero);
  // A profile of HaploGrep's .hsd format: the identifier, the stretches covered, the haplogroup
  // ("?" when there is none), then each variant in a field of its own, in the order of the
  // genome; missing data (N) is left out of the variants, as it is of the stretches.
  RigaRisultati& profilo(std::string_view nome, std::span<const Intervallo> tratti,
                         std::string_view aplogruppo, std::span<const Variante> varianti);
  // The row ends; the next field starts a new one.
  void fine(ScrittoreTesto& uscita);

 private:
  void separa();
  std::string riga_;
  bool vuota_ = true;
  std::vector<Variante> ordinate_;
  // The last file's name as a field: a run's rows all name the same file.
  std::filesystem::path file_;
  std::string nomeFile_;
};

// The differences of a sample text from the reference text it lies over, the first character
// at position `inizio`: every character that is not the reference's letter in either case, nor
// `ignorato` (upper case), nor at a place the reference has no base. A letter is the variant's
// base, "-" a deletion, any other sign missing data (N). `piega` is the reference's fold
// (sequence/differenze.h); the variants go into `varianti`, whose room is kept.
// With `mancanti`, the positions of missing data (`ignorato` or a sign) are listed there too.
void differenzeTesto(std::string_view campione, std::string_view riferimento,
                     std::string_view piega, int inizio, char ignorato,
                     std::vector<Variante>& varianti, std::vector<int>* mancanti = nullptr);
// The same for a single sample.
std::vector<Variante> differenzeTesto(std::string_view campione, std::string_view riferimento,
                                      int inizio, char ignorato);

// "16024-16365": the interval as the boxes (or the settings) give it.
std::string testoIntervallo(std::string_view da, std::string_view a);

// The table of one run, written beside the run's page or file: the header when made, the rows
// as `testo()` gets them, in place of any earlier table at `concludi` (which also tells the
// state where it is, for vorlane-batch --tsv). A table not concluded is thrown away.
class TabellaRisultati {
 public:
  TabellaRisultati(const Contesto& stato, std::string_view nome,
                   std::initializer_list<std::span<const std::string_view>> colonne,
                   std::span<const std::string> altreColonne = {});
  // The run's profiles, risultati/<nome>.hsd, with the header HaploGrep's files have.
  struct Profili {};
  TabellaRisultati(const Contesto& stato, std::string_view nome, Profili);
  ScrittoreTesto& testo() { return tabella_; }
  void concludi(StatoVorlane& stato);

 private:
  std::filesystem::path file_;
  ScrittoreTesto tabella_;
  bool profili_ = false;
};

// risultati/<nome>.tsv (or .hsd), or the same name in the folder the run's outputs go to.
std::filesystem::path percorsoRisultati(const Contesto& stato, std::string_view nome,
                                        std::string_view estensione = ".tsv");

}  // namespace vorlane
