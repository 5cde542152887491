#include "sequence/riferimento.h"

#include "base/errore.h"
#include "stato/messaggi.h"

namespace vorlane {

namespace {
constexpr char kTesto[] =
#include "sequence/rcrs.inc"
    ;

constexpr bool soloBasiMinuscole(std::string_view testo) {
  for (char c : testo)
    if (c != 'g' && c != 'a' && c != 'c' && c != 't' && c != 'x') return false;
  return true;
}
// Checked when the program is built, so that start-up takes the text as it stands.
static_assert(soloBasiMinuscole(std::string_view(kTesto, sizeof kTesto - 1)));
static_assert(sizeof kTesto - 1 == kUltimaPosizione);
}  // namespace

std::string_view testoRiferimento() {
  return std::string_view(kTesto, sizeof kTesto - 1);
}

void CaricaSequenzaRiferimento(StatoVorlane& stato, Porta& porta) {
  procedura("CaricaSequenzaRiferimento", [&] {
    std::string& rif = stato.sequenzaRiferimento;
    rif.assign(1, '\0');
    rif.append(testoRiferimento());
    stato.citazioneRiferimento = kCitazioneRiferimento;
    porta.impostaTesto(
        Controllo::Label_FileSequenzaRiferimento,
        stato.messaggi[msg::sequenzaDiRiferimento] + ": " + stato.citazioneRiferimento);
  });
}

}  // namespace vorlane
