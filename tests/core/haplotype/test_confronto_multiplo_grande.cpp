// A file large enough to be compared in pieces on two threads must give the log, the results
// and the errors a reading in one go gives.

#include <gtest/gtest.h>

#include "aiuti.h"
#include "base/errore.h"
#include "log/registro.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

// Copies of a small file that make a file of some 5 MB, cut into four pieces.
constexpr int kCopie = 3000;

std::string ripeti(const std::string& testo, int volte) {
  std::string tutto;
  tutto.reserve(testo.size() * static_cast<std::size_t>(volte));
  for (int i = 0; i < volte; ++i) tutto += testo;
  return tutto;
}

std::string hv1(const std::map<int, char>& basi = {}) {
  return sequenzaDa(16001, 16400, basi);
}

// Every way a line can name or hold a sample: a sample wrapped over two lines, one too short to
// compare, an empty line, a TAB line naming its own sample and the plain line after it, a sample
// with eleven mutations, and a header with nothing after it at the end.
std::string blocco() {
  std::map<int, char> undici;
  for (int p = 16110; p <= 16120; ++p) undici[p] = altraBase(p);
  const std::string uno = hv1({{16069, 'T'}, {16126, 'C'}, {16224, 'C'}});
  return ">uno\r\n" + uno.substr(0, 200) + "\r\n" + uno.substr(200) +
         "\r\n>corto\r\nA\r\n\r\n>due lunghissimo nome di campione\r\n" + hv1() + "\r\n" +
         "tre\tfreq\t" + hv1({{16223, 'T'}, {16311, 'C'}}) + "\r\n" + sequenzaDa(16001, 16200) +
         "\r\n>undici\r\n" + hv1(undici) + "\r\n>solo nome\r\n";
}

struct Corsa {
  std::string registro;
  // The result table's rows, header row first.
  std::vector<std::vector<std::string>> pagina;
  std::string risultati;  // the results table
  EsitoEvento esito = EsitoEvento::completato;
  std::vector<Messaggio> messaggi;
};

class ConfrontoMultiploGrande : public ::testing::Test {
 protected:
  Corsa confronta(const std::string& testo, Comando comando = Comando::ConfrontaMultiplo) {
    scriviFile(a.stato.cartellaEsporta / "multi.FASTA", testo);
    std::filesystem::remove_all(a.stato.registro.cartella());
    std::filesystem::create_directory(a.stato.registro.cartella());
    a.porta.messaggi.clear();
    Corsa c;
    c.esito = esegui(a, comando, "multi.FASTA");
    a.stato.registro.svuota();
    c.registro = leggiFile(a.stato.registro.percorso());
    c.pagina = righeUltimaTabella(leggiFile(a.stato.cartellaHtml / "Confronto_multi.htm"));
    c.risultati = leggiFile(a.stato.tabellaRisultati);
    c.messaggi = a.porta.messaggi;
    return c;
  }

  Ambiente a;
};

// The data rows of a results table, its header row left out.
std::vector<std::string> righeDati(const std::string& tabella) {
  std::vector<std::string> righe = righeCrLf(tabella);
  righe.erase(righe.begin());
  while (!righe.empty() && righe.back().empty()) righe.pop_back();
  return righe;
}

// The rows of `risultati` are those of `piccoli`, `volte` times over.
void uguali(const std::string& risultati, const std::string& piccoli, int volte) {
  const std::vector<std::string> righe = righeDati(risultati), attese = righeDati(piccoli);
  ASSERT_FALSE(attese.empty());
  ASSERT_EQ(righe.size(), attese.size() * static_cast<std::size_t>(volte));
  for (std::size_t i = 0; i < righe.size(); ++i)
    ASSERT_EQ(righe[i], attese[i % attese.size()]) << i;
}

TEST_F(ConfrontoMultiploGrande, PiecesGiveWhatOneReadingGives) {
  for (Comando comando : {Comando::ConfrontaMultiplo, Comando::ConfrontaMultiploNew}) {
    Corsa piccolo = confronta(blocco(), comando);
    ASSERT_EQ(righeDati(piccolo.risultati).size(), 5u);
    Corsa grande = confronta(ripeti(blocco(), kCopie), comando);
    ASSERT_EQ(grande.esito, EsitoEvento::completato);
    ASSERT_GT(std::filesystem::file_size(a.stato.cartellaEsporta / "multi.FASTA"), 4u << 20);
    uguali(grande.risultati, piccolo.risultati, kCopie);
    // The same blocks, in the file's order.
    EXPECT_TRUE(grande.registro == ripeti(piccolo.registro, kCopie));
    // The page, written while the pieces are handed on: every row once, in the file's order.
    ASSERT_EQ(piccolo.pagina.size(), 6u);
    ASSERT_EQ(grande.pagina.size(), 1 + 5u * kCopie);
    EXPECT_EQ(grande.pagina[0], piccolo.pagina[0]);
    for (std::size_t i = 1; i < grande.pagina.size(); ++i)
      ASSERT_EQ(grande.pagina[i], piccolo.pagina[1 + (i - 1) % 5]) << i;
  }
}

