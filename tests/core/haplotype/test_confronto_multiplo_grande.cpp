// A file large enough to be compared in pieces on two threads must give the log, the results,
// the state and the errors a reading in one go gives.

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
  RisultatiMultipli risultati;
  std::string sequenza, marche, aplotipo;
  double numero = 0;
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
    c.risultati = a.stato.risultatiMultipli;
    c.sequenza = a.stato.sequenzaCampione;
    c.marche.assign(a.stato.marcaMutazioni.begin(), a.stato.marcaMutazioni.end());
    c.aplotipo = a.stato.aplotipoTrovato;
    c.numero = a.stato.numeroMutazioni;
    c.messaggi = a.porta.messaggi;
    return c;
  }

  Ambiente a;
};

void uguali(const RisultatiMultipli& risultati, const RisultatiMultipli& piccoli, int volte) {
  ASSERT_EQ(risultati.size(), piccoli.size() * static_cast<std::size_t>(volte));
  for (std::size_t i = 0; i < risultati.size(); ++i) {
    const RisultatoCampione& atteso = piccoli[i % piccoli.size()];
    ASSERT_EQ(risultati[i].identificativo, atteso.identificativo) << i;
    ASSERT_EQ(risultati[i].aplotipo, atteso.aplotipo) << i;
    ASSERT_EQ(risultati[i].numeroMutazioni, atteso.numeroMutazioni) << i;
  }
}

TEST_F(ConfrontoMultiploGrande, PiecesGiveWhatOneReadingGives) {
  for (Comando comando : {Comando::ConfrontaMultiplo, Comando::ConfrontaMultiploNew}) {
    Corsa piccolo = confronta(blocco(), comando);
    ASSERT_EQ(piccolo.risultati.size(), 5u);
    Corsa grande = confronta(ripeti(blocco(), kCopie), comando);
    ASSERT_EQ(grande.esito, EsitoEvento::completato);
    ASSERT_GT(std::filesystem::file_size(a.stato.cartellaEsporta / "multi.FASTA"), 4u << 20);
    uguali(grande.risultati, piccolo.risultati, kCopie);
    EXPECT_EQ(a.stato.campioniConfrontati, 5.0 * kCopie);
    // The same blocks, in the file's order.
    EXPECT_TRUE(grande.registro == ripeti(piccolo.registro, kCopie));
    // The page, written while the pieces are handed on: every row once, in the file's order.
    ASSERT_EQ(piccolo.pagina.size(), 6u);
    ASSERT_EQ(grande.pagina.size(), 1 + 5u * kCopie);
    EXPECT_EQ(grande.pagina[0], piccolo.pagina[0]);
    for (std::size_t i = 1; i < grande.pagina.size(); ++i)
      ASSERT_EQ(grande.pagina[i], piccolo.pagina[1 + (i - 1) % 5]) << i;
    // The state holds the last sample compared, emptied by the header after it.
    EXPECT_EQ(grande.sequenza, piccolo.sequenza);
    EXPECT_EQ(grande.marche, piccolo.marche);
    EXPECT_EQ(grande.numero, piccolo.numero);
    EXPECT_GT(grande.numero, 0);
    EXPECT_EQ(grande.aplotipo, piccolo.aplotipo);
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
  ASSERT_EQ(attesa.risultati.size(), 3u * kCopie);
  Corsa aCapo = confronta(fastaACapo(unaRiga, 70, "\r\n"));
  ASSERT_GT(std::filesystem::file_size(a.stato.cartellaEsporta / "multi.FASTA"), 3u << 20);
  EXPECT_EQ(aCapo.esito, EsitoEvento::completato);
  uguali(aCapo.risultati, attesa.risultati, 1);
  EXPECT_TRUE(aCapo.registro == attesa.registro);
  EXPECT_EQ(aCapo.sequenza, attesa.sequenza);
  EXPECT_EQ(aCapo.marche, attesa.marche);
  EXPECT_EQ(aCapo.numero, attesa.numero);
  EXPECT_EQ(aCapo.aplotipo, attesa.aplotipo);
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
    EXPECT_TRUE(a.stato.risultatiMultipli.empty());
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
