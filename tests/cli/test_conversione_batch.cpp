// vorlane-batch converti / normalizza, run as a pipeline would run them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/batch.h"
#include "support/supporto.h"

namespace vorlane::test {
namespace {

class ConversioneBatch : public ProvaBatch {
 protected:
  EsitoBatch esegui(const std::vector<std::string>& argomenti) { return lancia(argomenti); }

  // The reference over 16001..16400 taken from a normalised table without mutations.
  std::string riferimento() {
    scriviFile(cartella / "dati" / "rif.txt", "R\t1\r\n");
    EXPECT_EQ(esegui({"--arlequin", "normalizza", "rif.txt"}).stato, 0);
    std::string riga = righeCrLf(leggiFile(cartella / "esporta" / "rif.ARL")).at(0);
    return riga.substr(std::string("R\t1\t").size());
  }
};

TEST_F(ConversioneBatch, DeclinedOverwriteExitsTwoAndKeepsTheTable) {
  scriviFile(cartella / "esporta" / "campioni.FASTA", ">S1\r\nTTCT\r\n");
  ASSERT_EQ(esegui({"converti", "campioni.FASTA"}).stato, 0);
  const std::string prima = leggiFile(cartella / "dati" / "campioni.txt");
  EXPECT_NE(prima.find("campioni S1\t1\t16001T-16003-16004\r\n"), std::string::npos);

  scriviFile(cartella / "esporta" / "campioni.FASTA", ">S2\r\nattc\r\n");
  EsitoBatch r = esegui({"converti", "campioni.FASTA"});
  EXPECT_EQ(r.stato, 2);
  EXPECT_NE(r.errori.find("-> No"), std::string::npos);
  EXPECT_EQ(leggiFile(cartella / "dati" / "campioni.txt"), prima);

  EXPECT_EQ(esegui({"--sovrascrivi", "converti", "campioni.FASTA"}).stato, 0);
  EXPECT_NE(leggiFile(cartella / "dati" / "campioni.txt").find("campioni S2\t1\r\n"),
            std::string::npos);
}

TEST_F(ConversioneBatch, ArlequinLineWithoutTabStopsWithExitTwo) {
  scriviFile(cartella / "esporta" / "campioni.ARL",
             "A1\t2\tGTTC\r\n#Sezione del progetto\r\nA2\t1\tATTC\r\n");
  EsitoBatch r = esegui({"--arlequin", "converti", "campioni.ARL"});
  EXPECT_EQ(r.stato, 2);
  std::vector<std::string> righe = righeCrLf(leggiFile(cartella / "dati" / "campioni.txt"));
  ASSERT_EQ(righe.size(), 5u);
  EXPECT_EQ(righe[4], "campioni A1\t2\t16001");
  EXPECT_NE(r.errori.find("campioni.ARL"), std::string::npos);
  EXPECT_EQ(r.errori.find("Operazione completata"), std::string::npos);
}

TEST_F(ConversioneBatch, NormalisesToFastaAndArlequin) {
  const std::string rif = riferimento();
  ASSERT_EQ(rif.size(), 400u);
  scriviFile(cartella / "dati" / "tab.txt", "/ testata\r\nX\t3\t16001G-16003C\r\n");
  ASSERT_EQ(esegui({"normalizza", "tab.txt"}).stato, 0);
  ASSERT_EQ(esegui({"--arlequin", "normalizza", "tab.txt"}).stato, 0);

  std::string mutata = std::string("G").append(rif, 1, 1).append("C").append(rif, 3);
  ASSERT_EQ(rif.substr(0, 3), "att");
  EXPECT_EQ(leggiFile(cartella / "esporta" / "tab.FASTA"), ">X (freq: 3)\r\n" + mutata + "\r\n");
  EXPECT_EQ(leggiFile(cartella / "esporta" / "tab.ARL"), "X\t3\t" + mutata + "\r\n");
}

TEST_F(ConversioneBatch, TableRowWithoutTabIsAnError) {
  scriviFile(cartella / "dati" / "tab.txt", "/ testata\r\nX 3 16001G\r\n");
  EsitoBatch r = esegui({"normalizza", "tab.txt"});
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.errori.find("NormalizzaFasta"), std::string::npos);
  EXPECT_NE(r.errori.find("riga 2"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(cartella / "esporta" / "tab.FASTA"));
}

}  // namespace
}  // namespace vorlane::test
