#include <gtest/gtest.h>

#include "sequence/riferimento.h"
#include "support/batch.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

TEST(BatchAvvio, CreatesFoldersAndSettingsThenStops) {
  CartellaTemporanea t;
  preparaCartellaLavoro(t.percorso());
  EsitoBatch e = eseguiBatch(t.percorso(), {});
  EXPECT_EQ(e.stato, 0) << e.errori;
  for (const char* c : {"log", "html", "dati", "esporta"})
    EXPECT_TRUE(std::filesystem::is_directory(t / c)) << c;
  auto righe = righeCrLf(leggiFile(t / "Vorlane.ini"));
  ASSERT_EQ(righe.size(), 31u);
  EXPECT_EQ(righe[30], "caratteriPermessi=A,T,G,C,N,X,?");
}

TEST(BatchAvvio, ABrokenMessagesFileEndsWithTheReportOnStandardError) {
  CartellaTemporanea t;
  scriviFile(t / "messaggi.txt", "20;Errore in\n201;troppo\n");
  EsitoBatch e = eseguiBatch(t.percorso(), {});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("[ERRORE]"), std::string::npos);
  EXPECT_NE(e.errori.find("Errore in CaricaMessaggi"), std::string::npos);
  EXPECT_NE(e.errori.find("messaggi.txt, riga 2"), std::string::npos);
  scriviFile(t / "messaggi.txt", "1;a\nsenza punto e virgola\n");
  e = eseguiBatch(t.percorso(), {});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("riga 2"), std::string::npos);
  std::filesystem::remove(t / "messaggi.txt");
  EXPECT_EQ(eseguiBatch(t.percorso(), {}).stato, 1);
}

TEST(BatchAvvio, ARefusedBoxValueExitsTwoWithTheReasonOnStandardError) {
  CartellaTemporanea t;
  preparaCartellaLavoro(t.percorso());
  EsitoBatch e = eseguiBatch(t.percorso(), {"--da", "abc"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.errori.find("abc"), std::string::npos);
  EXPECT_TRUE(e.uscita.empty()) << e.uscita;
}

TEST(BatchAvvio, SaveWritesTheBoxesAfterTheirRules) {
  CartellaTemporanea t;
  preparaCartellaLavoro(t.percorso());
  EXPECT_EQ(
      eseguiBatch(t.percorso(), {"--da", "16500", "--posizioni", "16189,16223", "--salva"}).stato,
      0);
  std::string ini = leggiFile(t / "Vorlane.ini");
  EXPECT_NE(ini.find("InizioSequenza=16500\r\n"), std::string::npos);
  // The end stays where it was: 16500-16400 runs across the origin.
  EXPECT_NE(ini.find("FineSequenza=16400\r\n"), std::string::npos);
  EXPECT_NE(ini.find("posMutazione=16189,16223\r\n"), std::string::npos);
  // Without --salva the file stays as it is.
  EXPECT_EQ(eseguiBatch(t.percorso(), {"--da", "16001"}).stato, 0);
  EXPECT_EQ(leggiFile(t / "Vorlane.ini"), ini);
}

TEST(BatchAvvio, TheAlignmentSwitchIsKeptInTheSettingsOnlyWhenOff) {
  CartellaTemporanea t;
  preparaCartellaLavoro(t.percorso());
  ASSERT_EQ(eseguiBatch(t.percorso(), {"--salva"}).stato, 0);
  const std::string predefinito = leggiFile(t / "Vorlane.ini");
  EXPECT_EQ(predefinito.find("Allineamento"), std::string::npos);

  // A read that starts 20 positions into the interval: placed from the start, every base is
  // compared with the wrong one; aligned, it has no difference.
  std::string_view rif = testoRiferimento();
  std::string lettura;
  for (std::size_t p = 16021; p <= 16380; ++p)
    lettura.push_back(static_cast<char>(rif[p - 1] & ~0x20));
  scriviFile(t / "esporta" / "l.FASTA", ">l\r\n" + lettura + "\r\n");
  auto differenze = [&](std::vector<std::string> argomenti) {
    argomenti.insert(argomenti.end(), {"--tsv", "confronta-multiplo", "l.FASTA"});
    EsitoBatch e = eseguiBatch(t.percorso(), argomenti);
    EXPECT_EQ(e.stato, 0) << e.errori;
    std::vector<std::string> righe = dividi(e.uscita, '\n');
    return righe.size() > 1 ? dividi(righe[1], '\t').at(4) : std::string("?");
  };
  EXPECT_EQ(differenze({}), "0");
  EXPECT_NE(differenze({"--senza-allineamento"}), "0");

  // Turned off and saved, it stays off in the next runs until turned on again; on, the file is
  // byte for byte the one of a user who never touched it.
  ASSERT_EQ(eseguiBatch(t.percorso(), {"--senza-allineamento", "--salva"}).stato, 0);
  EXPECT_NE(leggiFile(t / "Vorlane.ini").find("[Allineamento]\r\nAllineamento=0\r\n"),
            std::string::npos);
  EXPECT_NE(differenze({}), "0");
  EXPECT_EQ(differenze({"--allinea"}), "0");
  ASSERT_EQ(eseguiBatch(t.percorso(), {"--allinea", "--salva"}).stato, 0);
  EXPECT_EQ(leggiFile(t / "Vorlane.ini"), predefinito);

  // A sample left out is named on standard error even with -q: the results do not show it.
  scriviFile(t / "esporta" / "x.FASTA", ">l\r\n" + lettura + "\r\n>estraneo\r\n" +
                                            std::string(200, 'A') + std::string(200, 'C') + "\r\n");
  EsitoBatch e = eseguiBatch(t.percorso(), {"-q", "--tsv", "confronta-multiplo", "x.FASTA"});
  EXPECT_EQ(e.stato, 0);
  EXPECT_NE(e.errori.find("estraneo: nessun tratto del riferimento"), std::string::npos)
      << e.errori;
  EXPECT_EQ(dividi(e.uscita, '\n').size(), 3u) << e.uscita;  // header, one row, the last newline
}

}  // namespace
}  // namespace vorlane::test
