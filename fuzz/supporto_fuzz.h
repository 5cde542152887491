#pragma once
// Shared pieces of the fuzz targets: the parsers read files, so each input is written to a file
// in a private working folder first.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/porta_memoria.h"
#include "stato/stato.h"

namespace vorlane::fuzz {

class PortaMuta : public PortaMemoria {
 public:
  void messaggio(std::string_view, const std::string&, Icona) override {}
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

// Properties checked on every run; one that does not hold aborts, which libFuzzer reports as a
// finding.

// A page is plain ASCII without control characters (TAB, CR and LF aside), and its only markup
// is its own: every "<" opens a tag, every ">" closes one, and quotes inside a tag pair up.
void controllaPagina(const std::filesystem::path& pagina);

// Runs every operation on `campioni` (a FASTA and an Arlequin file of the export folder, same
// base name) and `tabella` (a table of the data folder), in both formats. An operation that
// fails leaves the output it would have written byte for byte as it was; every page written
// passes controllaPagina; no temporary file is left behind.
void eseguiTutte(Lavoro& l, const std::string& campioni, const std::string& tabella);

// Writes `testo` to `file`, replacing it.
void scriviTesto(const std::filesystem::path& file, std::string_view testo);

}  // namespace vorlane::fuzz
