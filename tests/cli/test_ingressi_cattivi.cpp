// Bad input end to end: every operation fed a binary file, a file with a 1 MB line, a file that
// is missing or unreadable, or a folder it cannot write. Each ends with a clear message and an
// exit status that says so, and no output file that existed before is lost or half written.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <random>

#include "sequence/riferimento.h"
#include "support/batch.h"
#include "support/supporto.h"

namespace vorlane::test {
namespace {

namespace fs = std::filesystem;

struct Caso {
  std::vector<std::string> argomenti;
  const char* ingresso;  // relative to the working folder
  const char* cartellaUscita;
  const char* uscita;  // the file the operation writes
};

// One case per operation; the FASTA and Arlequin variants read the same kind of input.
const Caso kCasi[] = {
    {{"--posizioni", "16189,16223", "controllo", "c.FASTA"},
     "esporta/c.FASTA",
     "html",
     "ControlloMutazioni_c.htm"},
    {{"--arlequin", "--posizioni", "16189", "controllo", "c.ARL"},
     "esporta/c.ARL",
     "html",
     "ControlloMutazioni_c.htm"},
    {{"--sovrascrivi", "converti", "c.FASTA"}, "esporta/c.FASTA", "dati", "c.txt"},
    {{"--sovrascrivi", "--arlequin", "converti", "c.ARL"}, "esporta/c.ARL", "dati", "c.txt"},
    {{"--sovrascrivi", "normalizza", "t.txt"}, "dati/t.txt", "esporta", "t.FASTA"},
    {{"--sovrascrivi", "--arlequin", "normalizza", "t.txt"}, "dati/t.txt", "esporta", "t.ARL"},
    {{"confronta", "c.FASTA"}, "esporta/c.FASTA", "html", "Confronto_c.htm"},
    {{"confronta-motivi", "c.FASTA"}, "esporta/c.FASTA", "html", "Confronto_c.htm"},
    {{"confronta-multiplo", "c.FASTA"}, "esporta/c.FASTA", "html", "Confronto_c.htm"},
    {{"--arlequin", "confronta-multiplo-motivi", "c.ARL"},
     "esporta/c.ARL",
     "html",
     "Confronto_c.htm"},
};

std::string casuale(std::size_t n, unsigned seme) {
  std::mt19937 g(seme);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(g());
  return s;
}

std::string hv1() {
  return std::string(testoRiferimento().substr(16000, 400));
}

class IngressiCattivi : public ProvaBatch {
 protected:
  void esegui(const Caso& c, const std::string& contenuto, std::initializer_list<int> attesi) {
    scriviFile(cartella / c.ingresso, contenuto);
    EsitoBatch e = lancia(c.argomenti);
    EXPECT_TRUE(std::find(attesi.begin(), attesi.end(), e.stato) != attesi.end())
        << c.argomenti.back() << ": " << e.stato << "\n"
        << e.errori;
    if (e.stato == 1) {
      EXPECT_NE(e.errori.find("[ERRORE]"), std::string::npos);
    }
  }
  // No temporary file is left beside the outputs.
  void nessunAvanzo() {
    for (const char* c : {"html", "dati", "esporta"})
      for (const auto& voce : fs::directory_iterator(cartella / c))
        EXPECT_NE(voce.path().filename().native().front(), '.') << voce.path();
  }
};

TEST_F(IngressiCattivi, BinaryFilesAndHugeLinesNeverCrash) {
  for (const Caso& c : kCasi) {
    esegui(c, casuale(200000, 7), {0, 1, 2});
    esegui(c, std::string(1 << 20, 'A') + "\r\n", {0, 1, 2});
    esegui(c, ">x\r\n" + std::string(1 << 20, 'c') + "\r\nS\t1\t" + hv1() + "\r\n", {0, 1, 2});
  }
  nessunAvanzo();
}

TEST_F(IngressiCattivi, AMissingFileIsAnErrorNamingIt) {
  for (const Caso& c : kCasi) {
    fs::remove(cartella / c.ingresso);
    EsitoBatch e = lancia(c.argomenti);
    EXPECT_EQ(e.stato, 1) << c.argomenti.back();
    EXPECT_NE(e.errori.find(fs::path(c.ingresso).filename().string()), std::string::npos)
        << e.errori;
  }
}

// Runs the case as an unprivileged user with `bloccato` made unreadable or unwritable; the
// earlier output must survive byte for byte.
void controllaSenzaPermessi(const fs::path& cartella, const Caso& c, const fs::path& bloccato,
                            fs::perms permessi) {
  const fs::path uscita = cartella / c.cartellaUscita / c.uscita;
  fs::create_directories(uscita.parent_path());
  scriviFile(uscita, "risultato precedente\r\n");
  fs::permissions(bloccato, permessi);
  EsitoBatch e = eseguiBatchSenzaPrivilegi(cartella, c.argomenti);
  fs::permissions(bloccato, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read |
                                fs::perms::group_exec | fs::perms::others_exec);
  EXPECT_EQ(e.stato, 1) << c.argomenti.back() << "\n" << e.uscita;
  EXPECT_NE(e.errori.find("[ERRORE]"), std::string::npos) << c.argomenti.back();
  EXPECT_EQ(leggiFile(uscita), "risultato precedente\r\n") << c.argomenti.back();
}

TEST_F(IngressiCattivi, UnreadableInputOrReadOnlyOutputFolderKeepsTheOldOutput) {
  const std::string campioni = ">S1\r\n" + hv1() + "\r\n";
  const std::string arlequin = "S1\t1\t" + hv1() + "\r\n";
  for (const Caso& c : kCasi) {
    bool tabella = std::string(c.ingresso).starts_with("dati");
    bool arl = std::string(c.ingresso).ends_with(".ARL");
    scriviFile(cartella / c.ingresso, tabella ? "S1\t1\t16189C\r\n" : arl ? arlequin : campioni);
    controllaSenzaPermessi(cartella.percorso(), c, cartella / c.ingresso, fs::perms::none);
    controllaSenzaPermessi(cartella.percorso(), c, cartella / c.cartellaUscita,
                           fs::perms::owner_read | fs::perms::owner_exec);
  }
  nessunAvanzo();
}

// A good input for each case, the same as the one the permission test uses.
std::string ingressoValido(const Caso& c) {
  if (std::string(c.ingresso).starts_with("dati")) return "S1\t1\t16189C\r\n";
  if (std::string(c.ingresso).ends_with(".ARL")) return "S1\t1\t" + hv1() + "\r\n";
  return ">S1\r\n" + hv1() + "\r\n";
}

std::string impostazioni(const std::string& inizio, const std::string& fine) {
  return "[InizioSequenza]\r\nInizioSequenza=" + inizio +
         "\r\n[FineSequenza]\r\nFineSequenza=" + fine +
         "\r\n[caratteriPermessi]\r\ncaratteriPermessi=A,T,G,C,N,X,?\r\n";
}

TEST_F(IngressiCattivi, AStartOrEndThatIsNotAPositionIsTheSameErrorInEveryOperation) {
  // Read as 0 (or converted to an integer out of range) they listed every position as mutated,
  // or wrote every sequence empty and said the work was done.
  const std::pair<std::string, std::string> intervalli[] = {
      {"", "16400"},    {"abc", "16400"}, {"-1e308", "16400"}, {"1e20", "16400"}, {"16001", "nan"},
      {"16001", "inf"}, {"0", "16400"},   {"16001", "16570"},  {"16001", "-5"},
  };
  for (const Caso& c : kCasi) {
    scriviFile(cartella / c.ingresso, ingressoValido(c));
    const fs::path uscita = cartella / c.cartellaUscita / c.uscita;
    fs::create_directories(uscita.parent_path());
    for (const auto& [inizio, fine] : intervalli) {
      SCOPED_TRACE(c.argomenti.back() + " " + c.ingresso + " " + inizio + "-" + fine);
      scriviFile(uscita, "risultato precedente\r\n");
      scriviFile(cartella / "Vorlane.ini", impostazioni(inizio, fine));
      EsitoBatch e = lancia(c.argomenti);
      EXPECT_EQ(e.stato, 1) << e.uscita;
      EXPECT_NE(e.errori.find("non \xC3\xA8 una posizione"), std::string::npos) << e.errori;
      EXPECT_EQ(leggiFile(uscita), "risultato precedente\r\n");
    }
  }
  nessunAvanzo();
}

TEST_F(IngressiCattivi, MutationCountsThatAreNotNumbersAndFractionalPositionsAreRefused) {
  scriviFile(cartella / "esporta" / "c.FASTA", ">S1\r\n" + hv1() + "\r\n");
  for (const char* valore : {"abc", "1e309", "NaN", ""}) {
    SCOPED_TRACE(valore);
    scriviFile(cartella / "Vorlane.ini", impostazioni("16001", "16400") +
                                             "[NumeroMutazioniA]\r\nNumeroMutazioniA=" + valore +
                                             "\r\n");
    for (const char* operazione : {"confronta", "confronta-multiplo-motivi"}) {
      EsitoBatch e = lancia(std::vector<std::string>{operazione, "c.FASTA"});
      EXPECT_EQ(e.stato, 1) << operazione << e.uscita;
      EXPECT_NE(e.errori.find("(NumeroMutazioniA) \"" + std::string(valore) +
                              "\" non \xC3\xA8 un numero"),
                std::string::npos)
          << e.errori;
    }
  }
  fs::remove(cartella / "Vorlane.ini");
  // A fraction typed into a box, or listed among the positions.
  for (const char* frazione : {"16.001", "16069.5"}) {
    EsitoBatch e = lancia({"--da", frazione, "confronta", "c.FASTA"});
    EXPECT_EQ(e.stato, 2) << e.errori;
    EXPECT_NE(e.errori.find("non \xC3\xA8 una posizione"), std::string::npos) << e.errori;
  }
  EsitoBatch e = lancia({"--posizioni", "16069.5,16189", "controllo", "c.FASTA"});
  EXPECT_EQ(e.stato, 2) << e.errori;
  EXPECT_NE(e.errori.find("16069.5 non \xC3\xA8 valida"), std::string::npos) << e.errori;
}

TEST_F(IngressiCattivi, AByteOrderMarkIsDroppedByEveryReader) {
  const std::string bom = "\xEF\xBB\xBF";
  // The messages, the settings and both haplotype tables start with one.
  for (const char* file :
       {"messaggi.txt", "tabella_mutazioni_OLD.csv", "tabella_mutazioni_Motifs.csv"})
    scriviFile(cartella / file, bom + leggiFile(cartella / file));
  scriviFile(cartella / "Vorlane.ini",
             bom + "[caratteriPermessi]\r\ncaratteriPermessi=A,T,G,C,N,X,?\r\n");
  // A FASTA file and an Arlequin file whose first sample equals the reference: a table row
  // without mutations, under the sample's own name.
  scriviFile(cartella / "esporta" / "f.FASTA", bom + ">S1\r\n" + hv1() + "\r\n");
  ASSERT_EQ(lancia(std::vector<std::string>{"converti", "f.FASTA"}).stato, 0);
  EXPECT_EQ(righeCrLf(leggiFile(cartella / "dati" / "f.txt")).at(4), "f S1\t1");
  scriviFile(cartella / "esporta" / "a.ARL", bom + "S1\t2\t" + hv1() + "\r\n");
  ASSERT_EQ(lancia({"--arlequin", "converti", "a.ARL"}).stato, 0);
  EXPECT_EQ(righeCrLf(leggiFile(cartella / "dati" / "a.txt")).at(4), "a S1\t2");
  // A mutation table: its header is still a comment.
  scriviFile(cartella / "dati" / "t.txt", bom + "/ intestazione\r\nS1\t1\t16189C\r\n");
  ASSERT_EQ(lancia(std::vector<std::string>{"normalizza", "t.txt"}).stato, 0);
  EXPECT_EQ(righeCrLf(leggiFile(cartella / "esporta" / "t.FASTA")).at(0), ">S1 (freq: 1)");
  // A file large enough to be read in pieces: its first sample is not lost either.
  std::string grande = bom;
  for (int i = 0; grande.size() < (4u << 20); ++i)
    grande += ">S" + std::to_string(i) + "\r\n" + hv1() + "\r\n";
  scriviFile(cartella / "esporta" / "g.FASTA", grande);
  ASSERT_EQ(lancia(std::vector<std::string>{"converti", "g.FASTA"}).stato, 0);
  EXPECT_EQ(righeCrLf(leggiFile(cartella / "dati" / "g.txt")).at(4), "g S0\t1");
  ASSERT_EQ(lancia(std::vector<std::string>{"confronta-multiplo", "g.FASTA"}).stato, 0);
  EXPECT_EQ(registro().find("?S0"), std::string::npos);
  EXPECT_NE(registro().find(": S0\r\n"), std::string::npos);
}

std::string registroDiOggi() {
  std::time_t ora = std::time(nullptr);
  std::tm oggi{};
  ::localtime_r(&ora, &oggi);
  char nome[32];
  std::strftime(nome, sizeof nome, "%Y%m%d_Vorlane.log", &oggi);
  return nome;
}

TEST_F(IngressiCattivi, TheLogIsNotWrittenThroughALinkAndItsFailureIsNotCalledSuccess) {
  scriviFile(cartella / "esporta" / "c.FASTA", ">S1\r\n" + hv1() + "\r\n");
  fs::create_directories(cartella / "log");
  scriviFile(cartella / "fuori.txt", "altrui\r\n");
  fs::create_symlink(cartella / "fuori.txt", cartella / "log" / registroDiOggi());
  for (const char* operazione : {"controllo", "confronta", "confronta-multiplo"}) {
    SCOPED_TRACE(operazione);
    EsitoBatch e = lancia({"--posizioni", "16189", operazione, "c.FASTA"});
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.errori.find("collegamento simbolico"), std::string::npos) << e.errori;
    EXPECT_EQ(leggiFile(cartella / "fuori.txt"), "altrui\r\n");
  }
  // A log that cannot be written: the multiple comparison does not say it completed first.
  fs::remove(cartella / "log" / registroDiOggi());
  scriviFile(cartella / "html" / "Confronto_c.htm", "precedente\r\n");
  fs::permissions(cartella / "log", fs::perms::owner_read | fs::perms::owner_exec);
  EsitoBatch e = eseguiBatchSenzaPrivilegi(cartella.percorso(), {"confronta-multiplo", "c.FASTA"});
  fs::permissions(cartella / "log", fs::perms::owner_all);
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("ScriviLogOperazioni"), std::string::npos) << e.errori;
  EXPECT_EQ(e.errori.find("Elaborazione completata"), std::string::npos) << e.errori;
  EXPECT_EQ(leggiFile(cartella / "html" / "Confronto_c.htm"), "precedente\r\n");
}

