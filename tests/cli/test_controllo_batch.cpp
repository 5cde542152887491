#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sequence/riferimento.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

struct Lancio {
  int codice = -1;
  std::string uscita, errori;
};

class ControlloBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    preparaCartellaLavoro(cartella.percorso());
    std::filesystem::create_directory(cartella / "esporta");
  }
  Lancio lancia(const std::string& argomenti) {
    std::string comando = "cd '" + cartella.percorso().native() + "' && '" VORLANE_BATCH "' " +
                          argomenti + " >uscita.txt 2>errori.txt";
    int stato = std::system(comando.c_str());
    Lancio l;
    if (WIFEXITED(stato)) l.codice = WEXITSTATUS(stato);
    l.uscita = leggiFile(cartella / "uscita.txt");
    l.errori = leggiFile(cartella / "errori.txt");
    return l;
  }
  std::vector<std::string> registro() {
    for (const auto& voce : std::filesystem::directory_iterator(cartella / "log"))
      return righeCrLf(leggiFile(voce.path()));
    return {};
  }
  bool nessunRapporto() { return std::filesystem::is_empty(cartella / "html"); }

  CartellaTemporanea cartella;
};

// The reference over 16001..16400 with c at column 189 and t at column 223.
std::string mutato() {
  std::string s(testoRiferimento().substr(16000, 400));
  s[188] = 'c';
  s[222] = 't';
  return s;
}

TEST_F(ControlloBatch, FastaEArlequinCompletano) {
  scriviFile(cartella / "esporta" / "p.FASTA", ">uno\n" + mutato() + "\n");
  Lancio l = lancia("--posizioni 16189,16223 controllo p.FASTA");
  ASSERT_EQ(l.codice, 0) << l.errori;
  EXPECT_NE(l.uscita.find("Campioni con almeno una mutazione: 1\n"), std::string::npos);
  std::vector<std::string> righe = registro();
  ASSERT_EQ(righe.size(), 8u);
  EXPECT_EQ(righe[6], "Mutazioni                     : 16189 - 16223");
  std::string html = leggiFile(cartella / "html" / "ControlloMutazioni_p.htm");
  EXPECT_NE(html.find("<TD BGCOLOR=red><P>*</P></TD>\r\n                <TD BGCOLOR=red>"),
            std::string::npos);

  scriviFile(cartella / "esporta" / "q.ARL", "S1\t3\t" + mutato() + "\r\n");
  l = lancia("--arlequin --posizioni 16223 controllo q.ARL");
  ASSERT_EQ(l.codice, 0) << l.errori;
  righe = registro();
  EXPECT_EQ(righe[righe.size() - 3], "Campione                      : S1(freq: 3)");
  EXPECT_EQ(righe[righe.size() - 2], "Mutazioni                     : 16223");
  EXPECT_TRUE(std::filesystem::exists(cartella / "html" / "ControlloMutazioni_q.htm"));
}

TEST_F(ControlloBatch, ArrestiOrdinatiEsconoConDue) {
  scriviFile(cartella / "esporta" / "p.FASTA", ">uno\n" + mutato() + "\n");
  scriviFile(cartella / "esporta" / "t.ARL", "#Arlequin\r\n");
  for (std::string argomenti :
       {"--posizioni 73 controllo p.FASTA", "--posizioni 00073 controllo p.FASTA",
        "--arlequin --posizioni 16189 controllo t.ARL"}) {
    SCOPED_TRACE(argomenti);
    std::filesystem::remove_all(cartella / "log");
    Lancio l = lancia(argomenti);
    EXPECT_EQ(l.codice, 2) << l.errori;
    EXPECT_TRUE(l.errori.empty());
    EXPECT_EQ(registro().size(), 5u);  // the header, nothing per sample
    EXPECT_TRUE(nessunRapporto());
  }
  Lancio l = lancia("--posizioni 16189 controllo manca.FASTA");
  EXPECT_EQ(l.codice, 1);
  EXPECT_NE(l.errori.find("ControlloMutazioniFASTA"), std::string::npos);
  scriviFile(cartella / "esporta" / "due.ARL", "S1\t3\t" + mutato() + "\r\nS2\t3\r\n");
  l = lancia("--arlequin --posizioni 16189 controllo due.ARL");
  EXPECT_EQ(l.codice, 1);
  EXPECT_NE(l.errori.find("ControlloMutazioniARL"), std::string::npos);
  EXPECT_NE(l.errori.find("riga 2"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::test
