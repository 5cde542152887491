#include "app/cartella_utente.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "base/errore.h"
#include "io/errore_file.h"
#include "stato/messaggi.h"

namespace vorlane {
namespace fs = std::filesystem;
namespace {

bool pieno(const char* valore) {
  return valore && *valore;
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
    throw erroreFile("impossibile creare la cartella", cartella, ec ? ec.value() : ENOTDIR);
}

// Copies under a temporary name beside the target, then links it in place: the link fails
// when the user has made the file meanwhile, and the file is never seen half-copied.
void copiaSeManca(const fs::path& origine, const fs::path& destinazione) {
  if (presente(destinazione)) return;
  std::string modello =
      (destinazione.parent_path() / ("." + destinazione.filename().native() + ".XXXXXX")).native();
  int fd = ::mkstemp(modello.data());
  if (fd < 0) throw erroreFile("impossibile creare il file", destinazione, errno);
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
  if (ec) throw erroreFile("impossibile copiare il file", origine, ec.value());
  if (err) throw erroreFile("impossibile creare il file", destinazione, err);
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
  if (ec) throw erroreFile("impossibile trovare il programma stesso", "/proc/self/exe", ec.value());
  return p;
}

bool cartellaPronta(const fs::path& cartella) {
  std::error_code ec;
  return fs::is_regular_file(cartella / kFileMessaggi, ec);
}

void preparaCartellaUtente(const fs::path& cartella, const fs::path& forniti) {
  std::error_code ec;
  if (!fs::is_directory(forniti, ec))
    throw erroreFile("cartella dei file forniti mancante", forniti, ENOTDIR);
  creaCartella(cartella);
  fs::recursive_directory_iterator giro(forniti, ec), fine;
  for (; !ec && giro != fine; giro.increment(ec)) {
    const fs::path destinazione = cartella / fs::relative(giro->path(), forniti);
    if (giro->is_directory(ec))
      creaCartella(destinazione);
    else if (giro->is_regular_file(ec))
      copiaSeManca(giro->path(), destinazione);
  }
  if (ec) throw erroreFile("impossibile leggere la cartella", forniti, ec.value());
}

fs::path scegliCartellaLavoro(bool cartellaUtenteRichiesta, const fs::path& corrente) {
  if (!cartellaUtenteRichiesta && cartellaPronta(corrente)) return corrente;
  fs::path cartella = cartellaUtente();
  preparaCartellaUtente(cartella, cartellaFileForniti(eseguibileCorrente()));
  return cartella;
}

}  // namespace vorlane