TEST_F(IngressiCattivi, ANormalisationAsksBeforeReplacingTheSamplesItCameFrom) {
  const std::string originale = "S1\t1\tnnnn" + hv1() + "acgt\r\n";
  scriviFile(cartella / "esporta" / "campioni.ARL", originale);
  ASSERT_EQ(lancia({"--sovrascrivi", "--arlequin", "converti", "campioni.ARL"}).stato, 0);
  EsitoBatch no = lancia({"--arlequin", "normalizza", "campioni.txt"});
  EXPECT_EQ(no.stato, 2);
  EXPECT_NE(no.errori.find("campioni.ARL"), std::string::npos) << no.errori;
  EXPECT_EQ(leggiFile(cartella / "esporta" / "campioni.ARL"), originale);
  EXPECT_EQ(lancia({"--sovrascrivi", "--arlequin", "normalizza", "campioni.txt"}).stato, 0);
  EXPECT_TRUE(leggiFile(cartella / "esporta" / "campioni.ARL").starts_with("campioni S1\t1\t"));
  EXPECT_NE(leggiFile(cartella / "esporta" / "campioni.ARL"), originale);
}

TEST_F(IngressiCattivi, LineBreaksTypedIntoTheListNeverReachTheSettingsAsLines) {
  // Written as lines, the list would plant a section whose empty entry is found first.
  ASSERT_EQ(lancia({"--posizioni", "16189\r\n[caratteriPermessi]\ncaratteriPermessi=\r", "--salva"})
                .stato,
            0);
  std::vector<std::string> righe = righeCrLf(leggiFile(cartella / "Vorlane.ini"));
  EXPECT_EQ(righe.size(), 31u);
  scriviFile(cartella / "esporta" / "c.FASTA", ">S1\r\n" + hv1() + "\r\n");
  EsitoBatch e = lancia({"--posizioni", "16189", "controllo", "c.FASTA"});
  EXPECT_EQ(e.stato, 0) << e.errori;
}

