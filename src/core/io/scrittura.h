#pragma once
// Every text file the program writes goes through here: lines ended by CR LF, Windows-1252.
// A file is built in a temporary file beside its target (see io/temporanei.h) and renamed over
// it only when it is complete and on the disk, so a failed run never leaves a half-written file,
// a power loss leaves the old file or the new one, and the previous one stays intact.

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "io/sfondo.h"

namespace vorlane {

class TemporaneoRegistrato;

class ScrittoreTesto {
 public:
  // Creates the temporary file; throws ErroreVorlane naming the target when it cannot. Full
  // buffers are written on a thread of the writer's own while the next one fills.
  explicit ScrittoreTesto(std::filesystem::path destinazione);
  // Lines kept in memory, for a piece of a file made apart from the file's writer: see `testo`.
  ScrittoreTesto();
  ~ScrittoreTesto();
  ScrittoreTesto(const ScrittoreTesto&) = delete;
  ScrittoreTesto& operator=(const ScrittoreTesto&) = delete;

  // One line; CR LF is added.
  void riga(std::string_view testo);
  // Pieces of one line, joined; CR LF is added.
  template <class... T>
  void righe(const T&... pezzi) {
    aggiungi(pezzi...);
    fineRiga();
  }

  // A line built in place, for rows written at the rate of the disk: `spazio(n)` gives room for
  // n more bytes of the line under way and `avanza` takes the end of what was written there;
  // `fineRiga` adds CR LF. A line under way stays whole in the buffer until its end, so
  // `ritira` can take back its last bytes.
  char* spazio(std::size_t n) {
    if (n > capacita_ - usati_) allarga(n);
    return dati_.get() + usati_;
  }
  void avanza(char* fine) { usati_ = static_cast<std::size_t>(fine - dati_.get()); }
  // Pieces added to the line under way.
  template <class... T>
  void aggiungi(const T&... pezzi) {
    (aggiungiTesto(std::string_view(pezzi)), ...);
  }
  void ritira(std::size_t n) { usati_ -= n; }
  void fineRiga();
  // Adds text made of whole CR LF-ended lines, between two lines.
  void accoda(std::string_view righe);
  // Everything added so far, for a writer in memory.
  std::string_view testo() const { return {dati_.get(), usati_}; }
  // The bytes so far, between two lines; `riportaA` takes back what came after.
  std::uintmax_t posizione();
  void riportaA(std::uintmax_t posizione);
  // Flushes, closes and puts the file in place of the target.
  void conferma();

 private:
  void aggiungiTesto(std::string_view testo) {
    char* p = spazio(testo.size());
    if (!testo.empty()) std::memcpy(p, testo.data(), testo.size());
    usati_ += testo.size();
  }
  void allarga(std::size_t n);
  // Hands the full buffer to the background thread and goes on in the other one.
  void svuota();
  // Writes what the buffer holds here, after the piece handed over before.
  void scriviOra();

  struct Memoria {
    std::unique_ptr<char[]> dati;
    std::size_t capacita = 0;
  };

  std::filesystem::path destinazione_;
  std::filesystem::path temporaneo_;
  std::unique_ptr<TemporaneoRegistrato> registrato_;
  int fd_ = -1;  // none in memory
  // Not a std::string: room handed out by `spazio` is written before it counts as used, and a
  // string would clear it first.
  std::unique_ptr<char[]> dati_;
  std::size_t usati_ = 0, capacita_ = 0;
  // The buffer being written out while `dati_` fills, allocated with the first one handed over.
  Memoria inScrittura_;
  LavoroSfondo sfondo_;
};

// Appends text (already made of CR LF-ended lines) to a file, creating it when missing. The file
// is opened and closed within the call so that other writers can append between calls; copies
// of the program appending to one file take turns (an advisory lock). It is never written
// through a symbolic link; a last line left without its end by a writer that was stopped gets
// `segnoInterrotta` and a CR LF first; a write that fails leaves the file as it was, all that
// others appended included.
void aggiungiAlFile(const std::filesystem::path& percorso, std::string_view testo,
                    std::string_view segnoInterrotta);

}  // namespace vorlane
