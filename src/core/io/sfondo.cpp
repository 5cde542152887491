#include "io/sfondo.h"

#include <tbb/task_arena.h>
#include <tbb/task_group.h>

#include <utility>

#include "io/fili.h"

namespace vorlane {

struct LavoroSfondo::Gruppo {
  tbb::task_group tasks;
};

LavoroSfondo::LavoroSfondo() : gruppo_(std::make_unique<Gruppo>()) {}

LavoroSfondo::~LavoroSfondo() {
  concludi();
}

void LavoroSfondo::affida(std::function<void()> lavoro) {
  attendi();
  arenaMotore().execute([&] { gruppo_->tasks.run(std::move(lavoro)); });
  occupato_ = true;
}

void LavoroSfondo::attendi() {
  if (!occupato_) return;
  occupato_ = false;
  arenaMotore().execute([&] { gruppo_->tasks.wait(); });
}

void LavoroSfondo::concludi() noexcept {
  try {
    attendi();
  } catch (...) {
    // Dropped: see the header.
  }
}

}  // namespace vorlane
