#include "haplotype/report_multiplo.h"

#include "app/errore.h"
#include "haplotype/report_comune.h"
#include "report/html.h"
#include "text/testo.h"

namespace vorlane {
namespace {

void riassunto(ScrittoreTesto& pagina, const StatoVorlane& stato, const Porta& porta) {
  riassuntoConfronto(pagina, stato, porta, {22, 23, 27, 29, 30},
                     {stato.citazioneRiferimento, nomeBaseReport(stato.fileCampione)});
}

// The result table's cells carry their content one blank deeper than the summary's.
void cellaRisultato(ScrittoreTesto& pagina, const std::string& contenuto) {
  cella(pagina, "                      " + contenuto);
}

void risultati(ScrittoreTesto& pagina, const StatoVorlane& stato) {
  aperturaTabellaRiassunto(pagina);
  pagina.riga("               <TR BGCOLOR=#579B9B>");
  cellaRisultato(pagina, "<B>id</B>");
  cellaRisultato(pagina, "<B>" + htmlTesto(stato.messaggi[55]) + "</B>");
  cellaRisultato(pagina, "<B>" + htmlTesto(stato.messaggi[24]) + "</B>");
  pagina.riga("               </TR>");
  for (const RisultatoCampione& r : stato.risultatiMultipli) {
    pagina.riga("               <TR>");
    cellaRisultato(pagina, htmlTesto(r.identificativo));
    cellaRisultato(pagina, htmlTesto(r.aplotipo));
    cellaRisultato(pagina, testoNumero(r.numeroMutazioni));
    pagina.riga("               </TR>");
  }
  pagina.riga("          </TABLE>");
  pagina.riga("     <BR>");
}

}  // namespace

void ScriviHTMLMultiplo(StatoVorlane& stato, Porta& porta) {
  procedura("ScriviHTMLMultiplo", [&] {
    scriviPaginaConfronto(stato, porta, "Vorlane - Tabella comparativa", [&](ScrittoreTesto& p) {
      riassunto(p, stato, porta);
      risultati(p, stato);
    });
  });
}

}  // namespace vorlane
