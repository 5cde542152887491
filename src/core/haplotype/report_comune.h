#pragma once
// What the two comparison pages share: their file, the "da ... a ..." values, the closing box.

#include <filesystem>
#include <string>

#include "app/porta.h"
#include "app/stato.h"

namespace vorlane {

// html/Confronto_<name>.htm, the name taken from fileCampione: a single and a multiple
// comparison of files with the same name write the same page.
std::filesystem::path percorsoReportConfronto(const StatoVorlane& stato);
// "da " + da + " a " + a
std::string coppiaDaA(const std::string& da, const std::string& a);
// messaggi(90), the page's path and messaggi(45), with the information icon.
void annunciaReport(const StatoVorlane& stato, Porta& porta, const std::filesystem::path& file);

}  // namespace vorlane
