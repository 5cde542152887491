#pragma once
// The comparison of every sample of a file: a log block per sample and one result record per
// sample, then one table page.

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/operazioni.h"
#include "app/porta.h"
#include "app/stato.h"
#include "haplotype/campione_multiplo.h"
#include "haplotype/confronto.h"
#include "haplotype/memoria_intervallo.h"
#include "haplotype/report_multiplo.h"
#include "haplotype/ricerca.h"
#include "haplotype/tabelle.h"

namespace vorlane {

// One multiple run over the file in fileCampione. A run costs about the reading of the file:
// the table is indexed once, the settings and the fixed log lines are taken once, and between
// samples only the positions the previous sample used are cleared. A large file is compared on
// the engine's threads, a piece at a time (see sequence/pezzi.h), with the same log, results and
// errors as when read in one go.
class ConfrontoMultiplo {
 public:
  // With `pagina`, the pieces of a large file add their rows to it as they are handed on.
  ConfrontoMultiplo(StatoVorlane& stato, Porta& porta, const TabellaAplotipi& tabella,
                    PaginaMultiplo* pagina = nullptr);
  ~ConfrontoMultiplo();

  // Reads the file sample by sample: a ">" line names the sample whose lines follow it, joined
  // up to the next ">" line or TAB line; a line with a TAB is a sample of its own, named by the
  // text before its first TAB, its sequence the text after its last one. A sample that stores
  // two or more characters of the interval is compared.
  void CaricaSequenzaDatiMultipli();
  // Compares the sample in sequenzaCampione, logs its block and appends its result record.
  void ConfrontaCampionamentoMultiplo(std::string_view identificativo);

 private:
  class APezzi;
  void riservaRisultati(std::uintmax_t dimensione);
  // Compares the pieces of a large file; returns where the file is to be read on in one go from
  // (UINTMAX_MAX when nowhere).
  std::uintmax_t aPezzi();
  // Reads from byte `da` on in one go, comparing on this thread.
  void leggiInUnaVolta(std::uintmax_t da);

  StatoVorlane& stato_;
  PaginaMultiplo* pagina_;
  const TabellaAplotipi& tabella_;
  RegoleConfronto regole_;
  MemoriaIntervallo memoria_;
  RigheFisseMultiplo fisse_;
  RegoleMultiplo regoleCampione_;
  // The sample this thread compares, on the state's own sample and marks.
  std::unique_ptr<CampioneMultiplo> principale_;
};

// The loaders of the two tables: a whole run without its report.
void CaricaSequenzaDatiMultipli(StatoVorlane& stato, Porta& porta);
void CaricaSequenzaDatiMultipliNew(StatoVorlane& stato, Porta& porta);

// What a double-click runs for codes 70 (first table) and 90 (motif table): title line, empty
// result list, the run, the report (ScriviHTMLMultiplo).
Esito OperazioneConfrontoMultiplo(StatoVorlane& stato, Porta& porta);
Esito OperazioneConfrontoMultiploNew(StatoVorlane& stato, Porta& porta);

}  // namespace vorlane