TEST_F(IngressiCattivi, AWorkingFolderThatIsGoneOrSettingsThatAreAFolderAreNamed) {
  fs::create_directory(cartella / "Vorlane.ini");
  EsitoBatch e = lancia(std::vector<std::string>{});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("Vorlane.ini"), std::string::npos) << e.errori;
  EXPECT_NE(e.errori.find("\xC3\xA8 una cartella"), std::string::npos) << e.errori;
  EXPECT_EQ(e.errori.find("Nessun carattere"), std::string::npos) << e.errori;
  // A pipe of that name is not waited on.
  fs::remove(cartella / "Vorlane.ini");
  ASSERT_EQ(::mkfifo((cartella / "Vorlane.ini").c_str(), 0644), 0);
  e = lancia(std::vector<std::string>{});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("non \xC3\xA8 un file ordinario"), std::string::npos) << e.errori;

  const fs::path via = cartella / "via";
  fs::create_directory(via);
  const std::string comando = "cd '" + via.string() + "' && rmdir '" + via.string() + "' && " +
                              VORLANE_BATCH + " >'" + (cartella / "out").string() + "' 2>'" +
                              (cartella / "err").string() + "'";
  int stato = std::system(comando.c_str());
  EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 1) << stato;
  std::string errori = leggiFile(cartella / "err");
  EXPECT_NE(errori.find("cartella di lavoro"), std::string::npos) << errori;
  EXPECT_NE(errori.find("file o cartella inesistente"), std::string::npos) << errori;
}

