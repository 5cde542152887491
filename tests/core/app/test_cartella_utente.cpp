#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

#include "app/cartella_utente.h"
#include "base/errore.h"
#include "support/supporto.h"

namespace vorlane {
namespace {
namespace fs = std::filesystem;

TEST(CartellaUtente, WorkingFolderFromTheEnvironmentValues) {
  EXPECT_EQ(cartellaUtente("/dati/lavoro", "/home/anna"), fs::path("/dati/lavoro"));
  EXPECT_EQ(cartellaUtente(nullptr, "/home/anna"), fs::path("/home/anna/Vorlane"));
  EXPECT_EQ(cartellaUtente("", "/home/anna"), fs::path("/home/anna/Vorlane"));
  // Without HOME the password database names the home folder.
  fs::path senzaHome = cartellaUtente(nullptr, "");
  EXPECT_EQ(senzaHome.filename(), "Vorlane");
  EXPECT_FALSE(senzaHome.parent_path().empty());
}

TEST(CartellaUtente, ShippedFilesLieBesideTheBinFolder) {
  EXPECT_EQ(cartellaFileForniti("/usr/bin/vorlane"), fs::path("/usr/share/vorlane"));
  EXPECT_EQ(cartellaFileForniti("/opt/v/bin/vorlane"), fs::path("/opt/v/share/vorlane"));
  EXPECT_EQ(eseguibileCorrente().filename(), "vorlane_test_core");
}

// A shipped tree as an installation lays it out, and a home folder beside it.
struct Installazione {
  test::CartellaTemporanea t;
  fs::path forniti = t / "share/vorlane";
  fs::path lavoro = t / "home/Vorlane";
  Installazione() {
    fs::create_directories(forniti / "esporta");
    test::scriviFile(forniti / "messaggi.txt", "1;Vorlane\r\n");
    test::scriviFile(forniti / "tabella_mutazioni_OLD.csv", "H;16519\r\n");
    test::scriviFile(forniti / "manuale_Vorlane.htm", "<html></html>\r\n");
    test::scriviFile(forniti / "esporta/campioni_esempio.FASTA", ">a\r\nACGT\r\n");
  }
};

TEST(PreparaCartellaUtente, FirstStartCreatesTheFolderWithEveryShippedFile) {
  Installazione i;
  EXPECT_FALSE(cartellaPronta(i.lavoro));
  preparaCartellaUtente(i.lavoro, i.forniti);
  EXPECT_TRUE(cartellaPronta(i.lavoro));
  EXPECT_EQ(test::leggiFile(i.lavoro / "messaggi.txt"), "1;Vorlane\r\n");
  EXPECT_EQ(test::leggiFile(i.lavoro / "tabella_mutazioni_OLD.csv"), "H;16519\r\n");
  EXPECT_EQ(test::leggiFile(i.lavoro / "manuale_Vorlane.htm"), "<html></html>\r\n");
  EXPECT_EQ(test::leggiFile(i.lavoro / "esporta/campioni_esempio.FASTA"), ">a\r\nACGT\r\n");
  // No temporary copy is left behind.
  int voci = 0;
  for (const auto& v : fs::recursive_directory_iterator(i.lavoro)) {
    EXPECT_NE(v.path().filename().native()[0], '.') << v.path();
    ++voci;
  }
  EXPECT_EQ(voci, 5);
}

TEST(PreparaCartellaUtente, NeverReplacesWhatTheUserHasAndAddsWhatIsMissing) {
  Installazione i;
  preparaCartellaUtente(i.lavoro, i.forniti);
  test::scriviFile(i.lavoro / "messaggi.txt", "1;Vorlane modificato\r\n");
  fs::remove(i.lavoro / "manuale_Vorlane.htm");
  fs::remove(i.lavoro / "esporta/campioni_esempio.FASTA");
  test::scriviFile(i.lavoro / "esporta/miei.FASTA", ">b\r\nTTTT\r\n");
  fs::remove(i.lavoro / "tabella_mutazioni_OLD.csv");
  fs::create_symlink(i.t / "non_esiste", i.lavoro / "tabella_mutazioni_OLD.csv");

  preparaCartellaUtente(i.lavoro, i.forniti);
  EXPECT_EQ(test::leggiFile(i.lavoro / "messaggi.txt"), "1;Vorlane modificato\r\n");
  EXPECT_EQ(test::leggiFile(i.lavoro / "manuale_Vorlane.htm"), "<html></html>\r\n");
  EXPECT_EQ(test::leggiFile(i.lavoro / "esporta/campioni_esempio.FASTA"), ">a\r\nACGT\r\n");
  EXPECT_EQ(test::leggiFile(i.lavoro / "esporta/miei.FASTA"), ">b\r\nTTTT\r\n");
  // A link of the user's, even one leading nowhere, is theirs: nothing is written through it.
  EXPECT_TRUE(fs::is_symlink(i.lavoro / "tabella_mutazioni_OLD.csv"));
  EXPECT_FALSE(fs::exists(i.t / "non_esiste"));
}

TEST(PreparaCartellaUtente, FailuresNameTheFolderAndLeaveNoHalfFile) {
  Installazione i;
  // Shipped files missing: a broken installation, said as such.
  try {
    preparaCartellaUtente(i.lavoro, i.t / "altrove");
    ADD_FAILURE() << "no error without shipped files";
  } catch (const ErroreVorlane& e) {
    EXPECT_NE(std::string(e.what()).find("altrove"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(fs::exists(i.lavoro));

  // The working folder's name taken by a file.
  fs::create_directories(i.lavoro.parent_path());
  test::scriviFile(i.lavoro, "un file");
  EXPECT_THROW(preparaCartellaUtente(i.lavoro, i.forniti), ErroreVorlane);
  EXPECT_EQ(test::leggiFile(i.lavoro), "un file");

  // The examples' folder taken by a file of the user's: reported, and the file kept.
  fs::remove(i.lavoro);
  fs::create_directories(i.lavoro);
  test::scriviFile(i.lavoro / "esporta", "mio");
  EXPECT_THROW(preparaCartellaUtente(i.lavoro, i.forniti), ErroreVorlane);
  EXPECT_EQ(test::leggiFile(i.lavoro / "esporta"), "mio");

  // A folder the program may not write into (root may write anywhere: that part is skipped).
  fs::remove_all(i.lavoro);
  fs::create_directories(i.lavoro);
  if (::geteuid() != 0) {
    ::chmod(i.lavoro.c_str(), 0500);
    EXPECT_THROW(preparaCartellaUtente(i.lavoro, i.forniti), ErroreVorlane);
    ::chmod(i.lavoro.c_str(), 0700);
    EXPECT_TRUE(fs::is_empty(i.lavoro));
  }
}

TEST(ScegliCartellaLavoro, TheCurrentFolderWhenReadyOtherwiseTheUsersOwn) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "messaggi.txt", "1;Vorlane\r\n");
  EXPECT_EQ(scegliCartellaLavoro(false, t.percorso()), t.percorso());
  // Asked for, or with no messages here, the user's folder is prepared from the files beside
  // the executable: this test program has none, and the error names where they were sought.
  ::setenv("VORLANE_LAVORO", (t / "mia").c_str(), 1);
  for (bool richiesta : {true, false}) {
    try {
      scegliCartellaLavoro(richiesta, richiesta ? t.percorso() : t / "vuota");
      ADD_FAILURE() << "no error without shipped files";
    } catch (const ErroreVorlane& e) {
      EXPECT_NE(std::string(e.what()).find("share/vorlane"), std::string::npos) << e.what();
    }
  }
  ::unsetenv("VORLANE_LAVORO");
  EXPECT_FALSE(fs::exists(t / "mia"));
}

}  // namespace
}  // namespace vorlane
