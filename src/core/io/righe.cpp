#include "io/righe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

#include "base/errore.h"
#include "io/errore_file.h"
#include "text/fine_riga.h"
#include "text/testo.h"

namespace vorlane {
namespace {
// Bytes a line-end search may load past the data: one step of two registers.
constexpr std::size_t kOltre = 64;

std::FILE* apri(const std::filesystem::path& percorso) {
  int fd = apriInLettura(percorso);
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) {
    int err = errno;
    ::close(fd);
    throw erroreFile("impossibile aprire il file", percorso, err);
  }
  return file;
}

}  // namespace

ErroreVorlane erroreNonOrdinario(const char* cosa, const std::filesystem::path& percorso,
                                 mode_t tipo) {
  if (S_ISDIR(tipo)) return erroreFile(cosa, percorso, EISDIR);
  return ErroreVorlane(std::string(cosa) + " '" + testoPercorso(percorso) +
                       "': non \xE8 un file ordinario");
}

int apriInLettura(const std::filesystem::path& percorso) {
  // Looked at before it is opened: opening a pipe waits for a writer, a socket cannot be opened.
  struct stat st;
  if (::stat(percorso.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
    throw erroreNonOrdinario("impossibile leggere il file", percorso, st.st_mode);
  int fd = ::open(percorso.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw erroreFile("impossibile aprire il file", percorso, errno);
  // What was opened counts: the name may have been given to something else meanwhile.
  int stato = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || stato < 0 ||
      ::fcntl(fd, F_SETFL, stato & ~O_NONBLOCK) != 0) {
    ::close(fd);
    throw erroreNonOrdinario("impossibile leggere il file", percorso, st.st_mode);
  }
  return fd;
}

LettoreRighe::LettoreRighe(const std::filesystem::path& percorso)
    : percorso_(percorso), restanti_(UINTMAX_MAX) {
  file_ = apri(percorso_);
  std::uintmax_t daLeggere = restanti_;
  struct stat st;
  if (::fstat(::fileno(file_), &st) == 0 && S_ISREG(st.st_mode))
    daLeggere = static_cast<std::uintmax_t>(std::max<off_t>(st.st_size, 0));
  capacita_ = capacitaPer(daLeggere);
  corrente_.dati = std::make_unique_for_overwrite<char[]>(capacita_ + kOltre);
}

std::size_t LettoreRighe::capacitaPer(std::uintmax_t byte) const {
  const std::size_t massima = kBuffer;
  if (byte >= massima) return massima;
  // One byte more than there is to read: the first read then also finds the end. A file that
  // grows meanwhile is read on in more reads.
  return std::max(static_cast<std::size_t>(byte) + 1, kOltre);
}

LettoreRighe::~LettoreRighe() {
  // Reading stops here (an error of the reader's own, or the caller's): a read ahead has
  // nothing left to report.
  sfondo_.concludi();
  if (file_) std::fclose(file_);
}

void LettoreRighe::leggiPezzo(Pezzo& p, bool dopoCr) {
  char* dati = p.dati.get();
  std::size_t richiesti = static_cast<std::size_t>(std::min<std::uintmax_t>(capacita_, restanti_));
  std::size_t n = richiesti > 0 ? std::fread(dati, 1, richiesti, file_) : 0;
  restanti_ -= n;
  p.letti = n;
  p.ultimo = n < richiesti || restanti_ == 0;
  if (n < richiesti && std::ferror(file_))
    throw erroreFile("errore di lettura del file", percorso_, errno);
  // The LFs past the data stop the search for a line end there without a bound check on every
  // block, and every block it loads is within the allocation and initialised.
  std::memset(dati + n, '\n', kOltre);
  p.inizio = dopoCr && n > 0 && dati[0] == '\n' ? 1 : 0;
  p.fini.clear();
  for (std::size_t i = p.inizio; i < n;) {
    bool nonAscii = false;
    std::size_t a = i + cercaFineRiga(dati + i, nonAscii);
    i = a + 1;
    if (i < n && dati[a] == '\r' && dati[i] == '\n') ++i;
    p.fini.push_back({static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(i), nonAscii});
  }
}

bool LettoreRighe::Pezzo::finisceConCr() const {
  return letti > 0 && dati[letti - 1] == '\r';
}

void LettoreRighe::anticipa() {
  if (!anticipato_.dati)
    anticipato_.dati = std::make_unique_for_overwrite<char[]>(capacita_ + kOltre);
  bool dopoCr = corrente_.finisceConCr();
  inAnticipo_ = true;
  sfondo_.affida([this, dopoCr] { leggiPezzo(anticipato_, dopoCr); });
}

bool LettoreRighe::riempi() {
  if (corrente_.ultimo) return false;
  if (inAnticipo_) {
    inAnticipo_ = false;
    sfondo_.attendi();
    std::swap(corrente_, anticipato_);
  } else {
    leggiPezzo(corrente_, corrente_.finisceConCr());
  }
  prossima_ = 0;
  inizio_ = corrente_.inizio;
  if (!corrente_.ultimo) anticipa();
  return corrente_.letti > 0;
}

std::string_view LettoreRighe::senzaBom(std::string_view grezza) const {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (numeroRiga_ == 1 && grezza.starts_with(kBom)) grezza.remove_prefix(kBom.size());
  return grezza;
}

// The mark is non-ASCII: a first line that holds it always comes through here or consegnaLunga.
std::string_view LettoreRighe::consegna(std::size_t da, std::size_t a, bool nonAscii) {
  ++numeroRiga_;
  std::string_view grezza = senzaBom({corrente_.dati.get() + da, a - da});
  return nonAscii && !soloAscii(grezza) ? transcodifica(grezza) : grezza;
}

std::string_view LettoreRighe::consegnaLunga() {
  ++numeroRiga_;
  std::string_view grezza = senzaBom(lunga_);
  return soloAscii(grezza) ? grezza : transcodifica(grezza);
}

std::string_view LettoreRighe::transcodifica(std::string_view grezza) {
  convertita_ = daUtf8(grezza);
  return convertita_;
}

bool LettoreRighe::leggiAltre(std::string_view& riga) {
  lunga_.clear();
  bool iniziata = false;
  for (;;) {
    if (prossima_ == corrente_.fini.size()) {
      if (riempi()) continue;
      if (!iniziata) return false;
      riga = consegnaLunga();
      return true;
    }
    const char* dati = corrente_.dati.get();
    FineRiga f = corrente_.fini[prossima_++];
    std::size_t da = inizio_;
    inizio_ = f.seguente;
    if (f.a == corrente_.letti) {
      // The line goes on in the next buffer.
      lunga_.append(dati + da, f.a - da);
      iniziata = true;
      continue;
    }
    if (!iniziata) {
      riga = consegna(da, f.a, f.nonAscii);
      return true;
    }
    lunga_.append(dati + da, f.a - da);
    riga = consegnaLunga();
    return true;
  }
}

}  // namespace vorlane
