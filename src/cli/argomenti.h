#pragma once
// vorlane-batch's command line, read the way getopt_long reads one: long options with their
// value after "=" or as the next argument, -o and -q (bundled or not), "--" ending the options,
// options anywhere among the operands, "-" an operand (standard input).

#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/operazioni.h"

namespace vorlane::batch {

struct Richiesta {
  bool arlequin = false, sovrascrivi = false, salva = false, silenzioso = false;
  bool tsv = false;  // the results table on standard output, the log blocks on standard error
  bool hsd = false;  // the same with the profiles (.hsd)
  bool cartellaUtente = false;  // --lavoro: the user's own folder whatever the current one holds
  // --allinea / --senza-allineamento; without either, as the settings file has it.
  std::optional<bool> allinea;
  std::optional<std::string> da, a, posizioni;  // Windows-1252, as typed into the boxes
  std::optional<std::filesystem::path> cartellaUscita;
  std::optional<Comando> comando;
  std::vector<std::filesystem::path> file;  // "-" is standard input
};

// What the command line asks for: an operation, the help or the version, or a usage error
// (the text names the option, value or operand at fault).
enum class Richiamo { aiuto, versione };
struct ErroreUso {
  std::string testo;
};
using Lettura = std::variant<Richiesta, Richiamo, ErroreUso>;

Lettura leggiArgomenti(int argc, const char* const* argv);

// --help's text (UTF-8): options, operations, the working folder, the streams and the exit
// statuses.
const char* testoAiuto();

// The position list as the check wants it: an entry of one to four digits is written with the
// leading zeros that make it five ("73" -> "00073"); any other entry is left as typed, for the
// check to accept or refuse.
std::string posizioniACinqueCifre(const std::string& lista);

}  // namespace vorlane::batch
