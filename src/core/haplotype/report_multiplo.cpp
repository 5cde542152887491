#include "haplotype/report_multiplo.h"

#include <algorithm>

#include "base/errore.h"
#include "haplotype/report_comune.h"
#include "io/lotti.h"
#include "report/html.h"
#include "stato/messaggi.h"
#include "text/testo.h"

namespace vorlane {
namespace {

void riassunto(ScrittoreTesto& pagina, const StatoVorlane& stato, const Caselle& caselle) {
  riassuntoConfronto(
      pagina, stato, caselle,
      {msg::sequenzaRiferimento, msg::fileSequenzeAnalizzato, msg::intervalloMutazioni,
       msg::intervalloPosizioni, msg::intervalloPercentuale},
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

void rigaIntestazione(ScrittoreTesto& pagina, const Contesto& stato) {
  std::string righe = "               <TR BGCOLOR=#579B9B>\r\n";
  righeCella(righe, kRientro, "<B>id</B>");
  righeCella(righe, kRientro, "<B>" + htmlTesto(stato.messaggi[msg::aplotipo]) + "</B>");
  righeCella(righe, kRientro, "<B>" + htmlTesto(stato.messaggi[msg::mutazioniRilevate]) + "</B>");
  righeCella(righe, kRientro, "<B>" + htmlTesto(stato.messaggi[msg::aplogruppoPhyloTree]) + "</B>");
  righe.append(kChiusuraRiga);
  pagina.riga(righe);
}

// One row, built in place in the page's buffer.
void rigaRisultato(ScrittoreTesto& pagina, const PezziRiga& pezzi, const RisultatoCampione& r) {
  pagina.aggiungi(pezzi.apertura);
  aggiungiHtml(pagina, r.identificativo);
  pagina.aggiungi(pezzi.tra);
  aggiungiHtml(pagina, r.aplotipo);
  pagina.aggiungi(pezzi.tra, testoNumero(r.numeroMutazioni), pezzi.tra);
  aggiungiHtml(pagina, r.aplogruppoAlbero);
  pagina.aggiungi(pezzi.chiusura);
  pagina.fineRiga();
}

}  // namespace

PaginaMultiplo::PaginaMultiplo(const StatoVorlane& stato, const Caselle& caselle)
    : pagina_(stato, "Vorlane - Tabella comparativa") {
  riassunto(pagina_.testo(), stato, caselle);
  aperturaTabellaRiassunto(pagina_.testo());
  rigaIntestazione(pagina_.testo(), stato);
}

void PaginaMultiplo::righe(ScrittoreTesto& testo, std::span<const RisultatoCampione> risultati) {
  // Rows are made one sample at a time as the samples are compared.
  static const PezziRiga pezzi;
  for (const RisultatoCampione& r : risultati) rigaRisultato(testo, pezzi, r);
}

void PaginaMultiplo::accoda(std::string_view righe, std::size_t primo, std::size_t quanti) {
  if (primo != scritti_) return;
  pagina_.testo().accoda(righe);
  scritti_ += quanti;
}

void PaginaMultiplo::concludi(const StatoVorlane& stato, Porta& porta,
                              std::span<const RisultatoCampione> risultati) {
  // Rows of about a megabyte at a time (some 400 bytes each), made on the engine's threads.
  std::span<const RisultatoCampione> resto =
      risultati.subspan(std::min(scritti_, risultati.size()));
  testoInOrdine(pagina_.testo(), resto.size(), 2500,
                [&](ScrittoreTesto& testo, std::size_t da, std::size_t a) {
                  righe(testo, resto.subspan(da, a - da));
                });
  scritti_ += resto.size();
  pagina_.testo().riga("          </TABLE>");
  pagina_.testo().riga("     <BR>");
  pagina_.concludi(stato, porta);
}

void ScriviHTMLMultiplo(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                        std::span<const RisultatoCampione> risultati) {
  procedura("ScriviHTMLMultiplo", [&] {
    PaginaMultiplo pagina(stato, caselle);
    pagina.concludi(stato, porta, risultati);
  });
}

}  // namespace vorlane
