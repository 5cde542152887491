#include "sequence/riferimento.h"

#include "app/errore.h"
#include "text/testo.h"

namespace vorlane {

std::string_view testoRiferimento() {
  static constexpr char kTesto[] =
#include "sequence/rcrs.inc"
      ;
  return std::string_view(kTesto, sizeof kTesto - 1);
}

void CaricaSequenzaRiferimento(StatoVorlane& stato, Porta& porta) {
  procedura("CaricaSequenzaRiferimento", [&] {
    std::string_view testo = testoRiferimento();
    std::string& rif = stato.sequenzaRiferimento;
    rif.assign(1, '\0');
    rif.reserve(testo.size() + 1);
    for (std::size_t i = 0; i < testo.size(); ++i) {
      char c = minuscola(testo[i]);
      if (c != 'g' && c != 'a' && c != 'c' && c != 't' && c != 'x') continue;
      rif.resize(i + 1, '\0');
      rif.push_back(c);
    }
    stato.citazioneRiferimento = kCitazioneRiferimento;
    porta.impostaTesto(Controllo::Label_FileSequenzaRiferimento,
                       stato.messaggi[54] + ": " + stato.citazioneRiferimento);
  });
}

}  // namespace vorlane
