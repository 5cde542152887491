#pragma once
// The daily operations log. Lines are collected while an operation runs and appended to the
// day's file in one write per operation (or per megabyte), so a run over a large file does not
// open the log once per line; a line is never put into another day's file than its own.

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "base/orologio.h"
#include "base/porta.h"
#include "io/sfondo.h"

namespace vorlane {

// The log of one program: its folder, the clock that dates its lines, the lines not yet on disk
// and the last block this run appended. Start-up gives it its folder; every operation writes
// through it.
class Registro {
 public:
  Registro() = default;
  Registro(const Registro&) = delete;
  Registro& operator=(const Registro&) = delete;

  // The folder the day's files are in. Lines already queued for another folder go there first.
  void impostaCartella(std::filesystem::path cartella);
  const std::filesystem::path& cartella() const { return cartella_; }
  // The clock's reading now; a test puts a clock of its own in `orologio`.
  std::tm adesso() const { return orologio(); }
  Orologio orologio = OraLocale{};
  // Today's file.
  std::filesystem::path percorso() const;

  // One line, or several joined by CR LF.
  void ScriviLogOperazioni(std::string_view messaggio);
  // The same for lines of the moment `adesso`, already read from the clock by a caller that
  // dates its lines: the day's file follows that reading.
  void ScriviLogOperazioni(std::string_view messaggio, const std::tm& adesso);
  // Lines already ended by CR LF, of the moment `adesso`, appended to that day's file after what
  // the queue holds, straight from `righe`: for the megabytes of blocks a run over a large file
  // makes apart from the queue.
  void accoda(std::string_view righe, const std::tm& adesso);
  // Appends what the queue holds, after waiting for what is on its way.
  void svuota();
  // Drops what the queue holds: after a failure that was reported with the log's own error.
  void scarta() { testo_.clear(); }
  // Lines queued and not yet on their way to the file.
  const std::string& inCoda() const { return testo_; }
  // Shows the last block this run appended to the log: the lines from the last one starting
  // with "*", kept as they were written.
  void VisualizzaLogOperazioni(Porta& porta);

 private:
  friend class BloccoRegistro;
  void scegliFile(const std::tm& oggi);
  std::filesystem::path fileDelGiorno(const std::tm& giorno) const;
  void svuotaInSfondo();
  void ricordaBlocco(std::string_view righe);

  std::filesystem::path cartella_;
  std::filesystem::path percorso_;  // the file the queue is for
  std::string testo_;
  // The day and the folder `percorso_` was formed for: it is formed again only when they change.
  int giorno_ = -1;
  std::string cartellaPercorso_;
  // Lines of a long run being appended on a background thread while the next ones are
  // collected; the event's end waits for them.
  std::string inScrittura_;
  std::unique_ptr<LavoroSfondo> sfondo_;
  // The last block this run appended, from its "*" line on: the block shown to the user.
  std::string ultimoBlocco_;
};

// The last block of a log file, each line followed by CR LF.
std::string ultimoBlocco(const std::filesystem::path& registro);

// Lines collected so that many of them reach the log in one call: each call reads the clock to
// pick the day's file, which would cost more than the line itself.
class BloccoRegistro {
 public:
  BloccoRegistro() = default;
  // A block built straight in the queue of the log of `adesso`, so that its bytes are not copied
  // a second time. Nothing else may write to the log until the block is written; a block not
  // written (an error part way through) is taken back out, so the log never holds half of one.
  BloccoRegistro(Registro& registro, const std::tm& adesso);
  // A block built at the end of `righe`, text of a caller's own (see Registro::accoda), and
  // taken back out of it when not ended.
  explicit BloccoRegistro(std::string& righe) : testo_(&righe), inizio_(righe.size()) {}
  BloccoRegistro(const BloccoRegistro&) = delete;
  BloccoRegistro& operator=(const BloccoRegistro&) = delete;
  ~BloccoRegistro();

  template <class... T>
  void riga(const T&... pezzi) {
    if (righe_++ > 0) testo_->append("\r\n");
    (testo_->append(pezzi), ...);
  }
  // Appends the lines to `registro` (today's file, or for a block built in its queue the day it
  // was built for) and empties the block.
  void scrivi(Registro& registro);
  // Ends the lines of a block built in a caller's text, which then holds it whole.
  void chiudi();
  std::size_t dimensione() const { return testo_->size() - inizio_; }

 private:
  bool inCoda() const { return testo_ != &proprio_; }

  std::string proprio_;
  std::string* testo_ = &proprio_;
  std::size_t inizio_ = 0;  // where the block starts in `testo_`
  int righe_ = 0;
};

}  // namespace vorlane
