#include "io/scrittura.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "base/errore.h"
#include "io/errore_file.h"
#include "io/righe.h"
#include "io/temporanei.h"
#include "text/testo.h"

namespace vorlane {
namespace {
// Bytes gathered before they are written: a thread writes them, and is handed work rarely. A file
// smaller than this, a single comparison's page of a megabyte and more say, is written in one go
// when confirmed: starting the thread for it would cost more than its writing.
constexpr std::size_t kSoglia = 4 << 20;
// A writer starts with room for all it gathers before a write, so that it never grows and
// copies: its room is only reserved, and a page of it is taken when first written, so a file of
// a few kilobytes costs a few pages. A writer in memory starts with room for a batch's rows.
constexpr std::size_t kIniziale = kSoglia + (1 << 20);
constexpr std::size_t kMemoria = 1 << 21;

void scriviTutto(int fd, std::string_view dati, const std::filesystem::path& p) {
  while (!dati.empty()) {
    ssize_t n = ::write(fd, dati.data(), dati.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw erroreFile("errore di scrittura del file", p, errno);
    }
    dati.remove_prefix(static_cast<std::size_t>(n));
  }
}

mode_t permessiPredefiniti() {
  mode_t maschera = ::umask(0);
  ::umask(maschera);
  return 0666 & ~maschera;
}

// The permissions the new file takes: those of the file it replaces, or the default ones. A file
// the user may not write is refused, as opening it for writing would refuse it.
mode_t permessiPer(const std::filesystem::path& destinazione) {
  struct stat st;
  if (::lstat(destinazione.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return permessiPredefiniti();
  int fd = ::open(destinazione.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw erroreFile("impossibile scrivere il file", destinazione, errno);
  ::close(fd);
  return st.st_mode & 0777;
}
}  // namespace

ScrittoreTesto::ScrittoreTesto(std::filesystem::path destinazione)
    : destinazione_(std::move(destinazione)) {
  mode_t permessi = permessiPer(destinazione_);
  rimuoviAbbandonati(destinazione_);
  fd_ = creaTemporaneo(destinazione_, permessi, temporaneo_);
  if (fd_ < 0) throw erroreFile("impossibile creare il file", destinazione_, errno);
  if (!temporaneo_.empty()) registrato_ = std::make_unique<TemporaneoRegistrato>(temporaneo_);
  capacita_ = kIniziale;
  dati_ = std::make_unique_for_overwrite<char[]>(capacita_);
}

ScrittoreTesto::ScrittoreTesto() {
  capacita_ = kMemoria;
  dati_ = std::make_unique_for_overwrite<char[]>(capacita_);
}

ScrittoreTesto::~ScrittoreTesto() {
  // The file is thrown away: an error of its last write no longer matters.
  sfondo_.concludi();
  if (fd_ >= 0) {
    ::close(fd_);
    if (!temporaneo_.empty()) ::unlink(temporaneo_.c_str());
    registrato_.reset();
  }
}

void ScrittoreTesto::riga(std::string_view testo) {
  aggiungiTesto(testo);
  fineRiga();
}

void ScrittoreTesto::fineRiga() {
  aggiungiTesto("\r\n");
  if (usati_ >= kSoglia && fd_ >= 0) svuota();
}

// A writer outgrowing the room it started with, or a line longer than the room left after the
// threshold.
void ScrittoreTesto::allarga(std::size_t n) {
  std::size_t capacita = std::max(2 * capacita_, usati_ + n);
  std::unique_ptr<char[]> dati = std::make_unique_for_overwrite<char[]>(capacita);
  std::memcpy(dati.get(), dati_.get(), usati_);
  dati_ = std::move(dati);
  capacita_ = capacita;
}

void ScrittoreTesto::svuota() {
  sfondo_.attendi();
  if (!inScrittura_.dati) {
    inScrittura_.dati = std::make_unique_for_overwrite<char[]>(capacita_);
    inScrittura_.capacita = capacita_;
  }
  std::swap(dati_, inScrittura_.dati);
  std::swap(capacita_, inScrittura_.capacita);
  std::string_view pezzo(inScrittura_.dati.get(), std::exchange(usati_, 0));
  sfondo_.affida([this, pezzo] { scriviTutto(fd_, pezzo, destinazione_); });
}

void ScrittoreTesto::scriviOra() {
  sfondo_.attendi();
  scriviTutto(fd_, std::string_view(dati_.get(), usati_), destinazione_);
  usati_ = 0;
}

void ScrittoreTesto::accoda(std::string_view righe) {
  if (fd_ < 0) return aggiungiTesto(righe);
  scriviOra();
  scriviTutto(fd_, righe, destinazione_);
}

std::uintmax_t ScrittoreTesto::posizione() {
  if (fd_ < 0) return usati_;
  scriviOra();
  off_t dove = ::lseek(fd_, 0, SEEK_CUR);
  if (dove < 0) throw erroreFile("errore di scrittura del file", destinazione_, errno);
  return static_cast<std::uintmax_t>(dove);
}

void ScrittoreTesto::riportaA(std::uintmax_t posizione) {
  if (fd_ < 0) {
    usati_ = std::min<std::uintmax_t>(posizione, usati_);
    return;
  }
  scriviOra();
  auto dove = static_cast<off_t>(posizione);
  if (::ftruncate(fd_, dove) != 0 || ::lseek(fd_, dove, SEEK_SET) < 0)
    throw erroreFile("errore di scrittura del file", destinazione_, errno);
}

namespace {
// The folder's entry for the renamed file on the disk too. The new file is in place by then
// whether this succeeds or not: there is nothing left to report.
void sincronizzaCartella(const std::filesystem::path& file) {
  std::filesystem::path cartella = file.parent_path();
  int fd = ::open(cartella.empty() ? "." : cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
}  // namespace

void ScrittoreTesto::conferma() {
  scriviOra();
  // On the disk before it takes the target's place: after a power loss the target is the old
  // file or the new one, never an empty one.
  if (::fsync(fd_) != 0) throw erroreFile("errore di scrittura del file", destinazione_, errno);
  if (temporaneo_.empty()) {
    if (!daiNome(fd_, destinazione_, temporaneo_))
      throw erroreFile("impossibile creare il file", destinazione_, errno);
    registrato_ = std::make_unique<TemporaneoRegistrato>(temporaneo_);
  }
  if (::rename(temporaneo_.c_str(), destinazione_.c_str()) != 0) {
    int err = errno;
    ::unlink(temporaneo_.c_str());
    temporaneo_.clear();
    throw erroreFile("impossibile sostituire il file", destinazione_, err);
  }
  registrato_.reset();
  sincronizzaCartella(destinazione_);
  // Written and synced: closing it can no longer lose what it holds. The lock goes with it.
  ::close(std::exchange(fd_, -1));
}

namespace {
// What ends the file's last line, before `fine`, when it has no end: the LF of a CR LF cut after
// its CR, or the mark of a line cut short and a CR LF. Nothing for a file that cannot be read
// back: nothing is added to it on a guess.
std::string chiusuraCoda(int fd, off_t fine, std::string_view segnoInterrotta) {
  char coda[2];
  off_t n = std::min<off_t>(fine, 2);
  if (n == 0 || ::pread(fd, coda, static_cast<std::size_t>(n), fine - n) != n) return {};
  if (coda[n - 1] == '\n') return {};
  if (coda[n - 1] == '\r') return "\n";
  return std::string(segnoInterrotta) + "\r\n";
}

// Refused as a symbolic link is: a second name given to a file outside the folder (a hard link)
// would carry what is written there, and a pipe or a device is not a file to append lines to.
void rifiutaSeCondiviso(int fd, const std::filesystem::path& percorso) {
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    int err = errno;
    ::close(fd);
    throw erroreFile("impossibile aprire il file", percorso, err);
  }
  if (S_ISREG(st.st_mode) && st.st_nlink <= 1) return;
  ::close(fd);
  if (!S_ISREG(st.st_mode))
    throw erroreNonOrdinario("impossibile aprire il file", percorso, st.st_mode);
  throw ErroreVorlane("impossibile aprire il file '" + testoPercorso(percorso) +
                      "': ha pi\xF9 di un nome (un collegamento fisico)");
}

// Held while a file is appended to and, when the append fails, cut back: every copy of the
// program appends under it, so the size seen under it is the file's end for as long as it is
// held. False when the file system keeps no such locks.
bool blocca(int fd) {
  while (::flock(fd, LOCK_EX) != 0)
    if (errno != EINTR) return false;
  return true;
}
}  // namespace

void aggiungiAlFile(const std::filesystem::path& percorso, std::string_view testo,
                    std::string_view segnoInterrotta) {
  // Never through a symbolic link: one planted at the file's name would carry what is written
  // to a file anywhere else.
  // Nor waiting on a pipe of that name for a reader.
  constexpr int kModo = O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int fd = ::open(percorso.c_str(), O_RDWR | kModo, 0666);
  if (fd < 0 && errno == EACCES) fd = ::open(percorso.c_str(), O_WRONLY | kModo, 0666);
  if (fd < 0) throw erroreFile("impossibile aprire il file", percorso, errno);
  rifiutaSeCondiviso(fd, percorso);
  bool bloccato = blocca(fd);
  struct stat st;
  off_t prima = ::fstat(fd, &st) == 0 ? st.st_size : -1;
  try {
    // A last line without its end was cut short (a copy of the program killed while it
    // appended, a hand edit): it is ended with a mark, so that it is not read as a whole line.
    if (prima > 0) scriviTutto(fd, chiusuraCoda(fd, prima, segnoInterrotta), percorso);
    scriviTutto(fd, testo, percorso);
  } catch (...) {
    // A write cut short (a full disk) leaves no partial line: the file goes back to what it held
    // when the lock was taken. Without the lock, another copy may have appended since: what was
    // written stays, and the next append marks its unended line.
    if (bloccato && prima >= 0 && ::ftruncate(fd, prima) != 0) {
      // Nothing more can be done; the error being reported is the write's.
    }
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) throw erroreFile("errore di scrittura del file", percorso, errno);
}

}  // namespace vorlane
