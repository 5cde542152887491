#include "io/temporanei.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>
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

}  // namespace

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
