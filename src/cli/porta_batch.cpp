#include "porta_batch.h"

#include <ostream>

#include "text/testo.h"

namespace vorlane {
namespace {
// Box texts separate lines with CR LF; a terminal wants LF.
std::string perTerminale(const std::string& testo) {
  std::string uscita;
  uscita.reserve(testo.size());
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') continue;
    uscita += testo[i] == '\r' ? '\n' : testo[i];
  }
  return versoUtf8(uscita);
}
}  // namespace

void PortaBatch::stampa(std::ostream& os, const std::string& testo, const std::string& titolo) {
  os << '[' << perTerminale(titolo) << "]\n" << perTerminale(testo) << "\n\n";
}

void PortaBatch::messaggio(const std::string& testo, const std::string& titolo, Icona icona) {
  stampa(icona == Icona::critica ? errori_ : uscita_, testo, titolo);
}

bool PortaBatch::domandaSiNo(const std::string& testo, const std::string& titolo) {
  stampa(uscita_, testo + "\r\n" + (rispostaSi_ ? "-> S\xEC" : "-> No"), titolo);
  return rispostaSi_;
}

}  // namespace vorlane
