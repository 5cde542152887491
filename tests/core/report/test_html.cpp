#include "report/html.h"

#include <gtest/gtest.h>

#include <string>

#include "support/supporto.h"

namespace vorlane {
namespace {

TEST(HtmlTesto, EscapesEverySpecialCharacterWhereverItFalls) {
  // First and last characters, neighbours, and the runs of plain text between them.
  EXPECT_EQ(htmlTesto("&a<b>c\"d'e\xE8\x80"), "&amp;a&lt;b&gt;c&quot;d&#39;e&#232;&#8364;");
  EXPECT_EQ(htmlTesto("<<>>"), "&lt;&lt;&gt;&gt;");
  EXPECT_EQ(htmlTesto("campione 1 (freq: 2)"), "campione 1 (freq: 2)");
  EXPECT_EQ(htmlTesto(""), "");
}

TEST(HtmlTesto, EveryByteValueEitherKeptOrTurnedIntoAnEntity) {
  // Every byte from 1 to 255: ASCII other than the five markup characters stays as it is, the
  // rest becomes an entity "&...;".
  const std::string speciali = "&<>\"'";
  for (int b = 1; b < 256; ++b) {
    const std::string testo(1, static_cast<char>(b));
    const std::string html = htmlTesto(testo);
    if (b < 0x80 && speciali.find(static_cast<char>(b)) == std::string::npos) {
      EXPECT_EQ(html, testo) << b;
    } else {
      EXPECT_TRUE(html.size() > 2 && html.front() == '&' && html.back() == ';') << b;
    }
  }
}

TEST(HtmlTesto, APageLineGetsTheSameTextAsAString) {
  test::CartellaTemporanea cartella;
  const std::filesystem::path file = cartella.percorso() / "pagina.htm";
  const std::string testi[] = {"&a<b>c\"d'e\xE8\x80", "<<>>",    "campione 1", "",
                               "campione <1>",        "citt\xE0"};
  std::string atteso;
  ScrittoreTesto pagina(file);
  for (const std::string& t : testi) {
    pagina.aggiungi("[");
    aggiungiHtml(pagina, t);
    pagina.aggiungi("]");
    pagina.fineRiga();
    atteso.append("[").append(htmlTesto(t)).append("]\r\n");
  }
  pagina.conferma();
  EXPECT_EQ(test::leggiFile(file), atteso);
}

}  // namespace
}  // namespace vorlane
