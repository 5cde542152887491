#pragma once
// A large sample file worked on two processors (see text/in_ordine.h): the file is cut into
// pieces at sample starts, and each thread reads the pieces it takes with a reader of its own.

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "sequence/campioni.h"
#include "text/in_ordine.h"

namespace vorlane {

// Bytes of file per piece (1.5 MiB, about 3,700 HV1 samples) for work that yields about as much
// as it reads: enough that taking a piece costs little beside it, little enough that the thread
// that finishes last does not finish much later than the other, and that what a piece yields
// fits the memory a writer starts with. Work that yields several times what it reads takes
// smaller pieces, so that what waits in memory stays small.
inline constexpr std::uintmax_t kPezzo = 3 << 19;

struct EsitoPezzi;

// What an operation does with the pieces of a file.
class LavoroPezzi : public LavoroInOrdine {
 public:
  // Makes into `uscita` what the piece that `file` reads yields; false, or an exception, when
  // the piece did not end well. See LavoroInOrdine::faiPezzo.
  virtual bool fai(int filo, LettoreCampioni& file, Uscita& uscita) = 0;

 private:
  friend EsitoPezzi lavoraAPezzi(const std::filesystem::path&, OpzioniCampioni, char,
                                 std::uintmax_t, LavoroPezzi&, std::uintmax_t);
  bool faiPezzo(int filo, std::size_t pezzo, Uscita& uscita) final;
  // Where piece `pezzo` starts: the first line start from its share of the bytes on that can
  // start one, UINTMAX_MAX when there is none. Each is looked for once, by the thread that needs
  // it first: it is where a piece ends as well as where the next starts.
  std::uintmax_t inizio(std::size_t pezzo);

  const std::filesystem::path* campioni_ = nullptr;
  OpzioniCampioni opzioni_;
  char iniziale_ = 0;
  std::uintmax_t pezzo_ = kPezzo;
  std::mutex mutex_;
  std::vector<std::optional<std::uintmax_t>> inizi_;
  // One reader per thread for all its pieces: its buffers are reused.
  std::optional<LettoreCampioni> lettori_[2];
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
bool daTagliare(std::uintmax_t dimensione, std::uintmax_t pezzo = kPezzo);

// Works on the pieces of `campioni`, of about `pezzo` bytes, which start at lines whose first
// byte is `iniziale` (any line when 0). Every piece before the first one that did not end well
// is handed on.
EsitoPezzi lavoraAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                        char iniziale, std::uintmax_t dimensione, LavoroPezzi& lavoro,
                        std::uintmax_t pezzo = kPezzo);

}  // namespace vorlane
