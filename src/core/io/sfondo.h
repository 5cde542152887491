#pragma once
// Work handed to the engine's threads (io/fili.h) while the caller goes on: a large file's
// system calls, so that while the kernel copies one buffer into or out of the page cache the
// program fills or reads the next. At most one piece of work is under way. With a single thread
// the work runs when it is waited for.

#include <functional>
#include <memory>

namespace vorlane {

class LavoroSfondo {
 public:
  LavoroSfondo();
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
  struct Gruppo;
  std::unique_ptr<Gruppo> gruppo_;
  bool occupato_ = false;
};

}  // namespace vorlane
