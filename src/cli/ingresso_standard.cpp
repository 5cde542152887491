#include "ingresso_standard.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "base/errore.h"
#include "io/errore_file.h"

namespace vorlane::batch {
namespace fs = std::filesystem;
namespace {

fs::path cartellaTemporanea() {
  const char* tmp = std::getenv("TMPDIR");
  std::string modello = std::string(tmp && *tmp ? tmp : "/tmp") + "/vorlane-XXXXXX";
  if (!::mkdtemp(modello.data()))
    throw erroreFile("impossibile creare la cartella temporanea", modello, errno);
  return modello;
}

bool scriviTutto(int fd, const char* dati, ssize_t n) {
  while (n > 0) {
    ssize_t scritti = ::write(fd, dati, static_cast<std::size_t>(n));
    if (scritti < 0 && errno == EINTR) continue;
    if (scritti < 0) return false;
    dati += scritti;
    n -= scritti;
  }
  return true;
}

// 0 when all of standard input reached `fd`, otherwise the errno of the failure and whether
// reading or writing failed.
int copiaIngresso(int fd, bool& inLettura) {
  char blocco[1 << 16];
  for (;;) {
    ssize_t letti = ::read(STDIN_FILENO, blocco, sizeof blocco);
    if (letti < 0 && errno == EINTR) continue;
    inLettura = letti < 0;
    if (letti <= 0) return letti < 0 ? errno : 0;
    if (!scriviTutto(fd, blocco, letti)) return errno;
  }
}

}  // namespace

IngressoStandard::IngressoStandard(const std::string& nome)
    : cartella_(cartellaTemporanea()), file_(cartella_ / nome) {
  int fd = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    int err = errno;
    std::error_code ec;
    fs::remove_all(cartella_, ec);
    throw erroreFile("impossibile creare il file", file_, err);
  }
  bool inLettura = false;
  int err = copiaIngresso(fd, inLettura);
  if (::close(fd) != 0 && !err) err = errno;
  if (err) {
    std::error_code ec;
    fs::remove_all(cartella_, ec);
    if (inLettura) throw erroreFile("impossibile leggere", "-", err);
    throw erroreFile("impossibile scrivere il file", file_, err);
  }
}

IngressoStandard::~IngressoStandard() {
  std::error_code ec;
  fs::remove_all(cartella_, ec);
}

}  // namespace vorlane::batch
