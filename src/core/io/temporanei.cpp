#include "io/temporanei.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <random>
#include <string>

namespace vorlane {
namespace {

// A fixed table, so that the signal handler only reads memory that is always there. A program
// writes a handful of files at once; past the table's size a file is simply not removed.
struct Posto {
  enum : int { libero, inScrittura, pronto };
  std::atomic<int> stato{libero};
  char percorso[PATH_MAX] = {};
};
constexpr int kPosti = 64;
// Zeros from the start, without a constructor run at start-up to touch their 256 KB.
constinit Posto posti[kPosti]{};

void alSegnale(int segnale) {
  for (Posto& p : posti)
    if (p.stato.load() == Posto::pronto) ::unlink(p.percorso);
  // SA_RESETHAND put the default action back: the signal now ends the program.
  ::raise(segnale);
}

void installaGestori() {
  static std::once_flag fatto;
  std::call_once(fatto, [] {
    for (int segnale : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction attuale {};
      if (::sigaction(segnale, nullptr, &attuale) != 0 || attuale.sa_handler != SIG_DFL ||
          (attuale.sa_flags & SA_SIGINFO))
        continue;
      struct sigaction nuova {};
      nuova.sa_handler = alSegnale;
      ::sigemptyset(&nuova.sa_mask);
      nuova.sa_flags = SA_RESETHAND;
      ::sigaction(segnale, &nuova, nullptr);
    }
  });
}

constexpr std::string_view kCaratteriNome =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Whether `nome` is one that modelloTemporaneo's pattern gives for `modello`'s target.
bool nomeDelModello(std::string_view nome, std::string_view modello) {
  std::size_t fisso = modello.size() - 6;
  if (nome.size() != modello.size() || nome.substr(0, fisso) != modello.substr(0, fisso))
    return false;
  return nome.substr(fisso).find_first_not_of(kCaratteriNome) == std::string_view::npos;
}

bool bloccaSeLibero(int fd) {
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0)
    if (errno != EINTR) return false;
  return true;
}

// The folder of `destinazione`, as a path that names it.
std::filesystem::path cartellaDi(const std::filesystem::path& destinazione) {
  std::filesystem::path cartella = destinazione.parent_path();
  return cartella.empty() ? "." : cartella;
}
}  // namespace

void rimuoviAbbandonati(const std::filesystem::path& destinazione) {
  const std::string modello = modelloTemporaneo(destinazione).filename().native();
  std::error_code ec;
  for (std::filesystem::directory_iterator voce(cartellaDi(destinazione), ec), fine;
       !ec && voce != fine; voce.increment(ec)) {
    if (!nomeDelModello(voce->path().filename().native(), modello)) continue;
    int fd = ::open(voce->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && bloccaSeLibero(fd))
      ::unlink(voce->path().c_str());
    ::close(fd);
  }
}

int creaTemporaneo(const std::filesystem::path& destinazione, mode_t permessi,
                   std::filesystem::path& nome) {
  nome.clear();
  // The unnamed file is named through /proc when it is complete; without /proc it could not be.
  int fd = -1;
  if (::access("/proc/self/fd", X_OK) == 0)
    fd = ::open(cartellaDi(destinazione).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, permessi);
  if (fd < 0) {
    std::string modello = modelloTemporaneo(destinazione).native();
    fd = ::mkstemp(modello.data());
    if (fd < 0) return -1;
    nome = modello;
  }
  ::fchmod(fd, permessi);
  // Locked from the start: rimuoviAbbandonati leaves the file of a live writer alone.
  ::flock(fd, LOCK_EX);
  return fd;
}

bool daiNome(int fd, const std::filesystem::path& destinazione, std::filesystem::path& nome) {
  const std::string origine = "/proc/self/fd/" + std::to_string(fd);
  std::string modello = modelloTemporaneo(destinazione).native();
  std::random_device casuale;
  for (int tentativo = 0; tentativo < 100; ++tentativo) {
    for (char* c = modello.data() + modello.size() - 6; c != modello.data() + modello.size(); ++c)
      *c = kCaratteriNome[casuale() % kCaratteriNome.size()];
    if (::linkat(AT_FDCWD, origine.c_str(), AT_FDCWD, modello.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      nome = modello;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

std::filesystem::path modelloTemporaneo(const std::filesystem::path& destinazione) {
  constexpr std::string_view kPrefisso = ".", kSuffisso = ".XXXXXX";
  std::string nome = destinazione.filename().native();
  std::size_t massimo = NAME_MAX - kPrefisso.size() - kSuffisso.size();
  if (nome.size() > massimo) nome.resize(massimo);
  return destinazione.parent_path() / (std::string(kPrefisso) + nome + std::string(kSuffisso));
}

TemporaneoRegistrato::TemporaneoRegistrato(const std::filesystem::path& percorso) {
  if (percorso.native().size() >= PATH_MAX) return;
  installaGestori();
  for (int i = 0; i < kPosti; ++i) {
    int libero = Posto::libero;
    if (!posti[i].stato.compare_exchange_strong(libero, Posto::inScrittura)) continue;
    std::memcpy(posti[i].percorso, percorso.c_str(), percorso.native().size() + 1);
    posti[i].stato.store(Posto::pronto);
    posto_ = i;
    return;
  }
}

TemporaneoRegistrato::~TemporaneoRegistrato() {
  if (posto_ >= 0) posti[posto_].stato.store(Posto::libero);
}

}  // namespace vorlane
