#include "porta_batch.h"

#include <algorithm>
#include <ostream>

#include "text/testo.h"

namespace vorlane {
namespace {
// Box texts separate lines with CR LF; a terminal wants LF. The log viewer's box can hold a
// whole check's block, hundreds of thousands of lines: the text between two CRs goes in whole.
std::string perTerminale(const std::string& testo) {
  std::string uscita;
  uscita.reserve(testo.size());
  for (std::size_t i = 0; i < testo.size();) {
    std::size_t cr = std::min(testo.find('\r', i), testo.size());
    uscita.append(testo, i, cr - i);
    if (cr == testo.size()) break;
    // CR LF becomes the LF that follows; a lone CR becomes LF.
    if (cr + 1 == testo.size() || testo[cr + 1] != '\n') uscita += '\n';
    i = cr + 1;
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
