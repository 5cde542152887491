// Profiles of HaploGrep's .hsd format read and written by vorlane-batch, as a laboratory hands
// them between HaploGrep, EMPOP and Vorlane.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/batch.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

namespace fs = std::filesystem;

const std::string kIntestazione = "SampleId\tRange\tHaplogroup\tPolymorphisms\r\n";

// Control-region profiles as EMPOP publishes them: the C tracts' insertions, the AC repeat's
// deletion, a deletion in a homopolymer, a heteroplasmy, HV1 and HV2 alone, the rCRS itself.
const std::string kRegioneDiControllo =
    kIntestazione +
    "AUT0500038\t16024-16569;1-576\tC5b1\t73G\t249d\t263G\t309.1C\t315.1C\t489C\t16093C\t16223T"
    "\t16234T\t16288C\t16298C\t16327T\t16519C\r\n"
    "AUT0500059\t16024-16569;1-576\tH1b\t263G\t315.1C\t523d\t524d\t16189C\t16356C\t16362C"
    "\t16519C\r\n"
    "AUT0500066\t16024-16569;1-576\tH1b\t263G\t309.1C\t309.2C\t315.1C\t523d\t524d\t16189C"
    "\t16356C\t16362C\t16519C\r\n"
    "L3e2b\t16024-16569;1-576\tL3e2b\t73G\t150T\t152C\t189G\t263G\t309.1C\t315.1C\t16172C"
    "\t16189C\t16193.1C\t16223T\t16320T\t16519C\r\n"
    "HV1HV2\t16024-16365;73-340\t?\t73G\t263G\t315.1C\t16093Y\t16311C\r\n"
    "RCRS\t16024-16569;1-576\tH2a2a1\r\n";

// A whole genome with coding-region variants and the 9-base deletion of the 8281-8289 repeat.
const std::string kGenoma =
    kIntestazione +
    "GEN1\t1-16569\t?\t73G\t263G\t315.1C\t750G\t1438G\t2706G\t4769G\t7028T\t8281d\t8282d\t8283d"
    "\t8284d\t8285d\t8286d\t8287d\t8288d\t8289d\t8860G\t11719A\t14766T\t15326G\t16519C\r\n";

// Each line's fields after the first, the name.
std::vector<std::string> senzaNomi(const std::string& profili) {
  std::vector<std::string> righe = righeCrLf(profili);
  for (std::string& r : righe) r.erase(0, r.find('\t'));
  return righe;
}

// Each line's variants: the fields after the fourth.
std::vector<std::string> soloVarianti(const std::string& profili) {
  std::vector<std::string> righe = senzaNomi(profili);
  for (std::string& r : righe) {
    std::size_t campo = 0;
    for (int k = 0; k < 3 && campo != std::string::npos; ++k) campo = r.find('\t', campo + 1);
    r.erase(0, campo);
  }
  return righe;
}

class ProfiliBatch : public ProvaBatch {
 protected:
  std::string profili(const std::string& nome) { return leggiFile(cartella / "risultati" / nome); }
};

TEST_F(ProfiliBatch, ProfilesComeBackFromTheConversionAsTheyWent) {
  scriviFile(cartella / "esporta" / "cr.hsd", kRegioneDiControllo);
  ASSERT_EQ(lancia({"--da=16024", "--a=576", "converti", "cr.hsd"}).stato, 0);
  EXPECT_EQ(profili("Conversione_cr.hsd"), kRegioneDiControllo);
  scriviFile(cartella / "esporta" / "gen.hsd", kGenoma);
  ASSERT_EQ(lancia({"--da=1", "--a=16569", "converti", "gen.hsd"}).stato, 0);
  EXPECT_EQ(profili("Conversione_gen.hsd"), kGenoma);
  // The mutation table holds the same variants in its own notation.
  EXPECT_NE(leggiFile(cartella / "dati" / "cr.txt")
                .find("cr AUT0500059\t1\t16189-16356-16362-16519-263-315.1C-523d-524d\r\n"),
            std::string::npos);
}

