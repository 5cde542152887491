#include "haplotype/report_singolo.h"

#include <algorithm>

#include "app/errore.h"
#include "haplotype/legenda.h"
#include "haplotype/report_comune.h"
#include "report/html.h"
#include "text/testo.h"

namespace vorlane {
namespace {

constexpr int kPosizioniPerRiga = 60;

void riassunto(ScrittoreTesto& pagina, const StatoVorlane& stato, const Porta& porta) {
  const auto& m = stato.messaggi;
  const Impostazioni& imp = stato.impostazioni;
  aperturaTabellaRiassunto(pagina);
  pagina.riga("               <TR BGCOLOR=#579B9B>");
  for (int n : {22, 23, 55, 24, 27, 29, 30}) cellaIntestazione(pagina, m[n]);
  pagina.riga("               </TR>");
  pagina.riga("               <TR>");
  cellaDati(pagina, m[83]);
  cellaDati(pagina, nomeBaseReport(stato.fileCampione));
  cellaDati(pagina, stato.aplotipoTrovato);
  cellaDati(pagina, testoNumero(stato.numeroMutazioni));
  cellaDati(pagina, coppiaDaA(imp.NumeroMutazioniDa, imp.NumeroMutazioniA));
  cellaDati(pagina, coppiaDaA(porta.testo(Controllo::Text_PosizioneMutazioneDa),
                              porta.testo(Controllo::Text_PosizioneMutazioneA)));
  cellaDati(pagina, coppiaDaA(imp.PercentoDa, imp.PercentoA));
  pagina.riga("               </TR>");
  pagina.riga("           </TABLE>");
  pagina.riga("     <BR>");
}

void cellaTitolo(ScrittoreTesto& pagina, const char* apertura, const std::string& contenuto) {
  pagina.riga(apertura);
  pagina.riga("                  <P>");
  pagina.riga(contenuto);
  pagina.riga("                  </P>");
  pagina.riga("                </TD>");
}

char carattere(const std::string& sequenza, int p) {
  return static_cast<std::size_t>(p) < sequenza.size() ? sequenza[static_cast<std::size_t>(p)]
                                                       : ' ';
}

// One cell per position; a mutated one is red and its title names the reference base.
void cellaPosizione(ScrittoreTesto& pagina, const StatoVorlane& stato, int p) {
  std::string numero = " " + testoNumero(p);
  std::string base = htmlTesto(std::string(1, carattere(stato.sequenzaCampione, p)));
  bool mutata = static_cast<std::size_t>(p) < stato.marcaMutazioni.size() &&
                stato.marcaMutazioni[static_cast<std::size_t>(p)] == '*';
  if (mutata) {
    std::string rif = htmlTesto(std::string(1, carattere(stato.sequenzaRiferimento, p)));
    pagina.righe("                <TD BGCOLOR=red><ACRONYM title='", numero, " - ", rif, "'><P>",
                 base, "</P></TD>");
  } else {
    pagina.righe("                <TD BGCOLOR=#C6D8EB><ACRONYM title=", numero, "><P>", base,
                 "</P></TD>");
  }
}

void grigliaBasi(ScrittoreTesto& pagina, const StatoVorlane& stato) {
  pagina.riga("      <TABLE border cellspacing=\"1\" cellpadding=\"4\">");
  pagina.riga("              <TR>");
  cellaTitolo(pagina, "                <TD>", "                    <B>Pos</B>");
  cellaTitolo(pagina, "                <TD colspan=61>",
              "                    <B>" + htmlTesto(stato.messaggi[89]) + "</B>");
  pagina.riga("              </TR>");
  for (int inizio = 1; inizio <= kUltimaPosizione; inizio += kPosizioniPerRiga) {
    pagina.riga("              <TR>");
    cellaTitolo(pagina, "                <TD>", " " + testoNumero(inizio));
    int fine = std::min(inizio + kPosizioniPerRiga - 1, kUltimaPosizione);
    for (int p = inizio; p <= fine; ++p) cellaPosizione(pagina, stato, p);
    pagina.riga("              </TR>");
  }
  pagina.riga("          </TABLE>");
}

}  // namespace

void ScriviHTML(StatoVorlane& stato, Porta& porta) {
  procedura("ScriviHTML", [&] {
    std::filesystem::path file = percorsoReportConfronto(stato);
    ScrittoreTesto pagina(file);
    aperturaPagina(pagina, stato.messaggi[84]);
    riassunto(pagina, stato, porta);
    scriviLegendaConfronto(pagina, stato);
    grigliaBasi(pagina, stato);
    chiusuraPagina(pagina);
    pagina.conferma();
    annunciaReport(stato, porta, file);
  });
}

}  // namespace vorlane
