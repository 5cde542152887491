#include "porta_batch.h"

#include <cerrno>
#include <ostream>

#include "text/testo.h"

namespace vorlane {

void PortaBatch::stampa(std::ostream& os, std::string_view testo, std::string_view titolo) {
  os << '[';
  scriviPerTerminale(os, titolo);
  os << "]\n";
  scriviPerTerminale(os, testo);
  os << "\n\n";
}

void PortaBatch::avviso(std::string_view testo, std::string_view titolo) {
  stampa(silenzioso_ ? trattenuti_ : errori_, testo, titolo);
}

// Flushed at once, so that a failure is seen with its cause while errno still holds it.
void PortaBatch::risultato(std::string_view testo, std::string_view titolo) {
  stampa(uscita_, testo, titolo);
  errno = 0;
  uscita_.flush();
  if (!uscita_ && !erroreUscita_) erroreUscita_ = errno ? errno : EIO;
}

void PortaBatch::messaggio(std::string_view testo, const std::string& titolo, Icona icona) {
  if (icona == Icona::nessuna && !blocchiComeAvvisi_)
    risultato(testo, titolo);
  else if (icona == Icona::critica)
    rilasciaAvvisi(), stampa(errori_, testo, titolo);
  // The samples a run left out, or placed where they look wrong: the results alone do not show
  // them, so they are told even with -q.
  else if (icona == Icona::esclamazione)
    stampa(errori_, testo, titolo);
  else
    avviso(testo, titolo);
}

bool PortaBatch::domandaSiNo(const std::string& testo, const std::string& titolo) {
  avviso(testo + "\r\n" + (rispostaSi_ ? "-> S\xEC" : "-> No"), titolo);
  return rispostaSi_;
}

void PortaBatch::rilasciaAvvisi() {
  errori_ << trattenuti_.str();
  trattenuti_.str({});
}

}  // namespace vorlane