// Rebuilt as sequences and aligned again, the profiles give back their variants: the aligner
// writes them in the same notation.
TEST_F(ProfiliBatch, ProfilesRebuiltAsSequencesAlignToTheSameVariants) {
  std::string contigui = kRegioneDiControllo;
  contigui.erase(contigui.find("HV1HV2"), contigui.find("RCRS") - contigui.find("HV1HV2"));
  scriviFile(cartella / "esporta" / "cr.hsd", contigui);
  ASSERT_EQ(lancia({"--da=16024", "--a=576", "converti", "cr.hsd"}).stato, 0);
  ASSERT_EQ(lancia({"--da=16024", "--a=576", "normalizza", "cr.txt"}).stato, 0);
  fs::rename(cartella / "esporta" / "cr.FASTA", cartella / "esporta" / "sequenze.FASTA");
  ASSERT_EQ(lancia({"--da=16024", "--a=576", "converti", "sequenze.FASTA"}).stato, 0);
  EXPECT_EQ(soloVarianti(profili("Conversione_sequenze.hsd")), soloVarianti(contigui));

  scriviFile(cartella / "esporta" / "gen.hsd", kGenoma);
  ASSERT_EQ(lancia({"--da=1", "--a=16569", "converti", "gen.hsd"}).stato, 0);
  ASSERT_EQ(lancia({"--da=1", "--a=16569", "normalizza", "gen.txt"}).stato, 0);
  ASSERT_EQ(lancia({"--da=1", "--a=16569", "--sovrascrivi", "converti", "gen.FASTA"}).stato, 0);
  EXPECT_EQ(senzaNomi(profili("Conversione_gen.hsd")).at(1), senzaNomi(kGenoma).at(1));
}

