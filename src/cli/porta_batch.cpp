#include "porta_batch.h"

#include <ostream>

#include "text/testo.h"

namespace vorlane {

void PortaBatch::stampa(std::ostream& os, const std::string& testo, const std::string& titolo) {
  os << '[';
  scriviPerTerminale(os, titolo);
  os << "]\n";
  scriviPerTerminale(os, testo);
  os << "\n\n";
}

void PortaBatch::messaggio(const std::string& testo, const std::string& titolo, Icona icona) {
  stampa(icona == Icona::critica ? errori_ : uscita_, testo, titolo);
}

bool PortaBatch::domandaSiNo(const std::string& testo, const std::string& titolo) {
  stampa(uscita_, testo + "\r\n" + (rispostaSi_ ? "-> S\xEC" : "-> No"), titolo);
  return rispostaSi_;
}

}  // namespace vorlane
