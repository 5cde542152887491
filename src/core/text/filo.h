#pragma once
// Threads placed on the machine's processors. Left to itself, the scheduler puts a new thread,
// or one woken by another, on the processor of the thread that started or woke it, which is
// busy, and moves it to an idle one only at a timer tick (up to 4 ms later on a 250 Hz kernel) or,
// on some virtual machines, not while both keep running: work split in two then runs on one
// processor, taking turns.

#include <pthread.h>
#include <sched.h>

#include <functional>

namespace vorlane {

class Filo {
 public:
  Filo() = default;
  // Waits for the thread.
  ~Filo() { attendi(); }
  Filo(const Filo&) = delete;
  Filo& operator=(const Filo&) = delete;

  // Starts `corpo` on a new thread, on a processor other than the caller's when there is one;
  // once running it may be moved anywhere. Only when no thread was started or it was waited for.
  // `corpo` must not throw. Throws std::system_error when no thread can be started.
  void avvia(std::function<void()> corpo);
  bool attivo() const { return attivo_; }
  void attendi() noexcept;

 private:
  friend class Separazione;
  // On the processors `dove` (anywhere when null); given the processors `poi` once running
  // (kept on `dove` when null).
  void avvia(std::function<void()> corpo, const cpu_set_t* dove, const cpu_set_t* poi);

  pthread_t id_{};
  bool attivo_ = false;
};

// While it lives, the thread that made it stays on the processor it is on, and the threads
// started through it stay on the others: two threads sharing a piece of work run at once
// throughout. Nothing is held when the process may use a single processor.
class Separazione {
 public:
  Separazione();
  ~Separazione();
  Separazione(const Separazione&) = delete;
  Separazione& operator=(const Separazione&) = delete;

  void avvia(Filo& filo, std::function<void()> corpo);

 private:
  cpu_set_t prima_{};
  cpu_set_t altri_{};
  bool separa_ = false;
};

}  // namespace vorlane
