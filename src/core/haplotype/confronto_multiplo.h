#pragma once
// The comparison of every sample of a file, one sample per line: a log block per sample and one
// result record per sample, then one table page.

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "app/operazioni.h"
#include "app/porta.h"
#include "app/stato.h"
#include "haplotype/confronto.h"
#include "haplotype/memoria_intervallo.h"
#include "haplotype/ricerca.h"
#include "haplotype/tabelle.h"

namespace vorlane {

// One multiple run over the file in fileCampione. A run costs about the reading of the file:
// the table is indexed once, the settings and the fixed log lines are taken once, and between
// samples only the positions the previous sample used are cleared.
class ConfrontoMultiplo {
 public:
  ConfrontoMultiplo(StatoVorlane& stato, Porta& porta, const TabellaAplotipi& tabella);

  // Reads the file line by line: a ">" line names the samples that follow, a line with a TAB
  // names its own sample (text before the first TAB) and holds the sequence after the last
  // one, any other line is sequence. A line that stores two or more characters of the interval
  // is compared.
  void CaricaSequenzaDatiMultipli();
  // Compares the sample in sequenzaCampione, logs its block and appends its result record.
  void ConfrontaCampionamentoMultiplo(std::string_view identificativo);

 private:
  void preparaRigheFisse();
  void riservaRisultati();
  double memorizza(std::string_view sequenza);
  void svuotaCampione();
  void segna();
  void scriviBlocco(std::string_view identificativo);
  const std::string& testa(const std::tm& oggi);

  StatoVorlane& stato_;
  Porta& porta_;
  const TabellaAplotipi& tabella_;
  RegoleConfronto regole_;
  IndiceAplotipi indice_;
  MemoriaIntervallo memoria_;
  std::string identificativo_;
  // Positions the current line stored, and those the last comparison looked at.
  long primoCampione_ = 0, ultimoCampione_ = -1;
  long primoMarche_ = 0, ultimoMarche_ = -1;
  // The positions the last comparison marked: they are its list, with no search of the marks,
  // and the only marks to clear before the next one.
  std::vector<int> segnate_;
  // The parts of a block that are the same for every sample of the run, lines joined by CR LF
  // so that a block is put together from a few pieces: the lines before the identifier (the
  // first of them changes with the day), those between the identifier and the mutation count,
  // and those after it.
  std::string testa_;
  std::tm giornoTesta_{};
  std::string fileERiferimento_, mezzo_, coda_;
  ElencoMutazioni elenco_;
};

// The loaders of the two tables: a whole run without its report.
void CaricaSequenzaDatiMultipli(StatoVorlane& stato, Porta& porta);
void CaricaSequenzaDatiMultipliNew(StatoVorlane& stato, Porta& porta);

// What a double-click runs for codes 70 (first table) and 90 (motif table): title line, empty
// result list, the run, the report (ScriviHTMLMultiplo).
Esito OperazioneConfrontoMultiplo(StatoVorlane& stato, Porta& porta);
Esito OperazioneConfrontoMultiploNew(StatoVorlane& stato, Porta& porta);

}  // namespace vorlane
