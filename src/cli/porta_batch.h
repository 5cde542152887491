#pragma once
// vorlane-batch's side of the window port: message boxes become text on the standard streams,
// the Yes/No question is answered by a flag.

#include <iosfwd>

#include "app/porta_memoria.h"

namespace vorlane {

class PortaBatch : public PortaMemoria {
 public:
  PortaBatch(std::ostream& uscita, std::ostream& errori, bool rispostaSi)
      : uscita_(uscita), errori_(errori), rispostaSi_(rispostaSi) {}
  void messaggio(std::string_view testo, const std::string& titolo, Icona icona) override;
  bool domandaSiNo(const std::string& testo, const std::string& titolo) override;

 private:
  void stampa(std::ostream& os, std::string_view testo, std::string_view titolo);
  std::ostream& uscita_;
  std::ostream& errori_;
  bool rispostaSi_;
};

}  // namespace vorlane
