// A file large enough to be converted in pieces on two threads must give the table a reading in
// one go gives, whatever stops or fails in any piece.

#include <gtest/gtest.h>

#include <random>

#include "aiuti.h"
#include "convert/conversione.h"

namespace vorlane::test {
namespace {

constexpr int kDa = 16001, kA = 16400;
// Copies of a small file that make a file past the size where the conversion splits it.
constexpr int kCopie = 2400;

class ConversioneGrande : public ::testing::Test {
 protected:
  std::filesystem::path tabella() { return a.stato.cartellaDati / "campioni.txt"; }
  // Ten samples with a few random changes each, as FASTA records or Arlequin rows.
  std::string blocco(bool arlequin, const std::string& fineRiga) {
    std::mt19937 caso(7);
    const std::string varianti = "ACGTacgtN?-";
    std::string testo;
    for (int i = 0; i < 10; ++i) {
      std::string s = campioneRiferimento(a.stato, kDa, kA);
      for (int m = 0; m < i; ++m) s[caso() % s.size()] = varianti[caso() % varianti.size()];
      std::string nome = std::string("S").append(std::to_string(i));
      testo += arlequin ? nome + "\t" + std::to_string(i + 1) + "\t" + s + fineRiga
                        : ">" + nome + fineRiga + s + fineRiga;
    }
    return testo;
  }
  std::string converti(bool arlequin, const std::string& contenuto, EsitoEvento atteso) {
    const char* nome = arlequin ? "campioni.ARL" : "campioni.FASTA";
    scriviFile(a.stato.cartellaEsporta / nome, contenuto);
    std::filesystem::remove(tabella());
    a.porta.messaggi.clear();
    EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, arlequin, nome), atteso);
    return std::filesystem::exists(tabella()) ? leggiFile(tabella()) : "";
  }
  static std::string ripeti(const std::string& testo, int volte) {
    std::string tutto;
    for (int i = 0; i < volte; ++i) tutto += testo;
    return tutto;
  }
  std::size_t fileNeiDati() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& f : std::filesystem::directory_iterator(a.stato.cartellaDati))
      ++n;
    return n;
  }

  Ambiente a;
};

TEST_F(ConversioneGrande, PiecesGiveTheRowsOfOneReading) {
  for (bool arlequin : {false, true}) {
    for (const std::string fineRiga : {"\r\n", "\n", "\r"}) {
      SCOPED_TRACE(std::string(arlequin ? "Arlequin" : "FASTA") + ", fine riga " +
                   std::to_string(fineRiga.size()));
      // The small file is converted in one go; its rows, repeated, are the large file's.
      std::string piccola = converti(arlequin, blocco(arlequin, fineRiga), EsitoEvento::completato);
      std::string testata = piccola.substr(0, piccola.find("campioni S0"));
      std::string righe = piccola.substr(testata.size());
      ASSERT_FALSE(righe.empty());
      std::string grande =
          converti(arlequin, ripeti(blocco(arlequin, fineRiga), kCopie), EsitoEvento::completato);
      EXPECT_TRUE(grande == testata + ripeti(righe, kCopie));
      EXPECT_EQ(fileNeiDati(), 1u);  // no temporary file left behind
    }
  }
}

TEST_F(ConversioneGrande, AWrappedFileGivesTheTableOfTheOneLineFile) {
  const std::string unaRiga = ripeti(blocco(false, "\r\n"), kCopie);
  std::string attesa = converti(false, unaRiga, EsitoEvento::completato);
  ASSERT_EQ(righeCrLf(attesa).size(), 4u + 10u * kCopie);
  for (std::size_t larghezza : {60, 70}) {
    SCOPED_TRACE(larghezza);
    std::string aCapo = fastaACapo(unaRiga, larghezza, "\n");
    ASSERT_GT(aCapo.size(), 3u << 20);
    EXPECT_TRUE(converti(false, aCapo, EsitoEvento::completato) == attesa);
    EXPECT_EQ(fileNeiDati(), 1u);
  }
}

TEST_F(ConversioneGrande, ALineWithoutTabInAnyPieceStopsWhereAReadingInOneGoStops) {
  std::string piccola = converti(true, blocco(true, "\r\n"), EsitoEvento::completato);
  std::string testata = piccola.substr(0, piccola.find("campioni S0"));
  std::string righe = piccola.substr(testata.size());
  for (int dove : {0, kCopie / 4, kCopie * 3 / 4, kCopie - 1}) {
    SCOPED_TRACE(dove);
    std::string file = ripeti(blocco(true, "\r\n"), dove) + "senza tabulazione\r\n" +
                       ripeti(blocco(true, "\r\n"), kCopie - dove);
    EXPECT_TRUE(converti(true, file, EsitoEvento::interrotto) == testata + ripeti(righe, dove));
    ASSERT_EQ(a.porta.messaggi.size(), 1u);
    EXPECT_EQ(a.porta.messaggi[0].titolo, a.stato.messaggi[48]);
    EXPECT_EQ(fileNeiDati(), 1u);
  }
}

TEST_F(ConversioneGrande, AnErrorInALaterPieceNamesItsLineInTheWholeFile) {
  scriviFile(tabella(), "tabella precedente\r\n");
  int dove = kCopie * 3 / 4;
  std::string file = ripeti(blocco(true, "\r\n"), dove) + "A2\t1\r\n" +
                     ripeti(blocco(true, "\r\n"), kCopie - dove);
  scriviFile(a.stato.cartellaEsporta / "campioni.ARL", file);
  a.porta.rispostaSi = true;
  EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, true, "campioni.ARL"),
            EsitoEvento::errore);
  EXPECT_EQ(leggiFile(tabella()), "tabella precedente\r\n");
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_NE(a.porta.messaggi[0].testo.find("riga " + std::to_string(dove * 10 + 1) + ":"),
            std::string::npos)
      << a.porta.messaggi[0].testo;
  EXPECT_EQ(fileNeiDati(), 1u);
}

TEST_F(ConversioneGrande, AWriteFailingMidwayKeepsTheOldTable) {
  scriviFile(tabella(), "tabella precedente\r\n");
  scriviFile(a.stato.cartellaEsporta / "campioni.FASTA", ripeti(blocco(false, "\r\n"), kCopie));
  a.porta.rispostaSi = true;
  {
    LimiteFile limite(100 << 10);  // a fraction of the rows
    EXPECT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
              EsitoEvento::errore);
  }
  EXPECT_EQ(leggiFile(tabella()), "tabella precedente\r\n");
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_NE(a.porta.messaggi[0].testo.find("errore di scrittura"), std::string::npos)
      << a.porta.messaggi[0].testo;
  EXPECT_EQ(fileNeiDati(), 1u);
}

}  // namespace
}  // namespace vorlane::test
