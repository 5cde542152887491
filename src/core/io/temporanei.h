#pragma once
// The temporary files outputs are built in, removed when the program is stopped by SIGINT,
// SIGTERM or SIGHUP before it renames them over their targets: a stopped run leaves neither a
// half-written file nor a hidden one. The handlers are installed with the first temporary file,
// for the signals whose action is still the default one (a program that handles them itself
// keeps its own handling), and then let the signal end the program as it would have.

#include <sys/types.h>

#include <filesystem>

namespace vorlane {

// The name of the temporary file for `destinazione`, a pattern for mkstemp ending in "XXXXXX",
// in the same folder: hidden, and no longer than the target's own name whenever that one is too
// long for a name with a prefix and a suffix (NAME_MAX bytes).
std::filesystem::path modelloTemporaneo(const std::filesystem::path& destinazione);

// Removes the temporary files of `destinazione` that no copy of the program is writing: what a
// run killed by SIGKILL, the system running out of memory or a power loss left behind. A file
// being written is locked by its writer (see creaTemporaneo), and a lock ends with its process.
void rimuoviAbbandonati(const std::filesystem::path& destinazione);
// A locked file to write `destinazione` in, with the permissions `permessi`: without a name, so
// that a killed run leaves nothing, where the file system makes such files; otherwise under the
// name of modelloTemporaneo, which is put in `nome`. -1, errno telling why, when neither can be
// made.
int creaTemporaneo(const std::filesystem::path& destinazione, mode_t permessi,
                   std::filesystem::path& nome);
// Gives the unnamed file `fd` a temporary name beside `destinazione`, to be renamed over it;
// false, errno telling why, when it cannot.
bool daiNome(int fd, const std::filesystem::path& destinazione, std::filesystem::path& nome);

// While it lives, `percorso` is removed if the program is stopped by one of those signals.
class TemporaneoRegistrato {
 public:
  explicit TemporaneoRegistrato(const std::filesystem::path& percorso);
  ~TemporaneoRegistrato();
  TemporaneoRegistrato(const TemporaneoRegistrato&) = delete;
  TemporaneoRegistrato& operator=(const TemporaneoRegistrato&) = delete;

 private:
  int posto_ = -1;
};

}  // namespace vorlane
