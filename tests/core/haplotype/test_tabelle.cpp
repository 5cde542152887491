#include "haplotype/tabelle.h"

#include <gtest/gtest.h>

#include "app/avvio.h"
#include "base/errore.h"
#include "support/supporto.h"

namespace vorlane::test {
namespace {

GrigliaAplotipi leggi(const CartellaTemporanea& c, const std::string& testo,
                      const TabellaAplotipi& tabella = kTabellaPrincipale) {
  scriviFile(c / tabella.nomeFile, testo);
  return leggiTabellaAplotipi(c / tabella.nomeFile, tabella);
}

// The error a table text raises, or "" when it loads.
std::string errore(const CartellaTemporanea& c, const std::string& testo,
                   const TabellaAplotipi& tabella = kTabellaPrincipale) {
  try {
    leggi(c, testo, tabella);
  } catch (const ErroreVorlane& e) {
    return e.what();
  }
  return "";
}

std::string righeDati(int quante, const std::string& posizioni = "73") {
  std::string testo;
  for (int i = 1; i <= quante; ++i)
    testo.append("H").append(std::to_string(i)).append(";").append(posizioni).append("\r\n");
  return testo;
}

std::string posizioni(int quante) {
  std::string testo = "100";
  for (int i = 1; i < quante; ++i) testo.append("-").append(std::to_string(100 + i));
  return testo;
}

TEST(TabelleAplotipi, LinesCommentsAndFields) {
  CartellaTemporanea c;
  GrigliaAplotipi g = leggi(c,
                            "# origine\r\n"
                            "/ altro commento\r\n"
                            "R0;263;263G\r\n"
                            "\r\n"
                            "   \n"
                            "# tra le righe\r"
                            " H 1 ;73-- 16519-;nota;altro\n"
                            "  #X;150\r\n"
                            "Vuoto;\r\n");
  EXPECT_EQ(g.ultimaRiga(), 69);
  EXPECT_EQ(g.ultimaColonna(), 10);
  EXPECT_EQ(g.cella(0, 0), "");
  EXPECT_EQ(g.cella(1, 0), "R0");
  EXPECT_EQ(g.cella(1, 1), "263");
  EXPECT_EQ(g.cella(1, 2), "");
  // Names and tokens are kept as written; empty tokens are empty cells that still take a column.
  EXPECT_EQ(g.cella(2, 0), " H 1 ");
  EXPECT_EQ(g.cella(2, 1), "73");
  EXPECT_EQ(g.cella(2, 2), "");
  EXPECT_EQ(g.cella(2, 3), " 16519");
  EXPECT_EQ(g.cella(2, 4), "");
  EXPECT_EQ(g.cella(2, 5), "");
  // Only the very first character makes a comment.
  EXPECT_EQ(g.cella(3, 0), "  #X");
  EXPECT_EQ(g.cella(3, 1), "150");
  EXPECT_EQ(g.cella(4, 0), "Vuoto");
  EXPECT_EQ(g.cella(4, 1), "");
  EXPECT_EQ(g.cella(5, 0), "");
}

TEST(TabelleAplotipi, TheLimitsOfTheGrid) {
  CartellaTemporanea c;
  EXPECT_EQ(leggi(c, righeDati(69)).cella(69, 0), "H69");
  EXPECT_EQ(leggi(c, righeDati(1, posizioni(10))).cella(1, 10), "109");
  EXPECT_EQ(leggi(c, righeDati(469), kTabellaMotivi).cella(469, 0), "H469");
  EXPECT_EQ(leggi(c, righeDati(1, posizioni(15)), kTabellaMotivi).cella(1, 15), "114");

  // The errors name the file and the line, comment lines counted.
  std::string troppeRighe = errore(c, "# intestazione\r\n" + righeDati(70));
  EXPECT_NE(troppeRighe.find("tabella_mutazioni_OLD.csv, riga 71"), std::string::npos)
      << troppeRighe;
  EXPECT_NE(errore(c, righeDati(470), kTabellaMotivi).find("Motifs.csv, riga 470"),
            std::string::npos);
  std::string troppeColonne = errore(c, "A;73\r\nB;" + posizioni(11) + "\r\n");
  EXPECT_NE(troppeColonne.find("tabella_mutazioni_OLD.csv, riga 2"), std::string::npos)
      << troppeColonne;
  // Empty tokens count toward the limit.
  EXPECT_NE(errore(c, "A;" + posizioni(10) + "-\r\n"), "");
  EXPECT_NE(errore(c, "A;" + posizioni(16), kTabellaMotivi).find("riga 1"), std::string::npos);
}

TEST(TabelleAplotipi, ALineWithoutSeparatorAndAMissingOrEmptyFile) {
  CartellaTemporanea c;
  std::string senzaPuntoEVirgola = errore(c, "A;73\n\nB 73-263\n");
  EXPECT_NE(senzaPuntoEVirgola.find("tabella_mutazioni_OLD.csv, riga 3"), std::string::npos)
      << senzaPuntoEVirgola;
  EXPECT_EQ(leggi(c, "").cella(1, 0), "");
  EXPECT_THROW(leggiTabellaAplotipi(c / "manca.csv", kTabellaPrincipale), ErroreVorlane);
}

TEST(TabelleAplotipi, StartUpFailsWithoutATable) {
  CartellaTemporanea c;
  preparaCartellaLavoro(c.percorso());
  std::filesystem::remove(c / kTabellaMotivi.nomeFile);
  StatoVorlane stato;
  PortaTest porta;
  EXPECT_FALSE(Avvio(stato, porta, c.percorso()));
  ASSERT_EQ(porta.messaggi.size(), 1u);
  EXPECT_EQ(porta.messaggi[0].icona, Icona::critica);
  EXPECT_NE(porta.messaggi[0].testo.find("CaricaAplotipiUmaniNew"), std::string::npos);
  EXPECT_NE(porta.messaggi[0].testo.find("tabella_mutazioni_Motifs.csv"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::test
