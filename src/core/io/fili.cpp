#include "io/fili.h"

#include <pthread.h>
#include <sched.h>
#include <tbb/global_control.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace vorlane {
namespace {

std::optional<std::size_t> numeroPositivo(std::string_view testo) {
  std::size_t n = 0;
  auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), n);
  if (errore != std::errc() || fine != testo.data() + testo.size() || n == 0) return std::nullopt;
  return n;
}

// "quota period" of cgroup v2: the processors' worth of time the group may use, rounded up.
std::optional<std::size_t> processoriDellaQuota(std::string_view quota) {
  std::size_t spazio = quota.find(' ');
  if (spazio == std::string_view::npos) return std::nullopt;
  std::string_view periodo = quota.substr(spazio + 1);
  while (!periodo.empty() && (periodo.back() == '\n' || periodo.back() == ' '))
    periodo.remove_suffix(1);
  auto q = numeroPositivo(quota.substr(0, spazio));
  auto p = numeroPositivo(periodo);
  if (!q || !p) return std::nullopt;  // "max": no quota
  return (*q + *p - 1) / *p;
}

std::size_t processoriConcessi() {
  cpu_set_t insieme;
  CPU_ZERO(&insieme);
  if (::sched_getaffinity(0, sizeof insieme, &insieme) != 0) return 1;
  return static_cast<std::size_t>(CPU_COUNT(&insieme));
}

std::string quotaCgroup() {
  std::ifstream file("/sys/fs/cgroup/cpu.max");
  std::string riga;
  std::getline(file, riga);
  return riga;
}

void* nulla(void*) {
  return nullptr;
}

}  // namespace

std::size_t filiAvviabili(std::size_t voluti) {
  pthread_attr_t attributi;
  if (voluti < 2 || ::pthread_attr_init(&attributi) != 0) return 1;
  auto pila = tbb::global_control::active_value(tbb::global_control::thread_stack_size);
  ::pthread_attr_setstacksize(&attributi, pila);
  std::vector<pthread_t> avviati;
  avviati.reserve(voluti - 1);
  pthread_t filo;
  while (avviati.size() + 1 < voluti && ::pthread_create(&filo, &attributi, nulla, nullptr) == 0)
    avviati.push_back(filo);
  for (pthread_t f : avviati) ::pthread_join(f, nullptr);
  ::pthread_attr_destroy(&attributi);
  return avviati.size() + 1;
}

std::size_t filiDa(std::size_t processori, std::string_view quota,
                   std::optional<std::string_view> richiesti) {
  std::size_t fili = processori > 0 ? processori : 1;
  if (auto q = processoriDellaQuota(quota); q && *q < fili) fili = *q;
  if (richiesti) {
    if (auto r = numeroPositivo(*richiesti); r && *r < fili) fili = *r;
  }
  return fili;
}

std::size_t filiMotore() {
  static const std::size_t fili = [] {
    const char* richiesti = std::getenv("VORLANE_FILI");
    return filiAvviabili(
        filiDa(processoriConcessi(), quotaCgroup(),
               richiesti ? std::optional<std::string_view>(richiesti) : std::nullopt));
  }();
  return fili;
}

tbb::task_arena& arenaMotore() {
  static tbb::task_arena arena(static_cast<int>(filiMotore()));
  return arena;
}

}  // namespace vorlane