// A disk that fills part way through the log of a large run worked in pieces: the error is
// reported and no success said, the log keeps whole blocks of the file's first samples, and the
// page of the run before stays.
TEST_F(ConfrontoMultiploGrande, ALogThatFillsPartWayKeepsWholeBlocksAndReportsTheError) {
  Corsa intera = confronta(ripeti(blocco(), kCopie));
  ASSERT_EQ(intera.esito, EsitoEvento::completato);
  const std::filesystem::path pagina = a.stato.cartellaHtml / "Confronto_multi.htm";
  const std::string paginaPrima = leggiFile(pagina);
  // Room for the page, not for the log.
  ASSERT_LT(paginaPrima.size(), intera.registro.size());
  const auto limite = paginaPrima.size() + (intera.registro.size() - paginaPrima.size()) / 2;
  std::filesystem::remove_all(a.stato.registro.cartella());
  std::filesystem::create_directory(a.stato.registro.cartella());
  a.porta.messaggi.clear();
  EsitoEvento esito;
  {
    LimiteFile limiteFile(limite);
    esito = esegui(a, Comando::ConfrontaMultiplo, "multi.FASTA");
  }
  EXPECT_EQ(esito, EsitoEvento::errore);
  const std::string registro = leggiFile(a.stato.registro.percorso());
  ASSERT_GT(registro.size(), 0u);
  ASSERT_LT(registro.size(), intera.registro.size());
  EXPECT_TRUE(intera.registro.starts_with(registro));
  EXPECT_TRUE(registro.ends_with("\r\n"));
  EXPECT_EQ(intera.registro[registro.size()], '*');
  ASSERT_FALSE(a.porta.messaggi.empty());
  EXPECT_EQ(a.porta.messaggi.back().icona, Icona::critica);
  for (const Messaggio& m : a.porta.messaggi)
    EXPECT_EQ(m.testo.find(a.stato.messaggi[45]), std::string::npos) << m.testo;
  EXPECT_TRUE(leggiFile(pagina) == paginaPrima);
}

TEST_F(ConfrontoMultiploGrande, AWrappedFileGivesWhatTheOneLineFileGives) {
  std::map<int, char> undici;
  for (int p = 16110; p <= 16120; ++p) undici[p] = altraBase(p);
  const std::string unaRiga =
      ripeti(">uno\r\n" + hv1({{16069, 'T'}, {16126, 'C'}}) + "\r\n>due\r\n" + hv1() +
                 "\r\n>undici\r\n" + hv1(undici) + "\r\n>corto\r\nA\r\n",
             kCopie);
  Corsa attesa = confronta(unaRiga);
  ASSERT_EQ(attesa.esito, EsitoEvento::completato);
  ASSERT_EQ(righeDati(attesa.risultati).size(), 3u * kCopie);
  Corsa aCapo = confronta(fastaACapo(unaRiga, 70, "\r\n"));
  ASSERT_GT(std::filesystem::file_size(a.stato.cartellaEsporta / "multi.FASTA"), 3u << 20);
  EXPECT_EQ(aCapo.esito, EsitoEvento::completato);
  uguali(aCapo.risultati, attesa.risultati, 1);
  EXPECT_TRUE(aCapo.registro == attesa.registro);
}

TEST_F(ConfrontoMultiploGrande, AnIntervalOutsideTheSequenceStopsBeforeAnyPiece) {
  // The interval is checked before the file is read: a large file gives the error a small one
  // gives, and no block reaches the log, however far into the file the first listed sample is.
  a.stato.impostazioni.NumeroMutazioniDa = "5";
  intervallo(a, "16001", "17000");
  std::string senzaUndici = blocco();
  senzaUndici.erase(senzaUndici.find(">undici"));
  std::vector<Messaggio> messaggi[2];
  for (int grande : {1, 0}) {
    scriviFile(a.stato.cartellaEsporta / "multi.FASTA",
               grande ? ripeti(senzaUndici, kCopie) + blocco() : blocco());
    a.porta.messaggi.clear();
    EXPECT_EQ(esegui(a, Comando::ConfrontaMultiplo, "multi.FASTA"), EsitoEvento::errore);
    a.stato.registro.svuota();
    EXPECT_FALSE(std::filesystem::exists(a.stato.registro.percorso()));
    EXPECT_FALSE(std::filesystem::exists(a.stato.cartellaHtml / "Confronto_multi.htm"));
    messaggi[grande] = a.porta.messaggi;
  }
  ASSERT_EQ(messaggi[1].size(), 1u);
  const std::string& testo = messaggi[1][0].testo;
  EXPECT_NE(testo.find("(FineSequenza) \"17000\""), std::string::npos) << testo;
  EXPECT_NE(testo.find("CaricaSequenzaDatiMultipli"), std::string::npos) << testo;
  ASSERT_EQ(messaggi[0].size(), 1u);
  EXPECT_EQ(messaggi[0][0].testo, testo);
}

}  // namespace
}  // namespace vorlane::test
