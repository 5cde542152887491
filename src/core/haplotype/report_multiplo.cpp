#include "haplotype/report_multiplo.h"

#include "app/errore.h"
#include "haplotype/report_comune.h"
#include "io/in_ordine.h"
#include "report/html.h"
#include "text/testo.h"

namespace vorlane {
namespace {

void riassunto(ScrittoreTesto& pagina, const StatoVorlane& stato, const Porta& porta) {
  riassuntoConfronto(pagina, stato, porta, {22, 23, 27, 29, 30},
                     {stato.citazioneRiferimento, nomeBaseReport(stato.fileCampione)});
}

// The result table's cells carry their content one blank deeper than the summary's.
constexpr std::string_view kRientro = "                      ";
constexpr std::string_view kAperturaRiga = "               <TR>\r\n";
constexpr std::string_view kChiusuraRiga = "               </TR>";

// The fixed text around a result row's three values, put together once per page: a run of
// 100,000 samples makes as many rows.
struct PezziRiga {
  std::string apertura, tra, chiusura;
  PezziRiga() {
    apertura.assign(kAperturaRiga);
    aperturaCella(apertura, kRientro);
    chiusuraCella(tra);
    aperturaCella(tra, kRientro);
    chiusuraCella(chiusura);
    chiusura.append(kChiusuraRiga);
  }
};

void rigaIntestazione(ScrittoreTesto& pagina, const StatoVorlane& stato) {
  std::string righe = "               <TR BGCOLOR=#579B9B>\r\n";
  righeCella(righe, kRientro, "<B>id</B>");
  righeCella(righe, kRientro, "<B>" + htmlTesto(stato.messaggi[55]) + "</B>");
  righeCella(righe, kRientro, "<B>" + htmlTesto(stato.messaggi[24]) + "</B>");
  righe.append(kChiusuraRiga);
  pagina.riga(righe);
}

// One row, built in place in the page's buffer.
void rigaRisultato(ScrittoreTesto& pagina, const PezziRiga& pezzi, const RisultatoCampione& r) {
  pagina.aggiungi(pezzi.apertura);
  aggiungiHtml(pagina, r.identificativo);
  pagina.aggiungi(pezzi.tra);
  aggiungiHtml(pagina, r.aplotipo);
  pagina.aggiungi(pezzi.tra, testoNumero(r.numeroMutazioni), pezzi.chiusura);
  pagina.fineRiga();
}

void risultati(ScrittoreTesto& pagina, const StatoVorlane& stato) {
  aperturaTabellaRiassunto(pagina);
  rigaIntestazione(pagina, stato);
  const PezziRiga pezzi;
  // Rows of about a megabyte at a time (some 400 bytes each), made on the engine's threads.
  const auto& tutti = stato.risultatiMultipli;
  const VociAPezzi voci{tutti.size(), 2500};
  testoInOrdine(pagina, voci.pezzi(), [&](ScrittoreTesto& righe, std::size_t pezzo) {
    for (std::size_t i = voci.inizio(pezzo); i < voci.fine(pezzo); ++i)
      rigaRisultato(righe, pezzi, tutti[i]);
  });
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