TEST_F(ProfiliBatch, TheMultipleComparisonTakesProfilesAndWritesItsCalls) {
  scriviFile(cartella / "esporta" / "cr.hsd", kRegioneDiControllo);
  EsitoBatch e = lancia({"--da=16024", "--a=576", "confronta-multiplo", "cr.hsd"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_NE(registro().find("Mutazioni                     : 16189,16356,16362,16519,263,315.1C,"
                            "523d,524d\r\n"),
            std::string::npos);
  const std::string uscita = profili("ConfrontoMultiplo_cr.hsd");
  EXPECT_EQ(soloVarianti(uscita), soloVarianti(kRegioneDiControllo));
  // The haplogroup column holds the tree's call, as the results table does.
  std::vector<std::string> righe = righeCrLf(uscita);
  std::vector<std::string> tabella = righeCrLf(profili("ConfrontoMultiplo_cr.tsv"));
  ASSERT_EQ(righe.size(), 7u);
  ASSERT_EQ(tabella.size(), 7u);
  for (std::size_t k = 1; k < righe.size(); ++k) {
    std::vector<std::string> campi = dividi(righe[k], '\t'), colonne = dividi(tabella[k], '\t');
    ASSERT_GE(campi.size(), 3u);
    ASSERT_EQ(colonne.size(), 10u);
    EXPECT_EQ(campi[0], colonne[1]);
    EXPECT_EQ(campi[2], colonne[7]) << righe[k];
  }
  EXPECT_EQ(righe[5].substr(0, 26), "HV1HV2\t16024-16365;73-340\t");
}

TEST_F(ProfiliBatch, TheCheckMarksWhatTheRangeDoesNotCoverAsMissing) {
  scriviFile(cartella / "esporta" / "cr.hsd", kRegioneDiControllo);
  EsitoBatch e =
      lancia({"--da=16024", "--a=576", "--posizioni=73,16311,400", "controllo", "cr.hsd"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  std::vector<std::string> righe = righeCrLf(profili("ControlloMutazioni_cr.tsv"));
  ASSERT_EQ(righe.size(), 7u);
  EXPECT_EQ(righe[5], "cr.hsd\tHV1HV2\t1\t16024-576\t2\t73G 16311C\t1\t1\tNA");
  EXPECT_EQ(righe[6], "cr.hsd\tRCRS\t1\t16024-576\t0\t\t0\t0\t0");
}

TEST_F(ProfiliBatch, ABadProfileStopsTheRunNamingItsLine) {
  const std::pair<std::string, std::string> casi[] = {
      {"B\t16024-16365\t?\t73G", "cr.hsd, riga 4: la variante 73G"},
      {"\t16024-16365\t?\t16223T", "cr.hsd, riga 4: il profilo non ha nome"},
      {"B 16024-16365 ? 16223T", "cr.hsd, riga 4: il profilo ha un solo campo"},
  };
  for (const auto& [riga, errore] : casi) {
    scriviFile(cartella / "esporta" / "cr.hsd",
               kIntestazione + "A\t16024-16365\t?\t16223T\r\n# commento\r\n" + riga + "\r\n");
    EsitoBatch e = lancia({"--da=16024", "--a=576", "converti", "cr.hsd"});
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.errori.find(errore), std::string::npos) << e.errori;
    EXPECT_FALSE(fs::exists(cartella / "dati" / "cr.txt"));
    EXPECT_FALSE(fs::exists(cartella / "risultati" / "Conversione_cr.hsd"));
  }
}

// The shipped profiles are the shipped samples: the FASTA file converted gives them byte for
// byte, and they convert back to themselves.
TEST_F(ProfiliBatch, TheShippedProfilesAreTheShippedSamples) {
  const fs::path esporta = fs::path(VORLANE_DATI) / "esporta";
  const std::string attesi = leggiFile(esporta / "campioni_esempio.hsd");
  fs::copy_file(esporta / "campioni_esempio.FASTA", cartella / "esporta" / "esempio.FASTA");
  fs::copy_file(esporta / "campioni_esempio.hsd", cartella / "esporta" / "profili.hsd");
  ASSERT_EQ(lancia("converti esempio.FASTA").stato, 0);
  EXPECT_EQ(profili("Conversione_esempio.hsd"), attesi);
  ASSERT_EQ(lancia("converti profili.hsd").stato, 0);
  EXPECT_EQ(profili("Conversione_profili.hsd"), attesi);
}

// A sample and its profile are the same sample: the multiple comparison of the profiles it wrote
// calls each one as it called the sample, and writes the same profiles again.
TEST_F(ProfiliBatch, TheMultipleComparisonOfItsOwnProfilesGivesThemBack) {
  fs::copy_file(fs::path(VORLANE_DATI) / "esporta" / "campioni_esempio.FASTA",
                cartella / "esporta" / "esempio.FASTA");
  ASSERT_EQ(lancia("confronta-multiplo esempio.FASTA").stato, 0);
  const std::string scritti = profili("ConfrontoMultiplo_esempio.hsd");
  scriviFile(cartella / "esporta" / "riletti.hsd", scritti);
  ASSERT_EQ(lancia("confronta-multiplo riletti.hsd").stato, 0);
  EXPECT_EQ(profili("ConfrontoMultiplo_riletti.hsd"), scritti);
  EXPECT_EQ(righeCrLf(scritti).size(), 26u);
}

// Profiles on standard input are known by their header; --hsd prints the profiles, with LF.
TEST_F(ProfiliBatch, ProfilesFromStandardInputToStandardOutput) {
  scriviFile(cartella / "ingresso", kRegioneDiControllo);
  Redirezioni r;
  r.ingresso = cartella / "ingresso";
  EsitoBatch e =
      eseguiBatch(cartella.percorso(), {"--da=16024", "--a=576", "--hsd", "converti", "-"}, r);
  ASSERT_EQ(e.stato, 0) << e.errori;
  std::string atteso = kRegioneDiControllo;
  for (std::size_t p; (p = atteso.find('\r')) != std::string::npos;) atteso.erase(p, 1);
  EXPECT_EQ(e.uscita, atteso);
  EXPECT_EQ(lancia({"--hsd", "controllo", "cr.hsd"}).stato, 2);
  EXPECT_EQ(lancia({"--hsd", "--tsv", "converti", "cr.hsd"}).stato, 2);
}

}  // namespace
}  // namespace vorlane::test
