#pragma once
// The one reader of sample files. FASTA and Arlequin lines become records; what each operation
// does with them differs only in the options it passes.

#include <filesystem>
#include <optional>
#include <string>
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
  // FASTA: a sample's sequence lines, up to the next header, are one record with the lines
  // joined (the field wraps sequences at 60 or 70 characters), and so are the lines before the
  // first header. An empty line inside a sample adds nothing to it; under regolaTab a line
  // holding a TAB names a sample of its own and is neither joined nor joined to.
  bool unisciRighe = true;
  // Arlequin: a line of two fields is a sample without sequence rather than an error (the
  // mutation check with no position to look at never reaches for the third).
  bool dueCampi = false;
};

struct RecordCampione {
  enum class Tipo {
    intestazione,  // FASTA ">" line: `nome` is the rest of the line
    sequenza,      // a sample: `sequenza`, and `nome` when its line carries one
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
  void riparti(std::uintmax_t da, std::uintmax_t a) {
    inAttesa_.reset();
    righe_.riparti(da, a);
  }
  std::size_t numeroRiga() const { return righe_.numeroRiga(); }
  // The lines under the records, for a reader of tables that has rules of its own for them.
  LettoreRighe& righe() { return righe_; }
  const std::filesystem::path& percorso() const { return righe_.percorso(); }

 private:
  void leggiFasta(std::string_view riga, RecordCampione& record) const;
  void leggiArlequin(std::string_view riga, RecordCampione& record) const;
  bool leggiRiga(std::string_view& riga);
  // Whether a line goes on with the sequence of the FASTA sample before it.
  bool continua(std::string_view riga) const;
  void unisci(RecordCampione& record);

  LettoreRighe righe_;
  OpzioniCampioni opzioni_;
  // The line read past the end of a joined sample, which starts the next record.
  std::optional<std::string_view> inAttesa_;
  // A sample's lines joined, reused from sample to sample.
  std::string unione_;
};

}  // namespace vorlane
