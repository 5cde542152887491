#pragma once
// A thread of its own for a large file's system calls: while the kernel copies one buffer into
// or out of the page cache, the program fills or reads the next, so on two cores a large file
// costs little more than the work done on its bytes. At most one piece of work is under way, and
// the thread starts with the first piece handed over: a small file, written or read in one go,
// never starts it.

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>

#include "text/filo.h"

namespace vorlane {

class LavoroSfondo {
 public:
  LavoroSfondo() = default;
  // Waits for the work under way; what it threw is dropped (see concludi).
  ~LavoroSfondo();
  LavoroSfondo(const LavoroSfondo&) = delete;
  LavoroSfondo& operator=(const LavoroSfondo&) = delete;

  // Waits for the work handed over before, rethrowing what it threw, then starts `lavoro`.
  void affida(std::function<void()> lavoro);
  // Waits for the work handed over; rethrows what it threw.
  void attendi();
  // The same, dropping what it threw: for an owner that is being taken down, whose error is
  // already on its way or whose file is being thrown away.
  void concludi() noexcept;

 private:
  void ciclo();

  std::mutex mutex_;
  std::condition_variable cambiato_;
  std::function<void()> lavoro_;
  std::exception_ptr errore_;
  bool occupato_ = false;
  bool fine_ = false;
  // Last: it must stop before the members it uses go.
  Filo thread_;
};

}  // namespace vorlane
