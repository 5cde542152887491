#include "porta_batch.h"

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

void PortaBatch::messaggio(std::string_view testo, const std::string& titolo, Icona icona) {
  stampa(icona == Icona::critica ? errori_ : uscita_, testo, titolo);
}

bool PortaBatch::domandaSiNo(const std::string& testo, const std::string& titolo) {
  stampa(uscita_, testo + "\r\n" + (rispostaSi_ ? "-> S\xEC" : "-> No"), titolo);
  return rispostaSi_;
}

}  // namespace vorlane
