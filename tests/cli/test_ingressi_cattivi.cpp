// Bad input end to end: every operation fed a binary file, a file with a 1 MB line, a file that
// is missing or unreadable, or a folder it cannot write. Each ends with a clear message and an
// exit status that says so, and no output file that existed before is lost or half written.

#include <gtest/gtest.h>

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
    {{"normalizza", "t.txt"}, "dati/t.txt", "esporta", "t.FASTA"},
    {{"--arlequin", "normalizza", "t.txt"}, "dati/t.txt", "esporta", "t.ARL"},
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

}  // namespace
}  // namespace vorlane::test
