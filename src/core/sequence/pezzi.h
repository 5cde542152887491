#pragma once
// A large sample file worked on two processors: the file is cut into pieces at sample starts,
// each thread takes the next piece not taken yet and makes what it yields in memory, and the
// pieces are handed on in file order as soon as those before them have been. A thread slowed
// down by the machine only takes fewer pieces.

#include <cstdint>
#include <filesystem>
#include <memory>

#include "sequence/campioni.h"

namespace vorlane {

// What an operation does with the pieces of a file.
class LavoroPezzi {
 public:
  // What a piece yields, kept from when it is made until it is handed on, then reused.
  struct Uscita {
    virtual ~Uscita() = default;
  };

  virtual ~LavoroPezzi() = default;
  virtual std::unique_ptr<Uscita> nuova() = 0;
  // Readies `uscita` for the next piece: called when a piece is taken, with the pieces taken one
  // after the other in file order (a reading of the clock made here follows the file).
  virtual void presa(Uscita& uscita) = 0;
  // Makes into `uscita` what the piece that `file` reads yields; false, or an exception, when
  // the piece did not end well. Called on both threads at once, `filo` 0 on the calling thread
  // and 1 on the other: it may change only what belongs to its thread.
  virtual bool fai(int filo, LettoreCampioni& file, Uscita& uscita) = 0;
  // Hands a piece on: one at a time, in file order. An exception stops the work and comes back
  // from lavoraAPezzi once both threads have stopped.
  virtual void consegna(Uscita& uscita) = 0;
};

// How the work on the pieces ended.
struct EsitoPezzi {
  bool completo = false;  // every piece handed on
  // Otherwise: where the first piece not handed on starts in the file, and what it yielded
  // when it is the one that did not end well (empty when work stopped before it was made).
  std::uintmax_t daQui = 0;
  std::unique_ptr<LavoroPezzi::Uscita> incompleta;
};

// Bytes of file per piece (1.5 MiB, about 3,700 HV1 samples) for work that yields about as much
// as it reads: enough that taking a piece costs little beside it, little enough that the thread
// that finishes last does not finish much later than the other, and that what a piece yields
// fits the memory a writer starts with. Work that yields several times what it reads takes
// smaller pieces, so that what waits in memory stays small.
inline constexpr std::uintmax_t kPezzo = 3 << 19;

// Whether a file of `dimensione` bytes is cut into pieces; a smaller one is read in one go.
bool daTagliare(std::uintmax_t dimensione, std::uintmax_t pezzo = kPezzo);

// Works on the pieces of `campioni`, of about `pezzo` bytes, which start at lines whose first
// byte is `iniziale` (any line when 0). Every piece before the first one that did not end well
// is handed on.
EsitoPezzi lavoraAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                        char iniziale, std::uintmax_t dimensione, LavoroPezzi& lavoro,
                        std::uintmax_t pezzo = kPezzo);

}  // namespace vorlane
