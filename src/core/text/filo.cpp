#include "text/filo.h"

#include <cerrno>
#include <memory>
#include <system_error>
#include <utility>

namespace vorlane {
namespace {

struct Partenza {
  std::function<void()> corpo;
  bool cambia;
  cpu_set_t poi;
};

void* parti(void* dato) noexcept {
  std::unique_ptr<Partenza> p(static_cast<Partenza*>(dato));
  if (p->cambia) ::sched_setaffinity(0, sizeof p->poi, &p->poi);
  p->corpo();
  return nullptr;
}

// The calling thread's processors, and apart from them those other than the one it is on; false
// when there is no other.
bool processori(cpu_set_t& tutti, cpu_set_t& altri) {
  CPU_ZERO(&tutti);
  if (::sched_getaffinity(0, sizeof tutti, &tutti) != 0) return false;
  int qui = ::sched_getcpu();
  if (qui < 0 || qui >= CPU_SETSIZE || !CPU_ISSET(qui, &tutti) || CPU_COUNT(&tutti) < 2)
    return false;
  altri = tutti;
  CPU_CLR(qui, &altri);
  return true;
}

}  // namespace

void Filo::avvia(std::function<void()> corpo) {
  cpu_set_t tutti, altri;
  bool altrove = processori(tutti, altri);
  avvia(std::move(corpo), altrove ? &altri : nullptr, altrove ? &tutti : nullptr);
}

void Filo::avvia(std::function<void()> corpo, const cpu_set_t* dove, const cpu_set_t* poi) {
  auto partenza = std::make_unique<Partenza>(Partenza{std::move(corpo), poi != nullptr, {}});
  if (poi) partenza->poi = *poi;
  pthread_attr_t attributi;
  ::pthread_attr_init(&attributi);
  if (dove) ::pthread_attr_setaffinity_np(&attributi, sizeof *dove, dove);
  int errore = ::pthread_create(&id_, &attributi, parti, partenza.get());
  ::pthread_attr_destroy(&attributi);
  // A processor taken offline since it was read is refused: the thread then starts anywhere.
  if (errore == EINVAL && dove) errore = ::pthread_create(&id_, nullptr, parti, partenza.get());
  if (errore != 0) throw std::system_error(errore, std::generic_category(), "pthread_create");
  partenza.release();
  attivo_ = true;
}

void Filo::attendi() noexcept {
  if (!attivo_) return;
  ::pthread_join(id_, nullptr);
  attivo_ = false;
}

Separazione::Separazione() {
  if (!processori(prima_, altri_)) return;
  cpu_set_t qui;
  CPU_XOR(&qui, &prima_, &altri_);
  separa_ = ::sched_setaffinity(0, sizeof qui, &qui) == 0;
}

Separazione::~Separazione() {
  if (separa_) ::sched_setaffinity(0, sizeof prima_, &prima_);
}

void Separazione::avvia(Filo& filo, std::function<void()> corpo) {
  filo.avvia(std::move(corpo), separa_ ? &altri_ : nullptr, nullptr);
}

}  // namespace vorlane