// A pipe kept the reading waiting forever, /dev/zero filled the memory, /dev/urandom never ended
// and a socket failed in English.
TEST_F(IngressiCattivi, ASampleFileOrTableThatIsNotARegularFileIsRefused) {
  ASSERT_EQ(::mkfifo((cartella / "esporta" / "tubo.FASTA").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((cartella / "dati" / "tubo.txt").c_str(), 0644), 0);
  const std::string presa = (cartella / "esporta" / "presa.FASTA").string();
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un indirizzo{};
  indirizzo.sun_family = AF_UNIX;
  ASSERT_LT(presa.size(), sizeof indirizzo.sun_path);
  std::memcpy(indirizzo.sun_path, presa.c_str(), presa.size() + 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&indirizzo), sizeof indirizzo), 0);
  fs::create_symlink("/dev/zero", cartella / "esporta" / "zero.FASTA");
  for (const char* file : {"tubo.FASTA", "presa.FASTA", "zero.FASTA", "/dev/urandom"}) {
    for (const char* operazione :
         {"controllo", "converti", "confronta", "confronta-multiplo", "confronta-motivi"}) {
      SCOPED_TRACE(std::string(operazione) + " " + file);
      EsitoBatch e = lancia({"--posizioni", "16189", "--sovrascrivi", operazione, file});
      EXPECT_EQ(e.stato, 1);
      EXPECT_NE(e.errori.find("non \xC3\xA8 un file ordinario"), std::string::npos) << e.errori;
    }
  }
  EsitoBatch e = lancia(std::vector<std::string>{"normalizza", "tubo.txt"});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("tubo.txt': non \xC3\xA8 un file ordinario"), std::string::npos)
      << e.errori;
  // A haplotype table, read at start-up.
  fs::remove(cartella / "tabella_mutazioni_OLD.csv");
  ASSERT_EQ(::mkfifo((cartella / "tabella_mutazioni_OLD.csv").c_str(), 0644), 0);
  e = lancia(std::vector<std::string>{});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("tabella_mutazioni_OLD.csv': non \xC3\xA8 un file ordinario"),
            std::string::npos)
      << e.errori;
  ::close(fd);
}

