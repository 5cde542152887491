// The comparisons on samples as laboratories hold them: reads that start anywhere, insertions
// and deletions against the rCRS, the control region across the origin.

#include <gtest/gtest.h>

#include "aiuti.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

// An HV2 sample of the common H2a2a-derived kind: 263G, a C more in the 311-315 tract and an
// AC unit fewer in the 515-524 repeat, as real profiles carry them (263G 315.1C 523d 524d).
std::string hv2Reale(int da = 1, int a = 576) {
  std::string s = sequenzaDa(da, a, {{263, 'G'}});
  s.insert(s.begin() + (312 - da), 'C');
  s.erase(static_cast<std::size_t>(515 - da + 1), 2);
  return s;
}

std::string riga(const std::vector<std::string>& righe, const std::string& inizio) {
  for (const std::string& r : righe)
    if (r.starts_with(inizio)) return r;
  return "";
}

TEST(ConfrontoAllineato, IndelsAndReadsThatStartAnywhereInTheMultipleComparison) {
  Ambiente amb;
  intervallo(amb, "1", "576");
  // The whole HV2, the same read from 30 to 560 with N ends, and a sample that is no mtDNA.
  std::string lettura = "NNN" + hv2Reale(30, 560) + "NN";
  scriviFile(amb.stato.cartellaEsporta / "reali.FASTA",
             ">intero\r\n" + hv2Reale() + "\r\n>lettura\r\n" + lettura + "\r\n>estraneo\r\n" +
                 std::string(200, 'A') + std::string(200, 'C') + "\r\n");
  ASSERT_EQ(esegui(amb, Comando::ConfrontaMultiploNew, "reali.FASTA"), EsitoEvento::completato);
  EXPECT_EQ(colonnaRisultati(amb, "campione"), (std::vector<std::string>{"intero", "lettura"}));
  EXPECT_EQ(colonnaRisultati(amb, "differenze"),
            (std::vector<std::string>{"263G 315.1C 523d 524d", "263G 315.1C 523d 524d"}));
  EXPECT_EQ(colonnaRisultati(amb, "numero_differenze"), (std::vector<std::string>{"4", "4"}));
  std::vector<std::string> blocco = ultimoBloccoRighe(amb);
  EXPECT_EQ(riga(blocco, "Mutazioni    "), "Mutazioni                     : 263,315.1C,523d,524d");
  EXPECT_EQ(riga(blocco, "Mutazioni rilevate"), "Mutazioni rilevate (n.)       : 4");
  // The sample with no place is named, the others went on.
  ASSERT_FALSE(amb.porta.messaggi.empty());
  EXPECT_NE(amb.porta.messaggi[0].testo.find("estraneo: nessun tratto del riferimento"),
            std::string::npos)
      << amb.porta.messaggi[0].testo;

  // Placed from the interval's start, the insertion shifts every base after it: the samples
  // are compared so, and named as looking misplaced.
  amb.stato.allinea = false;
  amb.porta.messaggi.clear();
  ASSERT_EQ(esegui(amb, Comando::ConfrontaMultiploNew, "reali.FASTA"), EsitoEvento::completato);
  std::vector<std::string> numeri = colonnaRisultati(amb, "numero_differenze");
  ASSERT_EQ(numeri.size(), 3u);
  EXPECT_GT(std::stoi(numeri[0]), 100);
  ASSERT_FALSE(amb.porta.messaggi.empty());
  EXPECT_EQ(amb.porta.messaggi[0].testo,
            "3 campioni, posti dall'inizio dell'intervallo, sembrano fuori posto (conviene "
            "allinearli al riferimento):\n"
            "  intero: le differenze si accumulano da un punto in poi, come dopo un'inserzione o "
            "una delezione\n"
            "  lettura: le differenze si accumulano da un punto in poi, come dopo un'inserzione o "
            "una delezione\n"
            "  estraneo: le differenze si accumulano da un punto in poi, come dopo un'inserzione "
            "o una delezione");
  // A sample that fits gets no such word.
  scriviFile(amb.stato.cartellaEsporta / "giusto.FASTA",
             ">giusto\r\n" + sequenzaDa(1, 576, {{73, 'G'}, {263, 'G'}}) + "\r\n");
  amb.porta.messaggi.clear();
  ASSERT_EQ(esegui(amb, Comando::ConfrontaMultiploNew, "giusto.FASTA"), EsitoEvento::completato);
  ASSERT_EQ(amb.porta.messaggi.size(), 1u);
  EXPECT_EQ(amb.porta.messaggi[0].icona, Icona::informazione);
}

