#include "app/segnalazione.h"

#include "log/registro.h"

namespace vorlane {

std::string testoSegnalazione(const StatoVorlane& stato, const ErroreVorlane& errore) {
  return stato.messaggi[20] + " " + errore.etichetta() + "\r\n" + errore.what();
}

void segnalaErrore(const StatoVorlane& stato, Porta& porta, const ErroreVorlane& errore) {
  porta.puntatoreOccupato(false);
  porta.messaggio(testoSegnalazione(stato, errore), "ERRORE", Icona::critica);
}

bool eseguiEvento(StatoVorlane& stato, Porta& porta, const char* etichetta,
                  const std::function<void()>& evento) {
  try {
    procedura(etichetta, [&] {
      evento();
      SvuotaRegistro(stato);
    });
    return true;
  } catch (const ErroreVorlane& e) {
    try {
      SvuotaRegistro(stato);
    } catch (const ErroreVorlane&) {
      // The log is out of reach; the report below is what matters now.
    }
    stato.registro.testo.clear();
    segnalaErrore(stato, porta, e);
    return false;
  }
}

}  // namespace vorlane
