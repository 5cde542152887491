#pragma once
// The comparison of every sample of a file: a log block per sample and one result record per
// sample, then one table page.

#include <ctime>
#include <memory>
#include <string>

#include "base/esito.h"
#include "base/porta.h"
#include "haplotype/campione_multiplo.h"
#include "haplotype/confronto.h"
#include "haplotype/memoria_intervallo.h"
#include "haplotype/report_multiplo.h"
#include "haplotype/tabelle.h"
#include "io/scrittura.h"
#include "report/risultati.h"
#include "sequence/campioni.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// One multiple run over the file in fileCampione. A run costs about the reading of the file: the
// table's index comes from start-up, the settings and the fixed log lines are taken once, and
// samples are compared on the engine's threads, their blocks, results and page rows handed on in
// file order.
class ConfrontoMultiplo {
 public:
  // The results go to `risultatiMultipli` in the file's order, as they are handed on; those
  // handed on before an error stay there. With `pagina`, so do their rows; with `risultati`, the
  // rows of the results table, and with `profili` the profiles.
  ConfrontoMultiplo(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                    const TabellaAplotipi& tabella, RisultatiMultipli& risultatiMultipli,
                    PaginaMultiplo* pagina = nullptr, TabellaRisultati* risultati = nullptr,
                    TabellaRisultati* profili = nullptr);

  // Reads the file sample by sample: a ">" line names the sample whose lines follow it, joined
  // up to the next ">" line or TAB line; a line with a TAB is a sample of its own, named by the
  // text before its first TAB, its sequence the text after its last one. A sample that stores
  // two or more characters of the interval is compared.
  void CaricaSequenzaDatiMultipli();
  // The samples the run could not place, in one message, and those whose place from the
  // interval's start looks wrong in another; nothing when there were none.
  void avvisaEsclusi();

  // What a batch of samples writes into, and the sample it is compared on.
  struct Appunti {
    std::unique_ptr<CampioneMultiplo> campione;
    std::tm giorno{};  // one reading of the clock dates a batch's blocks
    std::string registro;
    RisultatiMultipli risultati;
    std::unique_ptr<ScrittoreTesto> righePagina = std::make_unique<ScrittoreTesto>();
    std::unique_ptr<ScrittoreTesto> righeRisultati = std::make_unique<ScrittoreTesto>();
    std::unique_ptr<ScrittoreTesto> righeProfili = std::make_unique<ScrittoreTesto>();
    RigaRisultati riga;  // its room kept from sample to sample
    CampioniEsclusi esclusi;
    CampioniEsclusi sospetti{true};
  };
  Appunti appunti();
  void inizia(Appunti& a);
  // Compares one sample: its block, its result and its page row.
  void ConfrontaCampionamentoMultiplo(const Campione& campione, Appunti& a) const;
  void fai(const Campione& campione, Appunti& a) const {
    ConfrontaCampionamentoMultiplo(campione, a);
  }
  void consegna(Appunti& a);

 private:
  void riservaRisultati();
  void scriviRegistro(bool tutto);

  StatoVorlane& stato_;
  Porta& porta_;
  RisultatiMultipli& risultatiMultipli_;
  PaginaMultiplo* pagina_;
  TabellaRisultati* risultati_;
  TabellaRisultati* profili_;
  std::string intervallo_;
  const TabellaAplotipi& tabella_;
  RegoleConfronto regole_;
  MemoriaIntervallo memoria_;
  RigheFisseMultiplo fisse_;
  ClassificatoriAlbero albero_;
  RegoleMultiplo regoleCampione_;
  // Blocks handed on and not yet appended to the log, and the day they belong to.
  std::string registro_;
  std::tm giornoRegistro_{};
  CampioniEsclusi esclusi_;
  CampioniEsclusi sospetti_{true};
};

// What a double-click runs for codes 70 (first table) and 90 (motif table): title line, the run,
// the report (ScriviHTMLMultiplo).
Esito OperazioneConfrontoMultiplo(StatoVorlane& stato, Porta& porta, const Caselle& caselle);
Esito OperazioneConfrontoMultiploNew(StatoVorlane& stato, Porta& porta, const Caselle& caselle);

}  // namespace vorlane