TEST(ConfrontoAllineato, TheControlRegionAcrossTheOrigin) {
  Ambiente amb;
  intervallo(amb, "16024", "576");
  std::string regione =
      sequenzaDa(16024, 16569, {{16223, 'T'}, {16519, 'C'}}) + sequenzaDa(1, 576, {{73, 'G'}});
  scriviFile(amb.stato.cartellaEsporta / "cr.FASTA", ">cr\r\n" + regione + "\r\n");
  // Aligned or placed from the start, the interval runs on from 16569 to 1.
  for (bool allinea : {true, false}) {
    SCOPED_TRACE(allinea);
    amb.stato.allinea = allinea;
    ASSERT_EQ(esegui(amb, Comando::ConfrontaMultiploNew, "cr.FASTA"), EsitoEvento::completato);
    EXPECT_EQ(colonnaRisultati(amb, "differenze"), (std::vector<std::string>{"16223T 16519C 73G"}));
    EXPECT_EQ(colonnaRisultati(amb, "intervallo"), (std::vector<std::string>{"16024-576"}));
    EXPECT_EQ(riga(ultimoBloccoRighe(amb), "Mutazioni    "),
              "Mutazioni                     : 16223,16519,73");
    ASSERT_EQ(esegui(amb, Comando::ConfrontaSingoloNew, "cr.FASTA"), EsitoEvento::completato);
    EXPECT_EQ(colonnaRisultati(amb, "differenze"), (std::vector<std::string>{"16223T 16519C 73G"}));
  }
}

TEST(ConfrontoAllineato, TheSingleComparisonTakesTheFirstSampleAndSaysWhatItCovers) {
  // A sample equal to the rCRS over 16001-16400 compared over 16001-16569: the next sample's
  // bases are not its own.
  Ambiente amb;
  intervallo(amb, "16001", "16569");
  std::map<int, char> altro;
  for (int p = 16401; p <= 16569; p += 3) altro[p] = altraBase(p);
  scriviFile(amb.stato.cartellaEsporta / "due.FASTA", ">primo\r\n" + sequenzaDa(16001, 16400) +
                                                          "\r\n>secondo\r\n" +
                                                          sequenzaDa(16001, 16569, altro) + "\r\n");
  for (bool allinea : {true, false}) {
    SCOPED_TRACE(allinea);
    amb.stato.allinea = allinea;
    amb.porta.messaggi.clear();
    ASSERT_EQ(esegui(amb, Comando::ConfrontaSingoloNew, "due.FASTA"), EsitoEvento::completato);
    EXPECT_EQ(colonnaRisultati(amb, "numero_differenze"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(colonnaRisultati(amb, "campione"), (std::vector<std::string>{"primo"}));
    ASSERT_FALSE(amb.porta.messaggi.empty());
    EXPECT_EQ(amb.porta.messaggi[0].testo,
              "Il campione \"primo\" copre le posizioni da 16001 a 16400, non tutto l'intervallo "
              "di analisi da 16001 a 16569.");
  }
}

TEST(ConfrontoAllineato, TheSingleComparisonShowsInsertionsOnItsPage) {
  Ambiente amb;
  intervallo(amb, "1", "576");
  scriviFile(amb.stato.cartellaEsporta / "h2.FASTA", ">h2\r\n" + hv2Reale() + "\r\n");
  ASSERT_EQ(esegui(amb, Comando::ConfrontaSingoloNew, "h2.FASTA"), EsitoEvento::completato);
  EXPECT_EQ(colonnaRisultati(amb, "differenze"),
            (std::vector<std::string>{"263G 315.1C 523d 524d"}));
  std::string pagina = leggiFile(amb.stato.cartellaHtml / "Confronto_h2.htm");
  EXPECT_NE(pagina.find("<ACRONYM title=' 315 - c'><P>c+c</P>"), std::string::npos);
  EXPECT_NE(pagina.find("<ACRONYM title=' 523 - a'><P>-</P>"), std::string::npos);
}

TEST(ConfrontoAllineato, AnArlequinProjectIsReadFromItsSampleDataBlocks) {
  Ambiente amb;
  intervallo(amb, "1", "576");
  scriviFile(amb.stato.cartellaEsporta / "p.FASTA",
             "[Profile]\r\n  Title=\"HV2\"\r\n  DataType=DNA\r\n[Data]\r\n  [[Samples]]\r\n"
             "    SampleName=\"Pop\"\r\n    SampleData= {\r\n      h1 2 " +
                 hv2Reale() + "\r\n      h2 1 " + sequenzaDa(1, 576, {{73, 'G'}}) +
                 "\r\n    }\r\n");
  ASSERT_EQ(esegui(amb, Comando::ConfrontaMultiploNew, "p.FASTA"), EsitoEvento::completato);
  EXPECT_EQ(colonnaRisultati(amb, "campione"), (std::vector<std::string>{"h1", "h2"}));
  EXPECT_EQ(colonnaRisultati(amb, "frequenza"), (std::vector<std::string>{"2", "1"}));
  EXPECT_EQ(colonnaRisultati(amb, "differenze"),
            (std::vector<std::string>{"263G 315.1C 523d 524d", "73G"}));
  ASSERT_EQ(esegui(amb, Comando::ConfrontaSingoloNew, "p.FASTA"), EsitoEvento::completato);
  EXPECT_EQ(colonnaRisultati(amb, "campione"), (std::vector<std::string>{"h1"}));
  EXPECT_EQ(colonnaRisultati(amb, "differenze"),
            (std::vector<std::string>{"263G 315.1C 523d 524d"}));
}

}  // namespace
}  // namespace vorlane::test
