#pragma once
// One sample of a multiple run at a time: stored over the interval, marked, searched in the
// table and written as a log block. Each batch of a run in flight has one, with the sample, the
// marks and the search's scratch of its own.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "align/collocazione.h"
#include "base/porta.h"
#include "haplotype/aplogruppo_albero.h"
#include "haplotype/confronto.h"
#include "haplotype/memoria_intervallo.h"
#include "haplotype/report_multiplo.h"
#include "haplotype/ricerca.h"
#include "log/registro.h"
#include "report/risultati.h"
#include "sequence/campioni.h"
#include "stato/stato.h"

namespace vorlane {

// The parts of a block that are the same for every sample of the run, lines joined by CR LF so
// that a block is put together from a few pieces: the lines before the identifier but the first
// (which changes with the day), those between the identifier and the mutation count, and those
// after it.
struct RigheFisseMultiplo {
  RigheFisseMultiplo(const StatoVorlane& stato, const Caselle& caselle);
  std::string fileERiferimento, mezzo, coda;
  std::string aplogruppo;  // the PhyloTree line's label, which the call follows
};

// What every sample of a run reads and none changes.
struct RegoleMultiplo {
  const StatoVorlane& stato;
  const RegoleConfronto& regole;
  const MemoriaIntervallo& memoria;
  const RigheFisseMultiplo& fisse;
  ClassificatoriAlbero& albero;
};

class CampioneMultiplo {
 public:
  CampioneMultiplo(const RegoleMultiplo& regole, IndiceAplotipi indice);
  CampioneMultiplo(const CampioneMultiplo&) = delete;
  CampioneMultiplo& operator=(const CampioneMultiplo&) = delete;

  // Takes a sample of the file: whether it stored enough of it to compare. A sample the run
  // places (RegoleConfronto::collocaCampioni) and could not is in escluso().
  bool leggi(const Campione& campione);
  const std::optional<MotivoEscluso>& escluso() const { return escluso_; }
  // Placed from the interval's start: why the last comparison's place looks wrong, if it does.
  const std::optional<MotivoEscluso>& sospetto() const { return sospetto_; }
  // Compares the stored sample: its block goes to `blocco`, dated `giorno`.
  RisultatoCampione confronta(std::string_view identificativo, BloccoRegistro& blocco,
                              const std::tm& giorno);
  const std::string& identificativo() const { return identificativo_; }
  const IndiceAplotipi& indice() const { return indice_; }
  // Clears what the last sample stored, as the next one would.
  void svuota();
  // The last comparison's row of the results table.
  void rigaRisultati(RigaRisultati& riga, const Campione& campione,
                     std::string_view intervallo) const;
  // Its profile, with the tree's call as haplogroup; false for a sample that covers nothing.
  bool rigaProfilo(RigaRisultati& riga);

 private:
  bool colloca(const Campione& campione);
  void segna();
  void segnaCollocato();
  const std::string& testa(const std::tm& giorno);
  std::string testoAlbero();
  Classificazione classificaAlbero();

  const RegoleMultiplo& r_;
  std::string sequenza_;
  std::vector<char> marche_;
  double numeroMutazioni_ = 0;
  std::string aplotipo_;
  std::vector<Variante> varianti_;  // the marked positions, as the tree's call took them
  Classificazione albero_;

  IndiceAplotipi indice_;
  // Samples placed by the aligner or, across the origin, by the fixed rule, and why a sample
  // was left out.
  Collocatore collocatore_;
  const CampioneCollocato& collocato() const { return collocatore_.dentro(); }
  std::optional<MotivoEscluso> escluso_, sospetto_;
  std::size_t caratteri_ = 0;  // the length of the sample's text
  std::string identificativo_;
  std::string nomeInRiga_;  // the identifier as the log's line holds it
  // Positions the current sample stored, and those the last comparison looked at.
  long primoCampione_ = 0, ultimoCampione_ = -1;
  long primoMarche_ = 0, ultimoMarche_ = -1;
  // The positions the last comparison marked: they are its list, with no search of the marks,
  // and the only marks to clear before the next one.
  std::vector<int> segnate_;
  std::vector<Intervallo> tratti_;
  std::vector<int> mancanti_;  // placed from the interval's start: the positions without a base
  ElencoMutazioni elenco_;
  // The whole tree's classifier for the positions the last sample covered, and its scratch.
  const ClassificatoreAplogruppi* classificatore_ = nullptr;
  long primoClassificatore_ = 0, ultimoClassificatore_ = -1;
  ClassificatoreAplogruppi::Lavoro lavoroAlbero_;
  std::string chiaveAlbero_;  // the coverage and the marks, for ChiamateRecenti
  // The lines before the identifier, for the day `giornoTesta_`.
  std::string testa_;
  std::tm giornoTesta_{};
};

}  // namespace vorlane
