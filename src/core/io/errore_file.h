#pragma once
// The report of a file operation that failed, naming the file as every message names one.

#include <filesystem>

#include "base/errore.h"

namespace vorlane {

// "what 'path': description of codice", the report of a file operation that failed.
ErroreVorlane erroreFile(const char* cosa, const std::filesystem::path& percorso, int codice);

}  // namespace vorlane
