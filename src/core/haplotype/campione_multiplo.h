#pragma once
// One sample of a multiple run at a time: stored over the interval, marked, searched in the
// table and written as a log block. Each piece of a run in flight has one, with the sample, the
// marks and the search's scratch of its own.

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "app/porta.h"
#include "app/stato.h"
#include "haplotype/confronto.h"
#include "haplotype/memoria_intervallo.h"
#include "haplotype/ricerca.h"
#include "log/registro.h"
#include "sequence/campioni.h"

namespace vorlane {

// The parts of a block that are the same for every sample of the run, lines joined by CR LF so
// that a block is put together from a few pieces: the lines before the identifier but the first
// (which changes with the day), those between the identifier and the mutation count, and those
// after it.
struct RigheFisseMultiplo {
  RigheFisseMultiplo(const StatoVorlane& stato, const Porta& porta);
  std::string fileERiferimento, mezzo, coda;
};

// What every sample of a run reads and none changes.
struct RegoleMultiplo {
  const StatoVorlane& stato;
  const RegoleConfronto& regole;
  const MemoriaIntervallo& memoria;
  const RigheFisseMultiplo& fisse;
};

class CampioneMultiplo {
 public:
  // On the state's sample, marks, count and haplotype: what a run on one thread leaves there.
  CampioneMultiplo(const RegoleMultiplo& regole, IndiceAplotipi indice, StatoVorlane& stato);
  // On its own, for a piece of a large file.
  CampioneMultiplo(const RegoleMultiplo& regole, IndiceAplotipi indice);
  CampioneMultiplo(const CampioneMultiplo&) = delete;
  CampioneMultiplo& operator=(const CampioneMultiplo&) = delete;

  // Takes a record of the file: whether it stored a sample to compare.
  bool leggi(const RecordCampione& record);
  // Compares the stored sample: its block goes to `blocco`, dated `giorno`.
  RisultatoCampione confronta(std::string_view identificativo, BloccoRegistro& blocco,
                              const std::tm& giorno);
  const std::string& identificativo() const { return identificativo_; }
  const IndiceAplotipi& indice() const { return indice_; }
  // Clears what the last record stored, as the next record would.
  void svuota();
  // Puts the last sample, its marks, count and haplotype in the state.
  void consegnaA(StatoVorlane& stato) const;

 private:
  void segna();
  const std::string& testa(const std::tm& giorno);

  const RegoleMultiplo& r_;
  // Storage of a piece's sample; unused on the state's.
  std::string propriaSequenza_;
  std::vector<char> proprieMarche_;
  double proprioNumero_ = 0;
  std::string proprioAplotipo_;
  std::string& sequenza_;
  std::vector<char>& marche_;
  double& numeroMutazioni_;
  std::string& aplotipo_;

  IndiceAplotipi indice_;
  std::string identificativo_;
  std::string nomeInRiga_;  // the identifier as the log's line holds it
  // Positions the current sample stored, and those the last comparison looked at.
  long primoCampione_ = 0, ultimoCampione_ = -1;
  long primoMarche_ = 0, ultimoMarche_ = -1;
  // The positions the last comparison marked: they are its list, with no search of the marks,
  // and the only marks to clear before the next one.
  std::vector<int> segnate_;
  ElencoMutazioni elenco_;
  // The lines before the identifier, for the day `giornoTesta_`.
  std::string testa_;
  std::tm giornoTesta_{};
};

}  // namespace vorlane
