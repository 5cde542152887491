#include "text/sfondo.h"

#include <utility>

namespace vorlane {

LavoroSfondo::~LavoroSfondo() {
  {
    std::lock_guard<std::mutex> blocco(mutex_);
    fine_ = true;
  }
  cambiato_.notify_all();
  thread_.attendi();
}

void LavoroSfondo::affida(std::function<void()> lavoro) {
  attendi();
  std::lock_guard<std::mutex> blocco(mutex_);
  if (!thread_.attivo()) thread_.avvia([this] { ciclo(); });
  lavoro_ = std::move(lavoro);
  occupato_ = true;
  cambiato_.notify_all();
}

void LavoroSfondo::attendi() {
  std::unique_lock<std::mutex> blocco(mutex_);
  cambiato_.wait(blocco, [this] { return !occupato_; });
  if (errore_) std::rethrow_exception(std::exchange(errore_, nullptr));
}

void LavoroSfondo::concludi() noexcept {
  std::unique_lock<std::mutex> blocco(mutex_);
  cambiato_.wait(blocco, [this] { return !occupato_; });
  errore_ = nullptr;
}

void LavoroSfondo::ciclo() {
  std::unique_lock<std::mutex> blocco(mutex_);
  for (;;) {
    cambiato_.wait(blocco, [this] { return occupato_ || fine_; });
    if (!occupato_) return;
    std::function<void()> lavoro = std::move(lavoro_);
    blocco.unlock();
    std::exception_ptr errore;
    try {
      lavoro();
    } catch (...) {
      errore = std::current_exception();
    }
    blocco.lock();
    errore_ = errore;
    occupato_ = false;
    cambiato_.notify_all();
  }
}

}  // namespace vorlane
