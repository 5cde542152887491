#pragma once
// A large sample file worked on the engine's threads (see io/in_ordine.h): the file is cut into
// pieces at sample starts (io/taglio.h), and each piece is read with a reader of its own.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "io/in_ordine.h"
#include "io/taglio.h"
#include "sequence/campioni.h"

namespace vorlane {

// Bytes of file per piece (1.5 MiB, about 3,700 HV1 samples) for work that yields about as much
// as it reads: enough that taking a piece costs little beside it, little enough that the thread
// that finishes last does not finish much later than the others, and that what a piece yields
// fits the memory a writer starts with. Work that yields several times what it reads takes
// smaller pieces, so that what waits in memory stays small.
inline constexpr std::uintmax_t kPezzo = 3 << 19;

// The piece size the operations use: kPezzo, unless a fuzz target has set a smaller one, so that
// files of a few KB go through the same cutting and hand-over as files of megabytes.
std::uintmax_t dimensionePezzo();
void impostaDimensionePezzo(std::uintmax_t byte);

struct EsitoPezzi;

// What an operation does with the pieces of a file.
class LavoroPezzi : public LavoroInOrdine {
 public:
  // Readies `uscita` for the next piece; called for one piece after the other, in order.
  virtual void prepara(Uscita& uscita) = 0;
  // Makes into `uscita` what the piece that `file` reads yields; false, or an exception, when
  // the piece did not end well. See LavoroInOrdine::faiPezzo.
  virtual bool fai(LettoreCampioni& file, Uscita& uscita) = 0;

 protected:
  // Where the first piece ends: from consegna on, the bytes it covered.
  std::uintmax_t finePrimo();

 private:
  friend EsitoPezzi lavoraAPezzi(const std::filesystem::path&, OpzioniCampioni, char, LavoroPezzi&,
                                 std::uintmax_t);
  bool presa(std::size_t pezzo, Uscita& uscita) final;
  bool faiPezzo(std::size_t pezzo, Uscita& uscita) final;
  std::unique_ptr<LettoreCampioni> lettore(std::uintmax_t da, std::uintmax_t a);

  const std::filesystem::path* campioni_ = nullptr;
  OpzioniCampioni opzioni_;
  std::optional<TaglioFile> taglio_;
  std::mutex mutex_;
  // Where each piece taken starts, and the end of the last.
  std::vector<std::uintmax_t> inizi_;
  // Readers not in use: one per thread at most, their buffers reused from piece to piece.
  std::vector<std::unique_ptr<LettoreCampioni>> lettori_;
};

// How the work on the pieces ended.
struct EsitoPezzi {
  bool completo = false;  // every piece handed on
  // Otherwise: where the first piece not handed on starts in the file, and what it yielded
  // when it is the one that did not end well (empty when work stopped before it was made).
  std::uintmax_t daQui = 0;
  std::unique_ptr<LavoroPezzi::Uscita> incompleta;
};

// Whether a file of `dimensione` bytes is cut into pieces; a smaller one is read in one go.
bool daTagliare(std::uintmax_t dimensione, std::uintmax_t pezzo = dimensionePezzo());

// Works on the pieces of `campioni`, of about `pezzo` bytes, which start at lines whose first
// byte is `iniziale` (any line when 0). Every piece before the first one that did not end well
// is handed on.
EsitoPezzi lavoraAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                        char iniziale, LavoroPezzi& lavoro,
                        std::uintmax_t pezzo = dimensionePezzo());

}  // namespace vorlane
