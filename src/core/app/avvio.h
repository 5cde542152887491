#pragma once
#include <filesystem>

#include "base/porta.h"
#include "stato/stato.h"

namespace vorlane {

// Start-up in `cartella` (the working folder): messages, folders, settings, boxes, reference
// and haplotype tables. False when the program must end; the user has been told why.
bool Avvio(StatoVorlane& stato, Porta& porta, const std::filesystem::path& cartella);

}  // namespace vorlane
