#pragma once
// The daily operations log. Lines are collected while an operation runs and appended to the
// day's file in one write per operation (or per megabyte), so a run over a large file does not
// open the log once per line; a line is never put into another day's file than its own.

#include <string>

#include "app/porta.h"
#include "app/stato.h"

namespace vorlane {

std::filesystem::path percorsoRegistro(const StatoVorlane& stato);  // today's log
void ScriviLogOperazioni(StatoVorlane& stato, const std::string& messaggio);
void SvuotaRegistro(StatoVorlane& stato);
// Shows the last block of today's log: the lines from the last one starting with "*".
void VisualizzaLogOperazioni(StatoVorlane& stato, Porta& porta);
// The last block of a log file, each line followed by CR LF.
std::string ultimoBlocco(const std::filesystem::path& registro);

}  // namespace vorlane
