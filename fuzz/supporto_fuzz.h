#pragma once
// Shared pieces of the fuzz targets: the parsers read files, so each input is written to a file
// in a private working folder first.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/porta_memoria.h"
#include "app/stato.h"

namespace vorlane::fuzz {

class PortaMuta : public PortaMemoria {
 public:
  void messaggio(const std::string&, const std::string&, Icona) override {}
  bool domandaSiNo(const std::string&, const std::string&) override { return true; }
};

// A started working folder (shipped messages and tables), made once per process.
struct Lavoro {
  StatoVorlane stato;
  PortaMuta porta;
  std::filesystem::path cartella;
};
Lavoro& lavoro();

// Writes the fuzz input to `file` and returns its path.
std::filesystem::path scriviIngresso(const std::filesystem::path& file, const std::uint8_t* dati,
                                     std::size_t n);

}  // namespace vorlane::fuzz
