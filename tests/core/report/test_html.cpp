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
  // Every byte from 1 to 255: printable ASCII other than the five markup characters, and the
  // white space TAB, LF and CR, stays as it is; the rest becomes an entity "&...;".
  const std::string speciali = "&<>\"'";
  for (int b = 1; b < 256; ++b) {
    const std::string testo(1, static_cast<char>(b));
    const std::string html = htmlTesto(testo);
    bool stampabile = (b >= 0x20 && b < 0x7F) || b == '\t' || b == '\n' || b == '\r';
    if (stampabile && speciali.find(static_cast<char>(b)) == std::string::npos) {
      EXPECT_EQ(html, testo) << b;
    } else {
      EXPECT_TRUE(html.size() > 2 && html.front() == '&' && html.back() == ';') << b;
    }
  }
}

TEST(HtmlTesto, ControlCharactersBecomeTheirVisiblePictures) {
  // NUL, ESC and DEL would reach the page raw; a C1 control (0x81, which Windows-1252 leaves
  // undefined) would be a reference to a control character.
  EXPECT_EQ(htmlTesto(std::string("a\0b", 3)), "a&#9216;b");
  EXPECT_EQ(htmlTesto("\x1B[31mrosso"), "&#9243;[31mrosso");
  EXPECT_EQ(htmlTesto("x\x7Fy\x81z"), "x&#9249;y&#65533;z");
  EXPECT_EQ(htmlTesto("a\tb\r\nc"), "a\tb\r\nc");
  // The same from the first replaced character on, in a page line.
  test::CartellaTemporanea cartella;
  const std::filesystem::path file = cartella.percorso() / "pagina.htm";
  ScrittoreTesto pagina(file);
  aggiungiHtml(pagina, "nome\x1B]0;titolo\x07<");
  pagina.fineRiga();
  pagina.conferma();
  EXPECT_EQ(test::leggiFile(file), "nome&#9243;]0;titolo&#9223;&lt;\r\n");
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
