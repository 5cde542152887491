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
void cellaRisultato(std::string& righe, std::string_view contenuto) {
  righeCella(righe, "                      ", contenuto);
}

// One row of three cells, written with one call: a run of 100,000 samples makes as many rows.
void rigaRisultato(ScrittoreTesto& pagina, std::string& righe, std::string_view apertura,
                   std::string_view identificativo, std::string_view aplotipo,
                   std::string_view mutazioni) {
  righe.assign(apertura);
  cellaRisultato(righe, identificativo);
  cellaRisultato(righe, aplotipo);
  cellaRisultato(righe, mutazioni);
  righe.append("               </TR>\r\n");
  scriviRighe(pagina, righe);
}

void risultati(ScrittoreTesto& pagina, const StatoVorlane& stato) {
  aperturaTabellaRiassunto(pagina);
  std::string righe;
  rigaRisultato(pagina, righe, "               <TR BGCOLOR=#579B9B>\r\n", "<B>id</B>",
                "<B>" + htmlTesto(stato.messaggi[55]) + "</B>",
                "<B>" + htmlTesto(stato.messaggi[24]) + "</B>");
  for (const RisultatoCampione& r : stato.risultatiMultipli)
    rigaRisultato(pagina, righe, "               <TR>\r\n", htmlTesto(r.identificativo),
                  htmlTesto(r.aplotipo), testoNumero(r.numeroMutazioni));
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
