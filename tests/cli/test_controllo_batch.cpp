#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sequence/riferimento.h"
#include "support/batch.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

class ControlloBatch : public ProvaBatch {
 protected:
  std::vector<std::string> righeRegistro() { return righeCrLf(registro()); }
  bool nessunRapporto() { return std::filesystem::is_empty(cartella / "html"); }
};

// The reference over 16001..16400 with c at column 189 and t at column 223.
std::string mutato() {
  std::string s(testoRiferimento().substr(16000, 400));
  s[188] = 'c';
  s[222] = 't';
  return s;
}

TEST_F(ControlloBatch, FastaAndArlequinComplete) {
  scriviFile(cartella / "esporta" / "p.FASTA", ">uno\n" + mutato() + "\n");
  EsitoBatch l = lancia("--posizioni 16189,16223 controllo p.FASTA");
  ASSERT_EQ(l.stato, 0) << l.errori;
  EXPECT_NE(l.errori.find("Campioni con almeno una mutazione: 1\n"), std::string::npos);
  std::vector<std::string> righe = righeRegistro();
  ASSERT_EQ(righe.size(), 8u);
  EXPECT_EQ(righe[6], "Mutazioni                     : 16189 - 16223");
  std::string html = leggiFile(cartella / "html" / "ControlloMutazioni_p.htm");
  EXPECT_NE(html.find("<TD BGCOLOR=red><P>*</P></TD>\r\n                <TD BGCOLOR=red>"),
            std::string::npos);

  scriviFile(cartella / "esporta" / "q.ARL", "S1\t3\t" + mutato() + "\r\n");
  l = lancia("--arlequin --posizioni 16223 controllo q.ARL");
  ASSERT_EQ(l.stato, 0) << l.errori;
  righe = righeRegistro();
  EXPECT_EQ(righe[righe.size() - 3], "Campione                      : S1(freq: 3)");
  EXPECT_EQ(righe[righe.size() - 2], "Mutazioni                     : 16223");
  EXPECT_TRUE(std::filesystem::exists(cartella / "html" / "ControlloMutazioni_q.htm"));
}

TEST_F(ControlloBatch, OrderlyStopsExitWithTwo) {
  scriviFile(cartella / "esporta" / "p.FASTA", ">uno\n" + mutato() + "\n");
  scriviFile(cartella / "esporta" / "t.ARL", "#Arlequin\r\n");
  for (std::string argomenti :
       {"--posizioni 73 controllo p.FASTA", "--posizioni 00073 controllo p.FASTA",
        "--arlequin --posizioni 16189 controllo t.ARL"}) {
    SCOPED_TRACE(argomenti);
    std::filesystem::remove_all(cartella / "log");
    EsitoBatch l = lancia(argomenti);
    EXPECT_EQ(l.stato, 2) << l.errori;
    // The refusal is a notice, not a result: standard error, with its title, and no report.
    EXPECT_TRUE(l.uscita.empty()) << l.uscita;
    EXPECT_TRUE(l.errori.starts_with("[")) << l.errori;
    EXPECT_EQ(l.errori.find("[ERRORE]"), std::string::npos) << l.errori;
    EXPECT_EQ(righeRegistro().size(), 5u);  // the header, nothing per sample
    EXPECT_TRUE(nessunRapporto());
  }
  EsitoBatch l = lancia("--posizioni 16189 controllo manca.FASTA");
  EXPECT_EQ(l.stato, 1);
  EXPECT_NE(l.errori.find("ControlloMutazioniFASTA"), std::string::npos);
  scriviFile(cartella / "esporta" / "due.ARL", "S1\t3\t" + mutato() + "\r\nS2\t3\r\n");
  l = lancia("--arlequin --posizioni 16189 controllo due.ARL");
  EXPECT_EQ(l.stato, 1);
  EXPECT_NE(l.errori.find("ControlloMutazioniARL"), std::string::npos);
  EXPECT_NE(l.errori.find("riga 2"), std::string::npos);
}

TEST_F(ControlloBatch, TheBlockIsShownWhole) {
  // The block shown at the end runs to some 300 KB: it goes out in pieces, and no CR LF, line or
  // accented letter may be cut or doubled where one piece meets the next.
  std::string fasta;
  for (int i = 0; i < 4000; ++i)
    fasta += ">citt\xC3\xA0 " + std::to_string(i) + "\r\n" + mutato() + "\r\n";
  scriviFile(cartella / "esporta" / "p.FASTA", fasta);
  EsitoBatch l = lancia("--posizioni 16189,16223 controllo p.FASTA");
  ASSERT_EQ(l.stato, 0) << l.errori;
  std::vector<std::string> righe = righeRegistro();
  std::string atteso;
  for (const std::string& riga : righe) atteso += versoUtf8(riga) + "\n";
  ASSERT_GT(atteso.size(), 4u << 16);
  EXPECT_NE(l.uscita.find("\n" + atteso + "\n"), std::string::npos);
  EXPECT_EQ(l.uscita.find('\r'), std::string::npos);
  // The page's rows are made a few thousand at a time on two threads: all of them, in order.
  std::string html = leggiFile(cartella / "html" / "ControlloMutazioni_p.htm");
  std::size_t dove = 0;
  for (int i = 0; i < 4000 && dove != std::string::npos; ++i)
    dove = html.find(std::string(" ").append(std::to_string(i)).append("\r\n"), dove);
  EXPECT_NE(dove, std::string::npos);
  std::size_t righeTabella = 0;
  for (std::size_t p = 0; (p = html.find("<TR>", p)) != std::string::npos; ++p) ++righeTabella;
  EXPECT_EQ(righeTabella, 4000u + 4u);  // and the summary, legend and grid headings
}

}  // namespace
}  // namespace vorlane::test
