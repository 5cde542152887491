#pragma once
// Buffered line reader: a line ends at CR LF, CR or LF. It hands out views into its buffer and
// only copies a line when it crosses the buffer's end or needs transcoding, so a large sample
// file is read at the speed of the disk. One pass over a line finds both its end and whether it
// holds non-ASCII bytes. Past the first buffer, the next one is read and its lines found on a
// background thread while the lines of the current one are handed out.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/errore.h"

#include "io/sfondo.h"

namespace vorlane {

// "cosa 'percorso': non è un file ordinario" (or a folder's own description), the report of a
// file of type `tipo` (st_mode) that only a regular file may be.
ErroreVorlane erroreNonOrdinario(const char* cosa, const std::filesystem::path& percorso,
                                 mode_t tipo);
// Opens a file for reading (a descriptor, closed on exec), or throws ErroreVorlane naming it. Only
// a regular file is opened: a pipe would keep the reader waiting, a device (/dev/zero) never
// end, and a folder or a socket fail with a system's description that says nothing to the user.
int apriInLettura(const std::filesystem::path& percorso);

class LettoreRighe {
 public:
  // Bytes read at a time: large, so that the thread reading ahead is handed work rarely; each
  // hand-over wakes a thread, which costs a good deal on a virtual machine.
  static constexpr std::size_t kBuffer = 1 << 20;

  // Opens the file; throws ErroreVorlane naming it when it cannot be read.
  explicit LettoreRighe(const std::filesystem::path& percorso);
  ~LettoreRighe();
  LettoreRighe(const LettoreRighe&) = delete;
  LettoreRighe& operator=(const LettoreRighe&) = delete;

  // Next line in Windows-1252 (UTF-8 lines with non-ASCII characters are transcoded); false at
  // the end. The view stays valid until the next call.
  bool leggi(std::string_view& riga) {
    // Most lines lie whole in the buffer and are plain ASCII: they are handed out here, without
    // a call, and the rest by `leggiAltre`.
    if (prossima_ < corrente_.fini.size()) {
      const FineRiga& f = corrente_.fini[prossima_];
      if (!f.nonAscii && f.a != corrente_.letti) {
        ++prossima_;
        ++numeroRiga_;
        riga = std::string_view(corrente_.dati.get() + inizio_, f.a - inizio_);
        inizio_ = f.seguente;
        return true;
      }
    }
    return leggiAltre(riga);
  }
  // The next line, without taking it, when taking it leaves the views handed out so far valid:
  // it lies whole in the buffer and is plain ASCII. False otherwise (a line further on, or the
  // end): only reading it tells what it is.
  bool sbircia(std::string_view& riga) const {
    if (prossima_ >= corrente_.fini.size()) return false;
    const FineRiga& f = corrente_.fini[prossima_];
    if (f.nonAscii || f.a == corrente_.letti) return false;
    riga = std::string_view(corrente_.dati.get() + inizio_, f.a - inizio_);
    return true;
  }
  // 1-based number of the line last returned.
  std::size_t numeroRiga() const { return numeroRiga_; }
  const std::filesystem::path& percorso() const { return percorso_; }

 private:
  // Where a line of a buffer ends (its CR or LF, or the end of the data when the line goes on in
  // the next buffer), where the next one starts (past a CR LF) and whether it holds non-ASCII
  // bytes.
  struct FineRiga {
    std::uint32_t a;
    std::uint32_t seguente;
    bool nonAscii;
  };
  // A buffer's worth of the file with its lines already found, so that the thread reading ahead
  // also does the search and the caller's thread only hands the lines out.
  struct Pezzo {
    // Left uninitialised: clearing it would cost more than reading a small file. Past the data
    // read, LFs up to a block beyond (see leggiPezzo).
    std::unique_ptr<char[]> dati;
    std::size_t letti = 0;
    std::size_t inizio = 0;  // 1 when an LF completes the CR that ended the buffer before
    bool ultimo = false;     // it reaches the end of the file
    std::vector<FineRiga> fini;
    bool finisceConCr() const;
  };

  // The size of a buffer for reading `byte` bytes.
  std::size_t capacitaPer(std::uintmax_t byte) const;
  bool leggiAltre(std::string_view& riga);
  bool riempi();
  // Reads the next buffer's worth into `p` and finds its lines; `dopoCr` tells whether the
  // buffer before ended with a CR.
  void leggiPezzo(Pezzo& p, bool dopoCr);
  void anticipa();
  std::string_view consegna(std::size_t da, std::size_t a, bool nonAscii);
  std::string_view consegnaLunga();
  std::string_view transcodifica(std::string_view grezza);
  // The first line of a file without the UTF-8 byte-order mark that many editors put there.
  std::string_view senzaBom(std::string_view grezza) const;

  std::filesystem::path percorso_;
  std::FILE* file_ = nullptr;
  // Bytes of a buffer: kBuffer, or less for a file that fits in less, so
  // that reading the settings or a table does not take a megabyte of fresh memory.
  std::size_t capacita_;
  std::uintmax_t restanti_;  // bytes not read yet, as far as the reader knows
  // The buffer whose lines are being handed out, and the one being read ahead meanwhile.
  Pezzo corrente_, anticipato_;
  bool inAnticipo_ = false;
  std::size_t prossima_ = 0;  // in corrente_.fini
  std::size_t inizio_ = 0;    // of the next line in corrente_
  std::size_t numeroRiga_ = 0;
  std::string lunga_;
  std::string convertita_;
  // Last: it must stop before the buffers and the file it uses go.
  LavoroSfondo sfondo_;
};

}  // namespace vorlane
