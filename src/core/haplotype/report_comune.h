#pragma once
// What the two comparison pages share: their file, the "da ... a ..." values, the closing box.

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/porta.h"
#include "io/scrittura.h"
#include "stato/messaggi.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// html/Confronto_<name>.htm, the name taken from fileCampione: a single and a multiple
// comparison of files with the same name write the same page.
std::filesystem::path percorsoReportConfronto(const StatoVorlane& stato);
// The summary table of a comparison page: a header row of the messages `etichette`, and a data row
// of `valori` followed by the three "da ... a ..." pairs of the mutation-count range, the analysis
// interval and the percentage range.
void riassuntoConfronto(ScrittoreTesto& pagina, const StatoVorlane& stato, const Caselle& caselle,
                        std::initializer_list<msg::Messaggio> etichette,
                        std::initializer_list<std::string> valori);
// A comparison page being written: the frame opened with `titolo`, the body written into
// `testo()`. `concludi` closes the frame, puts the page in place of any earlier one, puts the
// default pointer back and announces the page: msg::rapportoHtmlSalvato, its path and
// msg::elaborazioneCompletata, with the information icon. A page not concluded is thrown away.
class PaginaConfronto {
 public:
  PaginaConfronto(const StatoVorlane& stato, std::string_view titolo);
  ScrittoreTesto& testo() { return pagina_; }
  void concludi(const StatoVorlane& stato, Porta& porta);

 private:
  std::filesystem::path file_;
  ScrittoreTesto pagina_;
};

// The whole page at once: the frame with `titolo` around what `corpo` writes, concluded.
void scriviPaginaConfronto(const StatoVorlane& stato, Porta& porta, std::string_view titolo,
                           const std::function<void(ScrittoreTesto&)>& corpo);

}  // namespace vorlane
