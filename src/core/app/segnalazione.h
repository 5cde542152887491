#pragma once
// The one place where a failure reaches the user: the common error report.

#include <functional>
#include <string>

#include "base/errore.h"
#include "base/porta.h"
#include "stato/stato.h"

namespace vorlane {

// msg::erroreNellaProcedura, a blank, the label, CR LF, the description.
std::string testoSegnalazione(const Contesto& stato, const ErroreVorlane& errore);
void segnalaErrore(const Contesto& stato, Porta& porta, const ErroreVorlane& errore);

// Runs an event of the program as the procedure `etichetta`. A failure shows the common report
// and ends the event, not the program; log lines written before it still reach the day's log.
// Returns false when the event ended in the report.
bool eseguiEvento(StatoVorlane& stato, Porta& porta, const char* etichetta,
                  const std::function<void()>& evento);

}  // namespace vorlane
