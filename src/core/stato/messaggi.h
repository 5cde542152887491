#pragma once
#include <filesystem>

#include "stato/stato.h"

namespace vorlane {

inline constexpr const char* kFileMessaggi = "messaggi.txt";

// Loads messaggi.txt of the current directory into stato.messaggi: "index;text" lines, "/" in
// the first column marks a comment, blank lines are skipped, the last line of an index wins.
void CaricaMessaggi(StatoVorlane& stato);
void caricaMessaggiDa(const std::filesystem::path& file, StatoVorlane& stato);

}  // namespace vorlane