// Past a file-size limit the signal SIGXFSZ ended the program without a word.
TEST_F(IngressiCattivi, AFileSizeLimitIsAnItalianErrorAndTheOldPageStays) {
  scriviFile(cartella / "esporta" / "c.FASTA", ">S1\r\n" + hv1() + "\r\n");
  ASSERT_EQ(lancia(std::vector<std::string>{}).stato, 0);
  scriviFile(cartella / "html" / "Confronto_c.htm", "precedente\r\n");
  // Its messages go through a pipe to a process without the limit.
  const std::string comando = "cd '" + cartella.percorso().string() + "' && (ulimit -f 2; " +
                              VORLANE_BATCH + " confronta c.FASTA >/dev/null; echo $? >stato) " +
                              "2>&1 | cat >errori";
  ASSERT_EQ(std::system(comando.c_str()), 0);
  EXPECT_EQ(leggiFile(cartella / "stato"), "1\n");
  EXPECT_NE(leggiFile(cartella / "errori").find("file troppo grande"), std::string::npos)
      << leggiFile(cartella / "errori");
  EXPECT_EQ(leggiFile(cartella / "html" / "Confronto_c.htm"), "precedente\r\n");
}

// Under a limit of processes no second thread can be started: the work is done on one, as
// VORLANE_FILI=1 does it, instead of failing with oneTBB's English report.
TEST_F(IngressiCattivi, WhenNoThreadCanBeStartedTheWorkIsDoneOnOne) {
  std::string campioni;
  for (int i = 0; i < 3000; ++i)
    campioni +=
        ">S" + std::to_string(i) + "\r\n" + campione(16001, 400, {16001 + i % 400}) + "\r\n";
  scriviFile(cartella / "esporta" / "c.FASTA", campioni);
  ASSERT_EQ(lancia(std::vector<std::string>{}).stato, 0);
  const std::vector<std::string> argomenti{"--posizioni", "16189", "controllo", "c.FASTA"};
  Redirezioni unFilo;
  unFilo.ambiente = "VORLANE_FILI=1 ";
  EsitoBatch atteso = eseguiBatch(cartella.percorso(), argomenti, unFilo);
  ASSERT_EQ(atteso.stato, 0) << atteso.errori;
  const std::string pagina = leggiFile(cartella / "html" / "ControlloMutazioni_c.htm");
  fs::remove(cartella / "html" / "ControlloMutazioni_c.htm");
  // LeakSanitizer's check at exit needs a thread of its own, which the limit refuses too.
  EsitoBatch e = eseguiBatchSenzaPrivilegi(cartella.percorso(), argomenti,
                                           "--nproc=1 env ASAN_OPTIONS=detect_leaks=0");
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(e.uscita.size(), atteso.uscita.size());
  EXPECT_EQ(leggiFile(cartella / "html" / "ControlloMutazioni_c.htm"), pagina);
}

