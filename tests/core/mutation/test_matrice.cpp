#include "mutation/matrice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

class MatriceReport : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(a.avviato);
    a.stato.fileCampione = a.stato.cartellaEsporta / "due.campioni.FASTA";
    matrice.impostaPosizioni({"16189", "16223"});
    matrice.aggiungiCampione("primo")[1] = 1;
    matrice.aggiungiCampione("secondo");
  }
  std::vector<std::string> scrivi() {
    ScriviHTML_MATRICE(a.stato, a.porta, leggiCaselle(a.porta), matrice);
    return righeCrLf(leggiFile(a.stato.cartellaHtml / "ControlloMutazioni_due.htm"));
  }

  Ambiente a;
  MatriceMutazioni matrice;
};

// The lines from the first one equal to `da`, `quante` of them.
std::vector<std::string> tratto(const std::vector<std::string>& righe, const std::string& da,
                                std::size_t quante) {
  auto it = std::find(righe.begin(), righe.end(), da);
  if (static_cast<std::size_t>(righe.end() - it) < quante) return {};
  return {it, it + static_cast<std::ptrdiff_t>(quante)};
}

TEST_F(MatriceReport, AGridWithARedCellPerMutation) {
  std::vector<std::string> righe = scrivi();
  const std::vector<std::string> griglia = {
      "      <TABLE border cellspacing=\"1\" cellpadding=\"4\">",
      "              <TR>",
      "                <TD>",
      "                  <P>",
      "                    <B></B>",
      "                  </P>",
      "                </TD>",
      "                <TD colspan=61>",
      "                  <P>",
      "                    <B>" + a.stato.messaggi[89] + "</B>",
      "                  </P>",
      "                </TD>",
      "              </TR>",
      "              <TR>",
      "                <TD>",
      "                  <P>",
      "                  <B>pos</B>",
      "                  </P>",
      "                </TD>",
      "                <TD>",
      "                  <P>",
      "16189",
      "                  </P>",
      "                </TD>",
      "                <TD>",
      "                  <P>",
      "16223",
      "                  </P>",
      "                </TD>",
      "              </TR>",
      "              <TR>",
      "                <TD>",
      "                  <P>",
      "primo",
      "                  </P>",
      "                </TD>",
      "                <TD BGCOLOR=#C6D8EB><P></P></TD>",
      "                <TD BGCOLOR=red><P>*</P></TD>",
      "              </TR>",
      "              <TR>",
      "                <TD>",
      "                  <P>",
      "secondo",
      "                  </P>",
      "                </TD>",
      "                <TD BGCOLOR=#C6D8EB><P></P></TD>",
      "                <TD BGCOLOR=#C6D8EB><P></P></TD>",
      "              </TR>",
      "          </TABLE>",
      "          </CENTER><BR>",
      "           <BR>",
      "          <HR>",
      "        </BODY>",
      "      </HTML>",
  };
  EXPECT_EQ(tratto(righe, griglia.front(), griglia.size()), griglia);
  EXPECT_EQ(righe.size(), 32 + 57 + 27 + griglia.size());
  EXPECT_EQ(righe[4], "      Vorlane - Risultato controllo mutazioni");
}

TEST_F(MatriceReport, TheSummaryCountsTheSamplesChecked) {
  a.porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, "16024");
  std::vector<std::string> righe = scrivi();
  const auto& m = a.stato.messaggi;
  std::vector<std::string> etichette, valori;
  for (std::size_t i = 0; i + 1 < righe.size(); ++i) {
    if (righe[i] != "                   <P>") continue;
    if (righe[i + 1].rfind("                     <B>", 0) == 0)
      etichette.push_back(righe[i + 1].substr(24, righe[i + 1].size() - 28));
    else if (etichette.size() == 5 && valori.size() < 5)
      valori.push_back(righe[i + 1].substr(21));
  }
  ASSERT_GE(etichette.size(), 5u);
  etichette.resize(5);
  EXPECT_EQ(etichette, (std::vector<std::string>{m[22], m[23], m[25], m[27], m[29]}));
  EXPECT_EQ(valori, (std::vector<std::string>{a.stato.citazioneRiferimento, "due", "2",
                                              "da 0 a 16569", "da 16024 a 16400"}));
  EXPECT_EQ(righe[32], "       <TABLE border cellspacing= 1  cellpadding= 3 >");
}

TEST_F(MatriceReport, ASecondWriteReplacesThePageAndSaysSo) {
  scrivi();
  matrice.impostaPosizioni({"16311"});
  matrice.aggiungiCampione("terzo")[0] = 1;
  std::vector<std::string> righe = scrivi();
  EXPECT_EQ(std::count(righe.begin(), righe.end(), "terzo"), 1);
  EXPECT_EQ(std::count(righe.begin(), righe.end(), "primo"), 0);
  ASSERT_EQ(a.porta.messaggi.size(), 2u);
  EXPECT_EQ(a.porta.messaggi[1].testo,
            a.stato.messaggi[90] + "\r\n" +
                testoPercorso(a.stato.cartellaHtml / "ControlloMutazioni_due.htm") + "\r\n" +
                a.stato.messaggi[45]);
  EXPECT_EQ(a.porta.messaggi[1].icona, Icona::informazione);
}

}  // namespace
}  // namespace vorlane::test
