#pragma once
// Buffered line reader: a line ends at CR LF, CR or LF. It hands out views into its buffer and
// only copies a line when it crosses the buffer's end or needs transcoding, so a large sample
// file is read at the speed of the disk. One pass over a line, sixteen bytes at a time, finds
// both its end and whether it holds non-ASCII bytes. Past the first buffer, the next one is read
// on a background thread while the lines of the current one are handed out.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "text/sfondo.h"

namespace vorlane {

class LettoreRighe {
 public:
  // Bytes read at a time. Large, so that the reading thread is handed work rarely: each hand-over
  // wakes a thread, which costs a good deal on a virtual machine.
  static constexpr std::size_t kBuffer = 1 << 20;

  // Opens the file; throws ErroreVorlane naming it when it cannot be read.
  explicit LettoreRighe(const std::filesystem::path& percorso);
  ~LettoreRighe();
  LettoreRighe(const LettoreRighe&) = delete;
  LettoreRighe& operator=(const LettoreRighe&) = delete;

  // Next line in Windows-1252 (UTF-8 lines with non-ASCII characters are transcoded); false at
  // the end. The view stays valid until the next call.
  bool leggi(std::string_view& riga);
  // 1-based number of the line last returned.
  std::size_t numeroRiga() const { return numeroRiga_; }
  const std::filesystem::path& percorso() const { return percorso_; }

 private:
  bool riempi();
  // Reads the next buffer's worth into `dati`; sets `ultimo` at the end of the file.
  std::size_t leggiBuffer(char* dati, bool& ultimo);
  void anticipa();
  std::size_t terminatore(std::size_t da, bool& nonAscii) const;
  std::string_view consegna(std::size_t da, std::size_t a, bool nonAscii);
  std::string_view consegnaLunga();
  std::string_view transcodifica(std::string_view grezza);

  std::filesystem::path percorso_;
  std::FILE* file_ = nullptr;
  // Left uninitialised: clearing it would cost more than reading a small file. Past the data
  // read, LFs up to a block beyond (see riempi).
  std::unique_ptr<char[]> buffer_;
  std::size_t inizio_ = 0, fine_ = 0;
  bool finito_ = false;
  bool saltaLF_ = false;
  std::size_t numeroRiga_ = 0;
  std::string lunga_;
  std::string convertita_;
  // The buffer being read ahead while `buffer_` is handed out, what was read into it, and
  // whether that reached the end of the file.
  std::unique_ptr<char[]> anticipato_;
  std::size_t lettiAnticipati_ = 0;
  bool ultimoAnticipato_ = false;
  bool inAnticipo_ = false;
  // Last: it must stop before the buffers and the file it uses go.
  LavoroSfondo sfondo_;
};

}  // namespace vorlane
