#include "haplotype/report_comune.h"

#include "report/html.h"
#include "text/testo.h"

namespace vorlane {

std::filesystem::path percorsoReportConfronto(const StatoVorlane& stato) {
  return stato.cartellaHtml /
         percorsoDaTesto("Confronto_" + nomeBaseReport(stato.fileCampione) + ".htm");
}

std::string coppiaDaA(const std::string& da, const std::string& a) {
  return "da " + da + " a " + a;
}

void annunciaReport(const StatoVorlane& stato, Porta& porta, const std::filesystem::path& file) {
  const auto& m = stato.messaggi;
  porta.messaggio(m[90] + "\r\n" + testoPercorso(file) + "\r\n" + m[45], m[48],
                  Icona::informazione);
}

}  // namespace vorlane