TEST_F(IngressiCattivi, SystemErrorsAreDescribedInItalian) {
  EsitoBatch e = lancia(std::vector<std::string>{"confronta", "manca.FASTA"});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("file o cartella inesistente"), std::string::npos) << e.errori;
  EXPECT_EQ(e.errori.find("No such file"), std::string::npos) << e.errori;
}

TEST_F(IngressiCattivi, ControlCharactersInNamesAreShownNotObeyed) {
  const std::string nome = "S\x1B]0;titolo\x07\x1B[2J\x01";
  scriviFile(cartella / "esporta" / "c.FASTA", ">" + nome + "\r\n" + hv1() + "\r\n");
  for (const char* operazione : {"controllo", "confronta-multiplo"}) {
    EsitoBatch e = lancia({"--posizioni", "16189", operazione, "c.FASTA"});
    ASSERT_EQ(e.stato, 0) << operazione << e.errori;
    EXPECT_EQ(e.uscita.find_first_of(std::string("\x1B\x07\x01", 3)), std::string::npos)
        << operazione;
  }
  // The check shows its log block, names included; the log holds no control character.
  EXPECT_NE(lancia({"--posizioni", "16189", "controllo", "c.FASTA"}).uscita.find("S?]0;titolo?"),
            std::string::npos);
  EXPECT_EQ(registro().find_first_of(std::string("\x1B\x07\x01", 3)), std::string::npos);
  for (const char* pagina : {"ControlloMutazioni_c.htm", "Confronto_c.htm"}) {
    std::string html = leggiFile(cartella / "html" / pagina);
    EXPECT_EQ(html.find_first_of(std::string("\x1B\x07\x01", 3)), std::string::npos) << pagina;
    EXPECT_NE(html.find("S&#9243;]0;titolo&#9223;"), std::string::npos) << pagina;
  }
}

