#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/html.h"
#include "support/supporto.h"

namespace vorlane::test {
namespace {

std::vector<std::string> legenda(std::size_t rientroMutata) {
  CartellaTemporanea cartella;
  {
    ScrittoreTesto pagina(cartella / "l.htm");
    tabellaLegenda(pagina, {"Leg<e>nda", "uguale", "mutata & co", "allineate"}, rientroMutata);
    pagina.conferma();
  }
  return righeCrLf(leggiFile(cartella / "l.htm"));
}

TEST(Legenda, LinesOfBothPagesWithTheRedCellsIndent) {
  std::vector<std::string> righe = legenda(20);
  ASSERT_EQ(righe.size(), 27u);
  EXPECT_EQ(righe[0], "       <TABLE border cellspacing= 1  cellpadding= 3 >");
  EXPECT_EQ(righe[4], "                    <B>Leg&lt;e&gt;nda</B>");
  EXPECT_EQ(righe[9], "                 <TD BGCOLOR=#C6D8EB>");
  EXPECT_EQ(righe[11], "                     uguale");
  EXPECT_EQ(righe[14], "                 <TD BGCOLOR=red>");
  EXPECT_EQ(righe[16], "                    mutata &amp; co");
  EXPECT_EQ(righe[19], "                 <TD BGCOLOR=#FFFFFF>");
  EXPECT_EQ(righe[21], "                     allineate");
  EXPECT_EQ(righe[26], "     <BR>");
  EXPECT_EQ(legenda(21)[16], "                     mutata &amp; co");
}

}  // namespace
}  // namespace vorlane::test
