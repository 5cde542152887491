#include <gtest/gtest.h>

#include "base/errore.h"
#include "stato/messaggi.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

struct Caricamento {
  test::CartellaTemporanea t;
  StatoVorlane stato;
  void carica(const std::string& contenuto) {
    test::scriviFile(t / "messaggi.txt", contenuto);
    stato.cartellaCorrente = t.percorso();
    CaricaMessaggi(stato);
  }
  std::string errore(const std::string& contenuto) {
    try {
      carica(contenuto);
    } catch (const ErroreVorlane& e) {
      EXPECT_EQ(e.etichetta(), "CaricaMessaggi");
      return e.what();
    }
    ADD_FAILURE() << "no error for: " << contenuto;
    return {};
  }
};

TEST(CaricaMessaggi, ReadsIndexAndTextWithTheFileRules) {
  Caricamento c;
  c.carica(
      "/ commento;5;non letto\r\n"
      "1;  Titolo con spazi  \r\n"
      "2;secondo;terzo campo ignorato\r\n"
      "3;primo\r\n"
      "3;ultimo vince\r\n"
      "\r\n"
      "   \r\n"
      "4;\r\n"
      "200;fine\r\n");
  EXPECT_EQ(c.stato.messaggi[1], "  Titolo con spazi  ");
  EXPECT_EQ(c.stato.messaggi[2], "secondo");
  EXPECT_EQ(c.stato.messaggi[3], "ultimo vince");
  EXPECT_EQ(c.stato.messaggi[4], "");
  EXPECT_EQ(c.stato.messaggi[5], "");
  EXPECT_EQ(c.stato.messaggi[200], "fine");
}

// Only the messages added after the first working folders were made have a text of their own:
// an older messages file, kept in the user's folder, lacks them.
TEST(CaricaMessaggi, CommentsOnlyOrEmptyFileLeaveEveryMessageEmptyButTheAddedOnes) {
  Caricamento c;
  for (const char* testo : {"/ solo commenti\n/ ancora\n", ""}) {
    c.carica(testo);
    for (std::size_t i = 0; i < c.stato.messaggi.size(); ++i)
      EXPECT_EQ(c.stato.messaggi[i].empty(), i < 94 || i > 99) << i;
    EXPECT_EQ(c.stato.messaggi[94], "Aplogruppo PhyloTree");
  }
  c.carica("94;Aplogruppo dall'albero\n");
  EXPECT_EQ(c.stato.messaggi[94], "Aplogruppo dall'albero");
}

TEST(CaricaMessaggi, BadLinesAreErrorsNamingFileAndLine) {
  Caricamento c;
  EXPECT_NE(c.errore("1;a\n201;troppo\n").find("messaggi.txt, riga 2"), std::string::npos);
  EXPECT_NE(c.errore("-1;a\n").find("riga 1"), std::string::npos);
  EXPECT_NE(c.errore("1;a\nsenza separatore\n").find("riga 2"), std::string::npos);
  EXPECT_NE(c.errore(" /non commento;x\n").find("riga 1"), std::string::npos);
  EXPECT_NE(c.errore("abc;x\n").find("riga 1"), std::string::npos);
  // Entries before the bad line stay loaded for the report.
  c.errore("20;Errore in\n7;x\nrotta\n");
  EXPECT_EQ(c.stato.messaggi[20], "Errore in");
}

TEST(CaricaMessaggi, ShippedFileHasATextForEveryIndexInUse) {
  StatoVorlane stato;
  stato.cartellaCorrente = VORLANE_DATI;
  CaricaMessaggi(stato);
  std::vector<int> usati = {119, 70, 71};
  for (int i = 1; i <= 18; ++i) usati.push_back(i);
  for (int i = 20; i <= 48; ++i) usati.push_back(i);
  for (int i = 53; i <= 68; ++i) usati.push_back(i);
  for (int i = 74; i <= 93; ++i) usati.push_back(i);
  for (int i : usati) EXPECT_FALSE(stato.messaggi[static_cast<std::size_t>(i)].empty()) << i;
  for (int i = 60; i <= 63; ++i) EXPECT_EQ(stato.messaggi[static_cast<std::size_t>(i)][0], '/');
}

}  // namespace
}  // namespace vorlane
