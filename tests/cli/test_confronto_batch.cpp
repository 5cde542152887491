#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sequence/riferimento.h"
#include "support/batch.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

class ConfrontoBatch : public ProvaBatch {
 protected:
  std::string pagina(const std::string& nome) {
    return leggiFile(cartella / "html" / ("Confronto_" + nome + ".htm"));
  }
};

std::size_t conta(const std::string& testo, const std::string& pezzo) {
  std::size_t n = 0;
  for (std::size_t i = testo.find(pezzo); i != std::string::npos; i = testo.find(pezzo, i + 1)) ++n;
  return n;
}

TEST_F(ConfrontoBatch, SingleFastaAndArlequin) {
  scriviFile(cartella / "esporta" / "intero.FASTA",
             ">intero\n" + campione(1, 16569, {73, 263, 315}) + "\n");
  EsitoBatch l = lancia("--da 1 --a 16569 confronta-motivi intero.FASTA");
  ASSERT_EQ(l.stato, 0) << l.errori;
  EXPECT_NE(l.uscita.find("\nMutazioni                     : 73,263,315\n"), std::string::npos);
  EXPECT_NE(l.uscita.find("\nPercentuale mutazioni         : 100\n"), std::string::npos);
  EXPECT_NE(pagina("intero").find("<ACRONYM title=' 315 - c'>"), std::string::npos);

  scriviFile(cartella / "esporta" / "uno.ARL",
             "J1\t2\t" + campione(16001, 400, {16069, 16126}) + "\r\n");
  l = lancia("--arlequin confronta uno.ARL");
  ASSERT_EQ(l.stato, 0) << l.errori;
  EXPECT_NE(l.uscita.find("Mutazioni                     : 16069,16126\n"), std::string::npos);
  EXPECT_NE(l.uscita.find("Aplotipo                      : J"), std::string::npos);
  EXPECT_NE(pagina("uno").find("<ACRONYM title=' 16069 - c'><P>t</P>"), std::string::npos);
}

TEST_F(ConfrontoBatch, MultipleFastaAndArlequin) {
  scriviFile(cartella / "esporta" / "due.FASTA", ">J\n" + campione(16001, 400, {16069, 16126}) +
                                                     "\n>K\n" +
                                                     campione(16001, 400, {16224, 16311}) + "\n");
  EsitoBatch l = lancia("confronta-multiplo due.FASTA");
  ASSERT_EQ(l.stato, 0) << l.errori;
  // Only the report is announced: a multiple run writes its blocks to the log without showing.
  EXPECT_TRUE(l.uscita.empty()) << l.uscita;
  EXPECT_EQ(conta(l.errori, "["), 1u);
  EXPECT_EQ(conta(pagina("due"), "               <TR>\r\n"), 3u);
  EXPECT_EQ(conta(registro(), "Campione                      : "), 2u);

  scriviFile(cartella / "esporta" / "due.ARL", "S1\t1\t" + campione(16001, 400, {16192, 16270}) +
                                                   "\r\nS2\t4\t" +
                                                   campione(16001, 400, {16126, 16294}) + "\r\n");
  l = lancia("--arlequin confronta-multiplo-motivi due.ARL");
  ASSERT_EQ(l.stato, 0) << l.errori;
  std::string p = pagina("due");
  EXPECT_NE(p.find("                      S1\r\n"), std::string::npos);
  EXPECT_NE(p.find("                      U5"), std::string::npos);
  EXPECT_NE(p.find("                      S2\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::test
