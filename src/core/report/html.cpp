#include "report/html.h"

#include <array>

#include "text/testo.h"

namespace vorlane {
namespace {
constexpr const char* kApertura[] = {
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">",
    "<HTML>",
    "  <HEAD>",
    "<TITLE>",
    nullptr,  // the title line
    "    </TITLE>",
    "    <META http-equiv=\"Content-Type\" content=\"text/html; charset=us-ascii\">",
    "    <META content=\"Vorlane\" Name =\"Description\"> ",
    "    <META content=\"Vorlane, mitochondrial DNA, DNA mitocondriale\" name=\"keywords\">",
    "    <META content=\"Vorlane - DNA mitocondriale\" name=\"abstract\">",
    "    <META http-equiv=\"Content-Language\" content=\"it\">",
    "    <META name=\"author\" content=\"Tavaresco\">",
    "    <STYLE type=text/css>",
    "    BODY {",
    "            BACKGROUND-COLOR: #AACFCF;",
    "    }",
    "    P {",
    "        FONT-SIZE: x-small;",
    "        FONT-FAMILY: Verdana, Arial, Courier, 'Times New Roman', Palatino;",
    "        COLOR: #000000;",
    "        TEXT-ALIGN: center",
    "    }",
    "    TD {",
    "        FONT-SIZE: x-small;",
    "        FONT-FAMILY: Verdana, Arial, Courier, 'Times New Roman', Palatino;",
    "        COLOR: #000000;",
    "        TEXT-ALIGN: center",
    "    }",
    "    </STYLE>",
    "  </HEAD>",
    "  <BODY>",
    "    <CENTER>",
};
constexpr const char* kChiusura[] = {
    "          </CENTER><BR>", "           <BR>", "          <HR>",
    "        </BODY>",         "      </HTML>",
};

// Which bytes an entity replaces, by byte: a page escapes a hundred thousand names, and one
// table load per character costs less than six comparisons.
constexpr std::array<bool, 256> kDaSostituire = [] {
  std::array<bool, 256> tabella{};
  for (unsigned char c : {'&', '<', '>', '"', '\''}) tabella[c] = true;
  for (std::size_t c = 0x80; c < 256; ++c) tabella[c] = true;
  // Control characters, which a page must not hold raw; TAB, LF and CR are white space there.
  for (std::size_t c = 0; c < 0x20; ++c) tabella[c] = c != '\t' && c != '\n' && c != '\r';
  tabella[0x7F] = true;
  return tabella;
}();

bool daSostituire(char c) {
  return kDaSostituire[static_cast<unsigned char>(c)];
}

void aggiungiSostituto(std::string& uscita, char c) {
  switch (c) {
    case '&':
      uscita += "&amp;";
      return;
    case '<':
      uscita += "&lt;";
      return;
    case '>':
      uscita += "&gt;";
      return;
    case '"':
      uscita += "&quot;";
      return;
    case '\'':
      uscita += "&#39;";
      return;
    default: {
      // The code point, via the UTF-8 form of the character; a control character shows as its
      // visible picture (see codiceVisibile).
      std::string u = versoUtf8(std::string_view(&c, 1));
      char32_t cp = u.size() == 1   ? static_cast<unsigned char>(u[0])
                    : u.size() == 2 ? ((u[0] & 0x1F) << 6) | (u[1] & 0x3F)
                                    : ((u[0] & 0x0F) << 12) | ((u[1] & 0x3F) << 6) | (u[2] & 0x3F);
      uscita += "&#" + std::to_string(static_cast<unsigned long>(codiceVisibile(cp))) + ";";
    }
  }
}
}  // namespace

namespace {
// Names and paths rarely hold a character to replace: the runs between them go in whole.
template <class Aggiungi>
void perPezziHtml(std::string_view cp1252, Aggiungi aggiungi) {
  std::string sostituto;
  for (std::size_t i = 0; i < cp1252.size();) {
    std::size_t j = i;
    while (j < cp1252.size() && !daSostituire(cp1252[j])) ++j;
    aggiungi(cp1252.substr(i, j - i));
    if (j < cp1252.size()) {
      sostituto.clear();
      aggiungiSostituto(sostituto, cp1252[j++]);
      aggiungi(std::string_view(sostituto));
    }
    i = j;
  }
}
}  // namespace

void aggiungiHtml(std::string& uscita, std::string_view cp1252) {
  perPezziHtml(cp1252, [&](std::string_view pezzo) { uscita.append(pezzo); });
}

// Most names need no entity: they are copied into the page as they are checked, and only from
// the first character to replace on does the text go piece by piece.
void aggiungiHtml(ScrittoreTesto& pagina, std::string_view cp1252) {
  char* p = pagina.spazio(cp1252.size());
  std::size_t i = 0;
  for (; i < cp1252.size() && !daSostituire(cp1252[i]); ++i) p[i] = cp1252[i];
  pagina.avanza(p + i);
  if (i < cp1252.size())
    perPezziHtml(cp1252.substr(i), [&](std::string_view pezzo) { pagina.aggiungi(pezzo); });
}

std::string htmlTesto(std::string_view cp1252) {
  std::string uscita;
  uscita.reserve(cp1252.size());
  aggiungiHtml(uscita, cp1252);
  return uscita;
}

void aperturaPagina(ScrittoreTesto& pagina, std::string_view titolo) {
  for (const char* riga : kApertura) {
    if (riga)
      pagina.riga(riga);
    else
      pagina.righe("      ", htmlTesto(titolo));
  }
}

void chiusuraPagina(ScrittoreTesto& pagina) {
  for (const char* riga : kChiusura) pagina.riga(riga);
}

void aperturaTabellaRiassunto(ScrittoreTesto& pagina) {
  pagina.riga("       <TABLE border cellspacing= 1  cellpadding= 3 >");
}

void scriviRighe(ScrittoreTesto& pagina, std::string_view righe) {
  if (righe.size() >= 2 && righe.substr(righe.size() - 2) == "\r\n") righe.remove_suffix(2);
  pagina.riga(righe);  // puts back the last line's end
}

void aperturaCella(std::string& righe, std::string_view rientro) {
  righe.append("                 <TD>\r\n                   <P>\r\n").append(rientro);
}

void chiusuraCella(std::string& righe) {
  righe.append("\r\n                  </P>\r\n                 </TD>\r\n");
}

void righeCella(std::string& righe, std::string_view rientro, std::string_view contenuto) {
  aperturaCella(righe, rientro);
  righe.append(contenuto);
  chiusuraCella(righe);
}

void cella(ScrittoreTesto& pagina, std::string_view rigaContenuto) {
  std::string righe;
  righeCella(righe, "", rigaContenuto);
  scriviRighe(pagina, righe);
}

void cellaIntestazione(ScrittoreTesto& pagina, std::string_view etichetta) {
  cella(pagina, "                     <B>" + htmlTesto(etichetta) + "</B>");
}

void cellaDati(ScrittoreTesto& pagina, std::string_view valore) {
  cella(pagina, "                     " + htmlTesto(valore));
}

void tabellaLegenda(ScrittoreTesto& pagina, const TestiLegenda& testi, std::size_t rientroMutata) {
  aperturaTabellaRiassunto(pagina);
  pagina.riga("              <TR BGCOLOR=#579B9B>");
  pagina.riga("                <TD colspan=3>");
  pagina.riga("                  <P>");
  pagina.righe("                    <B>", htmlTesto(testi.titolo), "</B>");
  pagina.riga("                  </P>");
  pagina.riga("                </TD>");
  pagina.riga("              </TR>");
  pagina.riga("               <TR>");
  auto voce = [&](const char* apertura, std::string_view testo, std::size_t rientro) {
    pagina.riga(apertura);
    pagina.riga("                   <P>");
    pagina.righe(std::string(rientro, ' '), htmlTesto(testo));
    pagina.riga("                  </P>");
    pagina.riga("                 </TD>");
  };
  voce("                 <TD BGCOLOR=#C6D8EB>", testi.uguale, 21);
  voce("                 <TD BGCOLOR=red>", testi.mutata, rientroMutata);
  voce("                 <TD BGCOLOR=#FFFFFF>", testi.allineate, 21);
  pagina.riga("               </TR>");
  pagina.riga("          </TABLE>");
  pagina.riga("     <BR>");
}

std::string nomeBaseReport(const std::filesystem::path& file) {
  std::string testo = testoPercorso(file);
  std::size_t barra = testo.rfind('/');
  if (barra == std::string::npos) return {};
  std::string nome = testo.substr(barra + 1);
  nome.resize(nome.size() >= 4 ? nome.size() - 4 : 0);
  return nome.substr(0, nome.find('.'));
}

void righeCellaGriglia(std::string& righe, std::string_view apertura, std::string_view contenuto) {
  righe.append(apertura)
      .append("\r\n                  <P>\r\n")
      .append(contenuto)
      .append("\r\n                  </P>\r\n                </TD>\r\n");
}

void cellaGriglia(ScrittoreTesto& pagina, std::string_view apertura, std::string_view contenuto) {
  std::string righe;
  righeCellaGriglia(righe, apertura, contenuto);
  scriviRighe(pagina, righe);
}

void aperturaGriglia(ScrittoreTesto& pagina, std::string_view primaEtichetta,
                     std::string_view titolo) {
  pagina.riga("      <TABLE border cellspacing=\"1\" cellpadding=\"4\">");
  pagina.riga("              <TR>");
  cellaGriglia(pagina, "                <TD>",
               "                    <B>" + std::string(primaEtichetta) + "</B>");
  cellaGriglia(pagina, "                <TD colspan=61>",
               "                    <B>" + htmlTesto(titolo) + "</B>");
  pagina.riga("              </TR>");
}

}  // namespace vorlane
