#include "app/segnalazione.h"

#include <string_view>

#include "log/registro.h"
#include "stato/messaggi.h"

namespace vorlane {

std::string testoSegnalazione(const Contesto& stato, const ErroreVorlane& errore) {
  return stato.messaggi[msg::erroreNellaProcedura] + " " + errore.etichetta() + "\r\n" +
         errore.what();
}

void segnalaErrore(const Contesto& stato, Porta& porta, const ErroreVorlane& errore) {
  porta.puntatoreOccupato(false);
  porta.messaggio(testoSegnalazione(stato, errore), "ERRORE", Icona::critica);
}

bool eseguiEvento(StatoVorlane& stato, Porta& porta, const char* etichetta,
                  const std::function<void()>& evento) {
  try {
    procedura(etichetta, [&] {
      evento();
      stato.registro.svuota();
    });
    return true;
  } catch (const ErroreVorlane& e) {
    segnalaErrore(stato, porta, e);
    // The lines written before the failure still go to the log; a log out of reach is a failure
    // of its own, reported in its turn (unless it is the one just reported).
    try {
      stato.registro.svuota();
    } catch (const ErroreVorlane& registro) {
      if (std::string_view(registro.what()) != e.what()) segnalaErrore(stato, porta, registro);
    }
    stato.registro.scarta();
    return false;
  }
}

}  // namespace vorlane
