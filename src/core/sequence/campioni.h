#pragma once
// The one reader of sample files. FASTA and Arlequin lines become records; what each operation
// does with them differs only in the options it passes.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "io/righe.h"
#include "sequence/profilo.h"

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
  std::size_t riga = 0;  // the line it starts on
};

// A sample as the operations see it: its name attached and its lines joined.
struct Campione {
  // The header's text, the line's own name, or the last name the file gave before it (a FASTA
  // sequence before any header has none).
  std::string nome;
  std::string frequenza;  // Arlequin's second field
  std::string sequenza;
  std::size_t riga = 0;       // the line it starts on
  bool intestazione = false;  // it starts at a FASTA ">" line
  bool conSequenza = false;   // it has sequence lines (a header followed by another has none)
  bool conNome = false;       // its own line names it (Arlequin, or FASTA under regolaTab)
  // A profile of an .hsd file, which places itself: `sequenza` stays empty, the frequency is 1.
  bool conProfilo = false;
  Profilo profilo;
};

enum class Lettura { campione, fine, senzaTab };

class LettoreCampioni {
 public:
  LettoreCampioni(const std::filesystem::path& file, OpzioniCampioni opzioni);
  // Next record; false at the end. Views stay valid until the next call. An Arlequin line with
  // fewer than three fields is an error naming the file and the line. A file whose first line
  // is "[Profile]" is an Arlequin project, in either format: its records are the lines of its
  // SampleData blocks (name, frequency, sequence, separated by blanks or TABs), and every other
  // line is passed over. A file named *.hsd, or whose first line is the .hsd header, holds
  // profiles (sequence/profilo.h), which only prossimo(Campione&) reads.
  bool prossimo(RecordCampione& record);
  // The next sample: a FASTA header with the sequence lines that follow it, or a line that is
  // a sample of its own; "senzaTab" at an Arlequin line without TAB, which ends the samples an
  // operation takes.
  Lettura prossimo(Campione& campione);
  std::size_t numeroRiga() const { return righe_.numeroRiga(); }
  // The lines under the records, for a reader of tables that has rules of its own for them.
  LettoreRighe& righe() { return righe_; }
  const std::filesystem::path& percorso() const { return righe_.percorso(); }

 private:
  void leggiFasta(std::string_view riga, RecordCampione& record) const;
  void leggiArlequin(std::string_view riga, RecordCampione& record) const;
  bool leggiRiga(std::string_view& riga);
  enum class Genere { righe, progetto, profili };
  Genere riconosci();
  Lettura prossimoProfilo(Campione& campione);
  bool prossimoDelProgetto(RecordCampione& record);
  // Whether a line goes on with the sequence of the FASTA sample before it.
  bool continua(std::string_view riga) const;
  void unisci(RecordCampione& record);
  bool prossimoRecord(RecordCampione& record);
  void prendiSequenza(const RecordCampione& record, Campione& campione);

  LettoreRighe righe_;
  OpzioniCampioni opzioni_;
  // The line read past the end of a joined sample, which starts the next record.
  std::optional<std::string_view> inAttesa_;
  // A sample's lines joined, reused from sample to sample.
  std::string unione_;
  // The record read past a header that is not its sequence, which is the next sample's start.
  std::optional<RecordCampione> seguente_;
  std::string ultimoNome_;
  // What the file holds, as its name or first line says: records, an Arlequin project
  // ([Profile], [Data], SampleData={ ... }) or profiles; and whether the lines being read are
  // inside a project's SampleData block.
  std::optional<Genere> genere_;
  bool neiDati_ = false;
};

}  // namespace vorlane
