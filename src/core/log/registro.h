#pragma once
// The daily operations log. Lines are collected while an operation runs and appended to the
// day's file in one write per operation (or per megabyte), so a run over a large file does not
// open the log once per line; a line is never put into another day's file than its own.

#include <string>
#include <string_view>

#include "base/porta.h"
#include "stato/stato.h"

namespace vorlane {

std::filesystem::path percorsoRegistro(const StatoVorlane& stato);  // today's log
// One line, or several joined by CR LF.
void ScriviLogOperazioni(StatoVorlane& stato, std::string_view messaggio);
// The same for lines of the moment `adesso`, already read from the clock by a caller that dates
// its lines: the day's file follows that reading.
void ScriviLogOperazioni(StatoVorlane& stato, std::string_view messaggio, const std::tm& adesso);
void SvuotaRegistro(StatoVorlane& stato);
// Lines already ended by CR LF, of the moment `adesso`, appended to that day's file after what
// the queue holds, straight from `righe`: for the megabytes of blocks a run over a large file
// makes apart from the queue.
void accodaRegistro(StatoVorlane& stato, std::string_view righe, const std::tm& adesso);
// Shows the last block this run appended to the log: the lines from the last one starting with
// "*", kept as they were written.
void VisualizzaLogOperazioni(StatoVorlane& stato, Porta& porta);
// The last block of a log file, each line followed by CR LF.
TestoGrande ultimoBlocco(const std::filesystem::path& registro);

// Lines collected so that many of them reach the log in one call: each call reads the clock to
// pick the day's file, which would cost more than the line itself.
class BloccoRegistro {
 public:
  BloccoRegistro() = default;
  // A block built straight in the queue of the log of `adesso`, so that its bytes are not copied
  // a second time. Nothing else may write to the log until the block is written; a block not
  // written (an error part way through) is taken back out, so the log never holds half of one.
  BloccoRegistro(StatoVorlane& stato, const std::tm& adesso);
  // A block built at the end of `righe`, text of a caller's own (see accodaRegistro), and taken
  // back out of it when not ended.
  explicit BloccoRegistro(TestoGrande& righe) : testo_(&righe), inizio_(righe.size()) {}
  BloccoRegistro(const BloccoRegistro&) = delete;
  BloccoRegistro& operator=(const BloccoRegistro&) = delete;
  ~BloccoRegistro();

  template <class... T>
  void riga(const T&... pezzi) {
    if (righe_++ > 0) testo_->append("\r\n");
    (testo_->append(pezzi), ...);
  }
  // Appends the lines to today's log (the log of `adesso`) and empties the block. A block built
  // in the queue stays in the day it was built for.
  void scrivi(StatoVorlane& stato);
  void scrivi(StatoVorlane& stato, const std::tm& adesso);
  // Ends the lines of a block built in a caller's text, which then holds it whole.
  void chiudi();
  std::size_t dimensione() const { return testo_->size() - inizio_; }

 private:
  bool inCoda() const { return testo_ != &proprio_; }

  TestoGrande proprio_;
  TestoGrande* testo_ = &proprio_;
  std::size_t inizio_ = 0;  // where the block starts in `testo_`
  int righe_ = 0;
};

}  // namespace vorlane
