#include "haplotype/legenda.h"

#include "report/html.h"

namespace vorlane {
namespace {
// The red cell's text is one blank less indented than the other two.
void cellaColore(ScrittoreTesto& pagina, const char* apertura, const char* rientro,
                 const std::string& testo) {
  pagina.riga(apertura);
  pagina.riga("                   <P>");
  pagina.righe(rientro, htmlTesto(testo));
  pagina.riga("                  </P>");
  pagina.riga("                 </TD>");
}
}  // namespace

void scriviLegendaConfronto(ScrittoreTesto& pagina, const StatoVorlane& stato) {
  const auto& m = stato.messaggi;
  aperturaTabellaRiassunto(pagina);
  pagina.riga("              <TR BGCOLOR=#579B9B>");
  pagina.riga("                <TD colspan=3>");
  pagina.riga("                  <P>");
  pagina.righe("                    <B>", htmlTesto(m[85]), "</B>");
  pagina.riga("                  </P>");
  pagina.riga("                </TD>");
  pagina.riga("              </TR>");
  pagina.riga("               <TR>");
  cellaColore(pagina, "                 <TD BGCOLOR=#C6D8EB>", "                     ", m[86]);
  cellaColore(pagina, "                 <TD BGCOLOR=red>", "                    ", m[87]);
  cellaColore(pagina, "                 <TD BGCOLOR=#FFFFFF>", "                     ", m[88]);
  pagina.riga("               </TR>");
  pagina.riga("          </TABLE>");
  pagina.riga("     <BR>");
}

}  // namespace vorlane
