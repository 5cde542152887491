#pragma once
// vorlane-batch's side of the window port: message boxes become text on the standard streams,
// the Yes/No question is answered by a flag. The log block a check or comparison shows is the
// result and goes to standard output; every other box, and the question, to standard error.

#include <iosfwd>
#include <sstream>

#include "base/porta_memoria.h"

namespace vorlane {

class PortaBatch : public PortaMemoria {
 public:
  // `silenzioso` holds back the notices (not the error reports) until `rilasciaAvvisi`: a run
  // that completes prints its results alone.
  PortaBatch(std::ostream& uscita, std::ostream& errori, bool rispostaSi, bool silenzioso)
      : uscita_(uscita), errori_(errori), rispostaSi_(rispostaSi), silenzioso_(silenzioso) {}
  void messaggio(std::string_view testo, const std::string& titolo, Icona icona) override;
  bool domandaSiNo(const std::string& testo, const std::string& titolo) override;
  // With the results table on standard output, the log blocks shown are notices.
  void blocchiComeAvvisi() { blocchiComeAvvisi_ = true; }
  // Prints the notices held back, for a run that stopped: they say why.
  void rilasciaAvvisi();
  // The errno of the first result that could not be written, 0 when all were.
  int erroreUscita() const { return erroreUscita_; }

 private:
  static void stampa(std::ostream& os, std::string_view testo, std::string_view titolo);
  void risultato(std::string_view testo, std::string_view titolo);
  void avviso(std::string_view testo, std::string_view titolo);
  std::ostream& uscita_;
  std::ostream& errori_;
  bool rispostaSi_;
  bool silenzioso_;
  bool blocchiComeAvvisi_ = false;
  int erroreUscita_ = 0;
  std::ostringstream trattenuti_;
};

}  // namespace vorlane
