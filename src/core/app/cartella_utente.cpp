#include "app/cartella_utente.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/errore.h"
#include "app/messaggi.h"
#include "text/testo.h"

namespace vorlane {
namespace fs = std::filesystem;
namespace {

bool pieno(const char* valore) {
  return valore && *valore;
}

ErroreVorlane errore(const char* cosa, const fs::path& p, const std::string& perche) {
  return ErroreVorlane(std::string(cosa) + " '" + testoPercorso(p) + "': " + perche);
}

// Anything at the path, a dangling link included, belongs to the user.
bool presente(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() != fs::file_type::not_found;
}

void creaCartella(const fs::path& cartella) {
  std::error_code ec;
  if (fs::is_directory(cartella, ec)) return;
  fs::create_directories(cartella, ec);
  if (ec || !fs::is_directory(cartella))
    throw errore("impossibile creare la cartella", cartella,
                 ec ? ec.message() : "non \xE8 una cartella");
}

// Copies under a temporary name beside the target, then links it in place: the link fails
// when the user has made the file meanwhile, and the file is never seen half-copied.
void copiaSeManca(const fs::path& origine, const fs::path& destinazione) {
  if (presente(destinazione)) return;
  std::string modello =
      (destinazione.parent_path() / ("." + destinazione.filename().native() + ".XXXXXX")).native();
  int fd = ::mkstemp(modello.data());
  if (fd < 0) throw errore("impossibile creare il file", destinazione, std::strerror(errno));
  ::close(fd);
  const fs::path temporaneo = modello;
  std::error_code ec;
  fs::copy_file(origine, temporaneo, fs::copy_options::overwrite_existing, ec);
  int err = 0;
  if (!ec && ::link(temporaneo.c_str(), destinazione.c_str()) != 0 && errno != EEXIST) {
    err = errno;
    // A file system without hard links: the rename may only race with the user's own copy.
    if (!presente(destinazione) && ::rename(temporaneo.c_str(), destinazione.c_str()) == 0) err = 0;
  }
  ::unlink(temporaneo.c_str());
  if (ec) throw errore("impossibile copiare il file", origine, ec.message());
  if (err) throw errore("impossibile creare il file", destinazione, std::strerror(err));
}

}  // namespace

fs::path cartellaUtente(const char* lavoro, const char* home) {
  if (pieno(lavoro)) return fs::path(lavoro);
  if (pieno(home)) return fs::path(home) / "Vorlane";
  if (const passwd* utente = ::getpwuid(::getuid()); utente && pieno(utente->pw_dir))
    return fs::path(utente->pw_dir) / "Vorlane";
  throw ErroreVorlane("nessuna cartella personale: impostare HOME o VORLANE_LAVORO");
}

fs::path cartellaUtente() {
  return cartellaUtente(std::getenv("VORLANE_LAVORO"), std::getenv("HOME"));
}

fs::path cartellaFileForniti(const fs::path& eseguibile) {
  return eseguibile.parent_path().parent_path() / "share" / "vorlane";
}

fs::path eseguibileCorrente() {
  std::error_code ec;
  fs::path p = fs::read_symlink("/proc/self/exe", ec);
  if (ec) throw ErroreVorlane("impossibile trovare il programma stesso: " + ec.message());
  return p;
}

bool cartellaPronta(const fs::path& cartella) {
  std::error_code ec;
  return fs::is_regular_file(cartella / kFileMessaggi, ec);
}

void preparaCartellaUtente(const fs::path& cartella, const fs::path& forniti) {
  std::error_code ec;
  if (!fs::is_directory(forniti, ec))
    throw errore("cartella dei file forniti mancante", forniti, "non \xE8 una cartella");
  creaCartella(cartella);
  fs::recursive_directory_iterator giro(forniti, ec), fine;
  for (; !ec && giro != fine; giro.increment(ec)) {
    const fs::path destinazione = cartella / fs::relative(giro->path(), forniti);
    if (giro->is_directory(ec))
      creaCartella(destinazione);
    else if (giro->is_regular_file(ec))
      copiaSeManca(giro->path(), destinazione);
  }
  if (ec) throw errore("impossibile leggere la cartella", forniti, ec.message());
}

fs::path scegliCartellaLavoro(bool cartellaUtenteRichiesta, const fs::path& corrente) {
  if (!cartellaUtenteRichiesta && cartellaPronta(corrente)) return corrente;
  fs::path cartella = cartellaUtente();
  preparaCartellaUtente(cartella, cartellaFileForniti(eseguibileCorrente()));
  return cartella;
}

}  // namespace vorlane
