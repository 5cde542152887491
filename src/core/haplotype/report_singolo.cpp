#include "haplotype/report_singolo.h"

#include <algorithm>

#include "base/errore.h"
#include "haplotype/report_comune.h"
#include "report/html.h"
#include "stato/messaggi.h"
#include "text/testo.h"

namespace vorlane {
namespace {

constexpr int kPosizioniPerRiga = 60;

void riassunto(ScrittoreTesto& pagina, const StatoVorlane& stato, const Caselle& caselle,
               const CampioneCaricato& campione) {
  riassuntoConfronto(
      pagina, stato, caselle,
      {msg::sequenzaRiferimento, msg::fileSequenzeAnalizzato, msg::aplotipo, msg::mutazioniRilevate,
       msg::intervalloMutazioni, msg::intervalloPosizioni, msg::intervalloPercentuale},
      {stato.messaggi[msg::citazioneRcrs], nomeBaseReport(stato.fileCampione),
       campione.aplotipoTrovato, testoNumero(campione.numeroMutazioni)});
}

char carattere(const std::string& sequenza, int p) {
  return static_cast<std::size_t>(p) < sequenza.size() ? sequenza[static_cast<std::size_t>(p)]
                                                       : ' ';
}

// The bases the sample inserted after p, joined: "+cc"; empty when it inserted none.
std::string inserite(const CampioneCaricato& campione, int p) {
  std::string testo;
  for (const auto& [dopo, basi] : campione.inserzioni) {
    if (dopo != p) continue;
    if (testo.empty()) testo.push_back('+');
    for (char b : basi) testo.push_back(minuscola(b));
  }
  return testo;
}

// One cell per position; a mutated one is red and its title names the reference base. Bases
// inserted after the position follow its own, with a "+".
void cellaPosizione(ScrittoreTesto& pagina, const Contesto& stato, const CampioneCaricato& campione,
                    int p) {
  std::string numero = std::string(" ").append(testoNumero(p));
  std::string dopo = inserite(campione, p);
  std::string base = htmlTesto(std::string(1, carattere(campione.sequenzaCampione, p)) + dopo);
  bool mutata = !dopo.empty() || (static_cast<std::size_t>(p) < campione.marcaMutazioni.size() &&
                                  campione.marcaMutazioni[static_cast<std::size_t>(p)] == '*');
  if (mutata) {
    std::string rif = htmlTesto(std::string(1, carattere(stato.sequenzaRiferimento, p)));
    pagina.righe("                <TD BGCOLOR=red><ACRONYM title='", numero, " - ", rif, "'><P>",
                 base, "</P></TD>");
  } else {
    pagina.righe("                <TD BGCOLOR=#C6D8EB><ACRONYM title=", numero, "><P>", base,
                 "</P></TD>");
  }
}

void grigliaBasi(ScrittoreTesto& pagina, const Contesto& stato, const CampioneCaricato& campione) {
  aperturaGriglia(pagina, "Pos", stato.messaggi[msg::confrontoPerPosizione]);
  for (int inizio = 1; inizio <= kUltimaPosizione; inizio += kPosizioniPerRiga) {
    pagina.riga("              <TR>");
    cellaGriglia(pagina, "                <TD>", std::string(" ").append(testoNumero(inizio)));
    int fine = std::min(inizio + kPosizioniPerRiga - 1, kUltimaPosizione);
    for (int p = inizio; p <= fine; ++p) cellaPosizione(pagina, stato, campione, p);
    pagina.riga("              </TR>");
  }
  pagina.riga("          </TABLE>");
}

}  // namespace

void ScriviHTML(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                const CampioneCaricato& campione) {
  procedura("ScriviHTML", [&] {
    const auto& m = stato.messaggi;
    const TestiLegenda legenda{m[msg::legenda], m[msg::baseUguale], m[msg::posizioneMutata],
                               m[msg::sequenzeAllineate]};
    scriviPaginaConfronto(stato, porta, m[msg::risultatoConfronto], [&](ScrittoreTesto& p) {
      riassunto(p, stato, caselle, campione);
      tabellaLegenda(p, legenda, 20);
      grigliaBasi(p, stato, campione);
    });
  });
}

}  // namespace vorlane
