#include "io/errore_file.h"

#include <string>

#include "text/testo.h"

namespace vorlane {

ErroreVorlane erroreFile(const char* cosa, const std::filesystem::path& percorso, int codice) {
  return ErroreVorlane(std::string(cosa) + " '" + testoPercorso(percorso) +
                       "': " + descrizioneSistema(codice));
}

}  // namespace vorlane
