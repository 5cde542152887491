// vorlane-batch's command line as users of seqkit and samtools expect it: help and version,
// usage errors that name what is wrong, --opt=value and --, "-" for standard input, an output
// folder, several files in one run, results apart from notices, and a working folder prepared
// when the current one is not.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sequence/riferimento.h"
#include "support/batch.h"
#include "support/supporto.h"
#include "text/testo.h"
#include "versione.h"

namespace vorlane::test {
namespace {
namespace fs = std::filesystem;

std::string fasta(const std::string& nome, const std::vector<int>& mutate) {
  return ">" + nome + "\n" + campione(16001, 400, mutate) + "\n";
}

class RigaComando : public ProvaBatch {
 protected:
  void SetUp() override {
    ProvaBatch::SetUp();
    scriviFile(cartella / "esporta" / "j.FASTA", fasta("J", {16069, 16126}));
    scriviFile(cartella / "esporta" / "k.FASTA", fasta("K", {16224, 16311}));
  }
  EsitoBatch lancia(const std::vector<std::string>& argomenti, const Redirezioni& r = {}) {
    return eseguiBatch(cartella.percorso(), argomenti, r);
  }
};

TEST_F(RigaComando, HelpAndVersionGoToStandardOutputWithoutStartingAnything) {
  CartellaTemporanea vuota;  // no messages file: nothing may be prepared or started
  // Anywhere on the line, past an unknown option too.
  for (const char* opzione : {"--help", "-h"}) {
    EsitoBatch e = eseguiBatch(vuota.percorso(), {"controllo", "--sconosciuta", opzione});
    EXPECT_EQ(e.stato, 0) << opzione << e.errori;
    EXPECT_TRUE(e.errori.empty()) << e.errori;
    EXPECT_TRUE(e.uscita.starts_with("uso: vorlane-batch ")) << e.uscita;
    for (const char* voce : {"confronta-multiplo-motivi", "normalizza", "--cartella", "-q,",
                             "--version", "Stato di uscita", "  2  "})
      EXPECT_NE(e.uscita.find(voce), std::string::npos) << voce;
  }
  EsitoBatch v = eseguiBatch(vuota.percorso(), {"--version"});
  EXPECT_EQ(v.stato, 0);
  EXPECT_TRUE(v.uscita.starts_with(std::string("vorlane-batch (Vorlane) ") + kVersione + "\n"))
      << v.uscita;
  EXPECT_TRUE(fs::is_empty(vuota.percorso()));
}

TEST_F(RigaComando, UsageErrorsNameTheirCauseAndExitTwoBeforeAnyWork) {
  struct Caso {
    std::vector<std::string> argomenti;
    const char* nominato;
  };
  const Caso casi[] = {
      {{"--sconosciuta", "converti", "j.FASTA"}, "opzione sconosciuta: --sconosciuta"},
      {{"-x", "converti", "j.FASTA"}, "opzione sconosciuta: -x"},
      {{"converti", "j.FASTA", "--da"}, "manca il valore dell'opzione --da"},
      {{"converti", "j.FASTA", "-o"}, "manca il valore dell'opzione -o"},
      {{"--salva=si", "converti", "j.FASTA"}, "--salva non vuole un valore"},
      {{"converti"}, "manca il FILE"},
      {{"convertire", "j.FASTA"}, "operazione sconosciuta: convertire"},
  };
  for (const Caso& c : casi) {
    EsitoBatch e = lancia(c.argomenti);
    EXPECT_EQ(e.stato, 2) << c.nominato;
    EXPECT_NE(e.errori.find(c.nominato), std::string::npos) << e.errori;
    EXPECT_NE(e.errori.find("--help"), std::string::npos) << e.errori;
    EXPECT_TRUE(e.uscita.empty()) << e.uscita;
  }
  EXPECT_FALSE(fs::exists(cartella / "Vorlane.ini"));  // start-up never ran
  EXPECT_TRUE(fs::is_empty(cartella / "dati"));
}

TEST_F(RigaComando, ValuesAfterAnEqualsSignOptionsAfterOperandsAndTheEndOfOptions) {
  scriviFile(cartella / "esporta" / "-strano.FASTA", fasta("S", {16189}));
  EsitoBatch e = lancia({"--posizioni=16189,16223", "controllo", "--", "-strano.FASTA"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_NE(e.uscita.find("Mutazioni                     : 16189\n"), std::string::npos)
      << e.uscita;
  e = lancia({"controllo", "j.FASTA", "--posizioni", "16069", "--da=16001"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_NE(e.uscita.find("Mutazioni                     : 16069\n"), std::string::npos);
  // Without "--" the same name is an option.
  EXPECT_EQ(lancia({"controllo", "-strano.FASTA"}).stato, 2);
}

TEST_F(RigaComando, ADashReadsTheSamplesFromStandardInput) {
  scriviFile(cartella / "ingresso", fasta("da_tubo", {16069, 16126}));
  const fs::path temporanea = cartella / "tmp";
  fs::create_directory(temporanea);
  Redirezioni r;
  r.ingresso = cartella / "ingresso";
  r.ambiente = "TMPDIR=" + temporanea.string() + " ";
  EsitoBatch e = lancia({"confronta", "-"}, r);
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_NE(e.uscita.find("Mutazioni                     : 16069,16126\n"), std::string::npos);
  EXPECT_NE(e.uscita.find("/stdin.FASTA\n"), std::string::npos) << e.uscita;
  EXPECT_TRUE(fs::exists(cartella / "html" / "Confronto_stdin.htm"));
  EXPECT_TRUE(fs::is_empty(temporanea));  // the copy of the input is gone
  e = lancia({"converti", "-"}, r);
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_NE(leggiFile(cartella / "dati" / "stdin.txt").find("stdin da_tubo\t1\t16069-16126\r\n"),
            std::string::npos);
}

TEST_F(RigaComando, OutputsGoToTheFolderOfMinusO) {
  EsitoBatch e = lancia({"-o", "risultati/tabelle", "converti", "j.FASTA"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(fs::exists(cartella / "risultati" / "tabelle" / "j.txt"));
  EXPECT_TRUE(fs::is_empty(cartella / "dati"));
  // A bare table name is still looked for in dati/, the folder normalizza lists.
  fs::copy_file(cartella / "risultati" / "tabelle" / "j.txt", cartella / "dati" / "j.txt");
  e = lancia({"-qoricostruiti", "normalizza", "j.txt"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_NE(leggiFile(cartella / "ricostruiti" / "j.FASTA").find(">j J (freq: 1)\r\n"),
            std::string::npos);
  e = lancia({"--cartella=pagine", "confronta", "k.FASTA"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(fs::exists(cartella / "pagine" / "Confronto_k.htm"));
  EXPECT_TRUE(fs::is_empty(cartella / "html"));
  EXPECT_FALSE(fs::is_empty(cartella / "log"));  // the day's log stays in the working folder
}

TEST_F(RigaComando, SeveralFilesRunAsIfAloneAndTheWorstStatusIsTheRun) {
  const EsitoBatch j = lancia({"confronta", "j.FASTA"});
  const EsitoBatch k = lancia({"confronta", "k.FASTA"});
  ASSERT_EQ(j.stato, 0);
  ASSERT_EQ(k.stato, 0);
  fs::remove_all(cartella / "html");
  EsitoBatch e = lancia({"confronta", "j.FASTA", "k.FASTA"});
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(e.uscita, j.uscita + k.uscita);
  EXPECT_TRUE(fs::exists(cartella / "html" / "Confronto_j.htm"));
  EXPECT_TRUE(fs::exists(cartella / "html" / "Confronto_k.htm"));

  // A refused file (its table exists, the overwrite is declined) and a missing one: the error
  // weighs more than the refusal, and the files after them still run.
  ASSERT_EQ(lancia({"converti", "j.FASTA"}).stato, 0);
  EXPECT_EQ(lancia({"converti", "j.FASTA", "k.FASTA"}).stato, 2);
  EXPECT_TRUE(fs::exists(cartella / "dati" / "k.txt"));
  fs::remove(cartella / "dati" / "k.txt");
  e = lancia({"converti", "j.FASTA", "manca.FASTA", "k.FASTA"});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("manca.FASTA"), std::string::npos) << e.errori;
  EXPECT_TRUE(fs::exists(cartella / "dati" / "k.txt"));
}

TEST_F(RigaComando, ResultsOnStandardOutputNoticesOnStandardErrorQuietKeepsOnlyResults) {
  EsitoBatch e = lancia({"--posizioni", "16069", "controllo", "j.FASTA"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(e.uscita.starts_with("[Vorlane]\n*--- ")) << e.uscita;  // the log block alone
  EXPECT_EQ(e.uscita.find("Campioni con almeno una mutazione"), std::string::npos);
  EXPECT_NE(e.errori.find("Campioni con almeno una mutazione: 1"), std::string::npos);

  EsitoBatch q = lancia({"-q", "--posizioni", "16069", "controllo", "j.FASTA"});
  ASSERT_EQ(q.stato, 0) << q.errori;
  EXPECT_TRUE(q.errori.empty()) << q.errori;
  EXPECT_EQ(righeCrLf(q.uscita).size(), righeCrLf(e.uscita).size());
  // A quiet run that stops still says why.
  q = lancia({"-q", "--posizioni", "abc", "controllo", "j.FASTA"});
  EXPECT_EQ(q.stato, 2);
  EXPECT_NE(q.errori.find("abc"), std::string::npos) << q.errori;
}

TEST_F(RigaComando, ResultsThatCannotBeWrittenAreAnError) {
  Redirezioni piena;
  piena.uscita = "/dev/full";
  EsitoBatch e = lancia({"-q", "--posizioni", "16069", "controllo", "j.FASTA"}, piena);
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("standard output"), std::string::npos) << e.errori;
  EXPECT_EQ(lancia({"--help"}, piena).stato, 1);
  EXPECT_EQ(lancia({"--version"}, piena).stato, 1);
}

TEST_F(RigaComando, PlainPositionsAreTakenLikeFiveDigitOnes) {
  scriviFile(cartella / "esporta" / "hv2.FASTA", ">P\n" + campione(1, 400, {73, 263}) + "\n");
  EsitoBatch e = lancia({"--da", "1", "--a", "400", "--posizioni", "73, 263,16", "--salva",
                         "controllo", "hv2.FASTA"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_NE(e.uscita.find("Mutazioni                     : 00073 - 00263\n"), std::string::npos)
      << e.uscita;
  // Saved as the window's check reads them.
  EXPECT_NE(leggiFile(cartella / "Vorlane.ini").find("posMutazione=00073,00263,00016\r\n"),
            std::string::npos);
  // What is not a plain number stays as typed, for the check to refuse.
  e = lancia({"--da", "1", "--a", "400", "--posizioni", "73a", "controllo", "hv2.FASTA"});
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.errori.find("73a"), std::string::npos) << e.errori;
}

// An installation's layout: the program in PREFIX/bin, its shipped files in PREFIX/share/vorlane.
fs::path installa(const fs::path& prefisso) {
  const fs::path dati = VORLANE_DATI, condivisi = prefisso / "share" / "vorlane";
  fs::create_directories(prefisso / "bin");
  fs::create_directories(condivisi / "esporta");
  fs::copy_file(VORLANE_BATCH, prefisso / "bin" / "vorlane-batch");
  for (const char* nome : {"messaggi.txt", "tabella_mutazioni_OLD.csv",
                           "tabella_mutazioni_Motifs.csv", "manuale_Vorlane.htm"})
    fs::copy_file(dati / nome, condivisi / nome);
  fs::copy(dati / "esporta", condivisi / "esporta");
  return prefisso / "bin" / "vorlane-batch";
}

TEST(BatchCartellaUtente, AFolderNotReadyWorksInThePreparedUserFolder) {
  CartellaTemporanea t;
  Redirezioni r;
  r.programma = installa(t / "usr");
  const fs::path altrove = t / "altrove";
  fs::create_directory(altrove);
  EsitoBatch e = eseguiBatch(altrove, {"confronta", "campioni_esempio.FASTA"}, r);
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_NE(e.errori.find(testoPercorso(altrove / "Vorlane")), std::string::npos) << e.errori;
  EXPECT_TRUE(fs::exists(altrove / "Vorlane" / "html" / "Confronto_campioni_esempio.htm"));
  EXPECT_NE(e.uscita.find("Aplotipo"), std::string::npos);
  // A ready current folder is used as it is, unless --lavoro asks for the user's.
  fs::create_directory(t / "pronta");
  preparaCartellaLavoro(t / "pronta");
  e = eseguiBatch(t / "pronta", {}, r);
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_FALSE(fs::exists(t / "pronta" / "Vorlane"));
  e = eseguiBatch(t / "pronta", {"--lavoro"}, r);
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(fs::exists(t / "pronta" / "Vorlane" / "messaggi.txt"));
}

TEST(BatchCartellaUtente, WithoutShippedFilesTheFailureNamesWhereTheyShouldBe) {
  CartellaTemporanea t;
  EsitoBatch e = eseguiBatch(t.percorso(), {"confronta", "campioni_esempio.FASTA"});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("share/vorlane"), std::string::npos) << e.errori;
  EXPECT_FALSE(fs::exists(t / "Vorlane"));
}

}  // namespace
}  // namespace vorlane::test
