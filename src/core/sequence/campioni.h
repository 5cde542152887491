#pragma once
// The one reader of sample files. FASTA and Arlequin lines become records; what each operation
// does with them differs only in the options it passes.

#include <filesystem>
#include <string_view>

#include "io/righe.h"

namespace vorlane {

enum class FormatoCampioni { fasta, arlequin };

struct OpzioniCampioni {
  FormatoCampioni formato = FormatoCampioni::fasta;
  // FASTA: a sequence line holding a TAB gives the text before its first TAB as identifier and
  // the text after its last TAB as sequence (tabular files: identifier, TAB, ..., TAB, sequence).
  bool regolaTab = false;
  // Empty lines are passed over; otherwise an empty line is a record of its own (a sequence
  // line with no text in FASTA, a line without TAB in Arlequin).
  bool saltaVuote = true;
};

struct RecordCampione {
  enum class Tipo {
    intestazione,  // FASTA ">" line: `nome` is the rest of the line
    sequenza,      // a sample line: `sequenza`, and `nome` when the line carries one
    senzaTab,      // an Arlequin line without TAB
  };
  Tipo tipo = Tipo::sequenza;
  std::string_view nome;
  std::string_view frequenza;
  std::string_view sequenza;
  bool conNome = false;  // the line itself names the sample (Arlequin, or FASTA with regolaTab)
};

class LettoreCampioni {
 public:
  LettoreCampioni(const std::filesystem::path& file, OpzioniCampioni opzioni,
                  TrattoFile tratto = {});
  // Next record; false at the end. Views stay valid until the next call. An Arlequin line with
  // fewer than three fields is an error naming the file and the line.
  bool prossimo(RecordCampione& record);
  // See LettoreRighe::riparti.
  void riparti(std::uintmax_t da, std::uintmax_t a) { righe_.riparti(da, a); }
  std::size_t numeroRiga() const { return righe_.numeroRiga(); }
  // The lines under the records, for a reader of tables that has rules of its own for them.
  LettoreRighe& righe() { return righe_; }
  const std::filesystem::path& percorso() const { return righe_.percorso(); }

 private:
  void leggiFasta(std::string_view riga, RecordCampione& record) const;
  void leggiArlequin(std::string_view riga, RecordCampione& record) const;

  LettoreRighe righe_;
  OpzioniCampioni opzioni_;
};

}  // namespace vorlane
