#pragma once
// How many threads the engine works on, and the oneTBB arena they belong to. Every piece of
// parallel or background work of the program runs in this arena: the processors the process may
// run on (its affinity mask and its cgroup's CPU quota), at most VORLANE_FILI when that is set.

#include <cstddef>
#include <optional>
#include <string_view>

#include <tbb/task_arena.h>

namespace vorlane {

// The threads for `processori` processors in the affinity mask, a cgroup `cpu.max` text
// ("max 100000", "150000 100000", empty when there is none) and the value of VORLANE_FILI (none
// when unset). Never less than 1; a VORLANE_FILI that is not a positive number is ignored.
std::size_t filiDa(std::size_t processori, std::string_view quota,
                   std::optional<std::string_view> richiesti);

// How many of `voluti` threads can run at once here: the calling thread and as many others, with
// oneTBB's stack size, as the system lets this process start (an address-space or process limit
// may let none).
std::size_t filiAvviabili(std::size_t voluti);

// The threads of this process, worked out once: filiDa's, as far as they can be started.
std::size_t filiMotore();

// The arena of filiMotore() threads, the calling thread among them.
tbb::task_arena& arenaMotore();

}  // namespace vorlane
