#include "haplotype/report_comune.h"

#include "report/html.h"
#include "stato/messaggi.h"
#include "text/testo.h"

namespace vorlane {

std::filesystem::path percorsoReportConfronto(const StatoVorlane& stato) {
  return stato.cartellaHtml /
         percorsoDaTesto("Confronto_" + nomeBaseReport(stato.fileCampione) + ".htm");
}

namespace {
std::string coppiaDaA(const std::string& da, const std::string& a) {
  return "da " + da + " a " + a;
}
}  // namespace

void riassuntoConfronto(ScrittoreTesto& pagina, const StatoVorlane& stato, const Caselle& caselle,
                        std::initializer_list<msg::Messaggio> etichette,
                        std::initializer_list<std::string> valori) {
  const Impostazioni& imp = stato.impostazioni;
  aperturaTabellaRiassunto(pagina);
  pagina.riga("               <TR BGCOLOR=#579B9B>");
  for (msg::Messaggio n : etichette) cellaIntestazione(pagina, stato.messaggi[n]);
  pagina.riga("               </TR>");
  pagina.riga("               <TR>");
  for (const std::string& v : valori) cellaDati(pagina, v);
  cellaDati(pagina, coppiaDaA(imp.NumeroMutazioniDa, imp.NumeroMutazioniA));
  cellaDati(pagina, coppiaDaA(caselle.da, caselle.a));
  cellaDati(pagina, coppiaDaA(imp.PercentoDa, imp.PercentoA));
  pagina.riga("               </TR>");
  pagina.riga("           </TABLE>");
  pagina.riga("     <BR>");
}

PaginaConfronto::PaginaConfronto(const StatoVorlane& stato, std::string_view titolo)
    : file_(percorsoReportConfronto(stato)), pagina_(file_) {
  aperturaPagina(pagina_, titolo);
}

void PaginaConfronto::concludi(const StatoVorlane& stato, Porta& porta) {
  chiusuraPagina(pagina_);
  pagina_.conferma();
  porta.puntatoreOccupato(false);
  const auto& m = stato.messaggi;
  porta.messaggio(m[msg::rapportoHtmlSalvato] + "\r\n" + testoPercorso(file_) + "\r\n" +
                      m[msg::elaborazioneCompletata],
                  m[msg::vorlane], Icona::informazione);
}

void scriviPaginaConfronto(const StatoVorlane& stato, Porta& porta, std::string_view titolo,
                           const std::function<void(ScrittoreTesto&)>& corpo) {
  PaginaConfronto pagina(stato, titolo);
  corpo(pagina.testo());
  pagina.concludi(stato, porta);
}

}  // namespace vorlane