// A file name holding CR LF (from an archive, say) or a position list holding them forged lines
// of the log ("Aplotipo : FALSO"), and the block shown started at a forged header.
TEST_F(IngressiCattivi, AValueNeverAddsALineToTheLog) {
  const std::string nome = "c.FASTA\r\n*--- falso\r\nAplotipo : FALSO\r\n";
  scriviFile(cartella / "esporta" / nome, ">S1\r\n" + hv1() + "\r\n");
  const std::vector<std::string> casi[] = {
      {"--posizioni", "16189", "controllo", nome},
      {"confronta", nome},
      {"confronta-multiplo", nome},
      {"confronta-motivi", nome},
      {"--posizioni", "16189\r\n*--- falso\r\nAplotipo : FALSO", "confronta", nome},
      {"--posizioni", "16189\r\n*--- falso\r\nAplotipo : FALSO", "confronta-multiplo", nome},
  };
  for (const auto& argomenti : casi) {
    SCOPED_TRACE(argomenti.front() + " " + argomenti.at(argomenti.size() - 2));
    EsitoBatch e = lancia(argomenti);
    ASSERT_EQ(e.stato, 0) << e.errori;
    // The blocks shown start at their own header and show the values in one line.
    if (argomenti.at(argomenti.size() - 2) == "confronta-multiplo") continue;
    const std::size_t inizio = e.uscita.find("[Vorlane]\n*--- ");
    ASSERT_NE(inizio, std::string::npos) << e.uscita;
    EXPECT_TRUE(e.uscita.substr(inizio).starts_with("[Vorlane]\n*--- Analisi")) << e.uscita;
    EXPECT_NE(e.uscita.find("c.FASTA??*--- falso??Aplotipo : FALSO??"), std::string::npos)
        << e.uscita;
  }
  for (const std::string& riga : righeCrLf(registro())) {
    EXPECT_EQ(riga.find_first_of("\r\n"), std::string::npos);
    EXPECT_FALSE(riga.starts_with("*--- falso") || riga.starts_with("Aplotipo : FALSO")) << riga;
  }
}

}  // namespace
}  // namespace vorlane::test
