#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

#include "app/operazioni.h"
#include "log/registro.h"
#include "mutation/controllo.h"
#include "sequence/alfabeto.h"
#include "sequence/riferimento.h"
#include "stato/parametri.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

// The reference over 16001..16400, upper case: a sample with no mutation.
std::string hv1() {
  std::string s(testoRiferimento().substr(16000, 400));
  for (char& c : s) c = maiuscola(c);
  return s;
}

// `sequenza` with character `c` at 1-based column `colonna`.
std::string con(std::string sequenza, std::size_t colonna, char c) {
  sequenza[colonna - 1] = c;
  return sequenza;
}

// The records as the fixed rule places them, character k at the interval's start + k - 1:
// what these tests look at is how records are read and marked (test_controllo_allineato.cpp
// has the aligned check).
class ControlloMutazioni : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(a.avviato);
    a.stato.allinea = false;
  }

  // Types the list, prepares the check and double-clicks `nome` in the export folder.
  EsitoEvento esegui(const std::string& nome, const std::string& contenuto,
                     const std::string& lista, bool arlequin = false) {
    scriviFile(a.stato.cartellaEsporta / nome, contenuto);
    return avvia(nome, lista, arlequin);
  }
  // The same on a file already in place.
  EsitoEvento avvia(const std::string& nome, const std::string& lista, bool arlequin = false) {
    a.porta.impostaTesto(Controllo::Text_posMutazione, lista);
    Text_posMutazione_Change(a.stato, a.porta);
    PreparaOperazione(a.stato, a.porta, Comando::ControlloMutazioni);
    Option_TipoFileSequenza_Click(a.stato, arlequin ? 1 : 0);
    a.porta.messaggi.clear();
    return File_Sequenza_DblClick(a.stato, a.porta, nome);
  }
  std::vector<std::string> registro() { return righeCrLf(leggiFile(a.stato.registro.percorso())); }
  std::filesystem::path pagina(const std::string& base) {
    return a.stato.cartellaHtml / ("ControlloMutazioni_" + base + ".htm");
  }
  const std::string& m(int i) { return a.stato.messaggi[i]; }

  Ambiente a;
};

TEST_F(ControlloMutazioni, MarksThePositionsThatDifferFromTheReferenceAndLogsTheBlock) {
  std::string s = con(con(hv1(), 189, 'c'), 223, 't');
  std::string corto = hv1().substr(0, 200);  // ends before 16223
  std::string contenuto = ">uno\r\n" + s + "\r\n>minuscole\r\n" + con(hv1(), 189, 't') +
                          "\r\n>ennea\r\n" + con(hv1(), 223, 'n') + "\r\n>corto\r\n" + corto +
                          "\r\n>uguale\r\n" + hv1() + "\r\n";
  ASSERT_EQ(esegui("prova.FASTA", contenuto, "16189,16223"), EsitoEvento::completato);

  std::string file = testoPercorso(a.stato.cartellaEsporta / "prova.FASTA");
  std::vector<std::string> attese = {
      "*--- Analisi Vorlane : 07/12/2026 10:20:30 -----------*",
      "Sequenza riferimento          : Andrews et al., 1999 (Nature Genetics 23:147)",
      "File sequenze analizzato      : " + file,
      "Intervallo mutazioni          : da 0 a 16569",
      "Lista posizioni mutazione     : 16189,16223",
      "Campione                      : uno",
      "Mutazioni                     : 16189 - 16223",
      "Campione                      : minuscole",
      "Campione                      : ennea",
      "Dati mancanti                 : 16223",
      "Campione                      : corto",
      "Dati mancanti                 : 16223",
      "Campione                      : uguale",
      "Numero dei campioni mutati    : 1",
  };
  EXPECT_EQ(registro(), attese);

  ASSERT_EQ(a.porta.messaggi.size(), 3u);
  EXPECT_EQ(a.porta.messaggi[0].testo,
            m(44) + "\r\n" + file + "\r\n" + m(45) + "\r\n" + m(46) + ": 1\r\n" + m(47) + " ");
  EXPECT_EQ(a.porta.messaggi[0].titolo, m(48));
  EXPECT_EQ(a.porta.messaggi[0].icona, Icona::informazione);
  EXPECT_EQ(a.porta.messaggi[1].icona, Icona::nessuna);  // the log viewer
  EXPECT_EQ(righeCrLf(a.porta.messaggi[1].testo), attese);
  EXPECT_EQ(a.porta.messaggi[2].testo,
            m(90) + "\r\n" + testoPercorso(pagina("prova")) + "\r\n" + m(45));

  std::string html = leggiFile(pagina("prova"));
  const std::string rosso = "                <TD BGCOLOR=red><P>*</P></TD>\r\n";
  const std::string azzurro = "                <TD BGCOLOR=#C6D8EB><P></P></TD>\r\n";
  const std::string grigio = "                <TD BGCOLOR=#D3D3D3><P>?</P></TD>\r\n";
  const std::string nome =
      "                  <P>\r\nuno\r\n                  </P>\r\n"
      "                </TD>\r\n";
  EXPECT_NE(html.find(nome + rosso + rosso + "              </TR>"), std::string::npos);
  EXPECT_NE(html.find("minuscole\r\n                  </P>\r\n                </TD>\r\n" + azzurro +
                      azzurro),
            std::string::npos);
  // An N, or a position the record does not reach, is missing data: neither base nor mutation,
  // and the page says what its grey cell means.
  EXPECT_NE(html.find("<P>? su grigio: dato mancante"), std::string::npos);
  EXPECT_NE(
      html.find("ennea\r\n                  </P>\r\n                </TD>\r\n" + azzurro + grigio),
      std::string::npos);
  EXPECT_NE(
      html.find("corto\r\n                  </P>\r\n                </TD>\r\n" + azzurro + grigio),
      std::string::npos);
}

// A check that runs past midnight: its whole block goes to the day it started in and is the
// block shown, not an error about a log of the new day.
TEST_F(ControlloMutazioni, ACheckPastMidnightStaysInTheDayItStartedIn) {
  std::tm adesso = momentoFisso();
  int letture = 0;
  a.stato.registro.orologio = [&] {
    std::tm t = adesso;
    if (letture++ > 0) t.tm_mday += 1;
    return t;
  };
  ASSERT_EQ(esegui("notte.FASTA", ">uno\r\n" + con(hv1(), 223, 't') + "\r\n", "16223"),
            EsitoEvento::completato);
  std::vector<std::string> righe =
      righeCrLf(leggiFile(a.stato.registro.cartella() / "20261207_Vorlane.log"));
  ASSERT_EQ(righe.size(), 8u);
  EXPECT_EQ(righe[6], "Mutazioni                     : 16223");
  EXPECT_FALSE(std::filesystem::exists(a.stato.registro.cartella() / "20261208_Vorlane.log"));
  ASSERT_EQ(a.porta.messaggi.size(), 3u);
  EXPECT_EQ(righeCrLf(a.porta.messaggi[1].testo), righe);
}

TEST_F(ControlloMutazioni, AnInvalidOrOutOfRangeEntryStopsTheCheckWithoutResults) {
  struct Caso {
    std::string lista;
    bool arlequin;
    std::string testo;
  };
  const std::vector<Caso> casi = {
      {"16189,73", false, m(35) + " 73 " + m(36) + "\r\n" + m(37)},
      {"73", true, m(35) + " 73 " + m(39) + "\r\n" + m(37)},
      {"16189,,16223", false, m(35) + "  " + m(36) + "\r\n" + m(37)},
      {"1618x", false, m(35) + " 1618x " + m(36) + "\r\n" + m(37)},
      {"00073", false, m(35) + " 00073 " + m(39) + "\r\n" + m(40) + " 16001-16400"},
      {"16401", true, m(35) + " 16401 " + m(39) + "\r\n" + m(40) + " 16001-16400"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.lista);
    a.stato.posizioniDaRileggere = true;  // a fresh start for each list
    std::filesystem::remove(a.stato.registro.percorso());
    std::string contenuto = c.arlequin ? "S1\t1\t" + hv1() + "\r\n" : ">uno\r\n" + hv1() + "\r\n";
    EXPECT_EQ(esegui(c.arlequin ? "p.ARL" : "p.FASTA", contenuto, c.lista, c.arlequin),
              EsitoEvento::interrotto);
    ASSERT_EQ(a.porta.messaggi.size(), 1u);
    EXPECT_EQ(a.porta.messaggi[0].testo, c.testo);
    EXPECT_EQ(a.porta.messaggi[0].titolo, m(38));
    EXPECT_EQ(a.porta.messaggi[0].icona, Icona::informazione);
    EXPECT_EQ(registro().size(), 5u);  // the header only
    EXPECT_TRUE(std::filesystem::is_empty(a.stato.cartellaHtml));
  }
}

TEST_F(ControlloMutazioni, AnEntryWithALeadingBlankAndAnEmptyList) {
  std::string contenuto = ">uno\r\n" + con(hv1(), 189, 'C') + "\r\n";
  ASSERT_EQ(esegui("p.FASTA", contenuto, "16223, 16189"), EsitoEvento::completato);
  EXPECT_EQ(registro()[6], "Mutazioni                     :  16189");
  EXPECT_NE(leggiFile(pagina("p")).find("\r\n 16189\r\n"), std::string::npos);

  // A new session with an empty box: names only, nothing mutated, no position columns.
  Ambiente b;
  b.stato.allinea = false;
  scriviFile(b.stato.cartellaEsporta / "v.FASTA", contenuto + ">due\r\nNNNN\r\n");
  PreparaOperazione(b.stato, b.porta, Comando::ControlloMutazioni);
  ASSERT_EQ(File_Sequenza_DblClick(b.stato, b.porta, "v.FASTA"), EsitoEvento::completato);
  std::vector<std::string> righe = righeCrLf(leggiFile(b.stato.registro.percorso()));
  ASSERT_EQ(righe.size(), 8u);
  EXPECT_EQ(righe[5], "Campione                      : uno");
  EXPECT_EQ(righe[6], "Campione                      : due");
  EXPECT_EQ(righe[7], "Numero dei campioni mutati    : 0");
  std::string html = leggiFile(b.stato.cartellaHtml / "ControlloMutazioni_v.htm");
  EXPECT_NE(html.find("<B>pos</B>\r\n                  </P>\r\n                </TD>\r\n"
                      "              </TR>"),
            std::string::npos);
  EXPECT_EQ(html.find("BGCOLOR=#C6D8EB><P>"), std::string::npos);
}

TEST_F(ControlloMutazioni, FastaAndArlequinRecords) {
  // A sequence split over two lines is one record; a TAB is a character.
  std::string contenuto = "senza nome\r\n>a\r\n" + hv1().substr(0, 300) + "\r\n" +
                          hv1().substr(300) + "\r\n\r\n>b\r\n" + std::string(188, '\t') + "T\r\n";
  ASSERT_EQ(esegui("f.FASTA", contenuto, "16189"), EsitoEvento::completato);
  std::vector<std::string> righe = registro();
  std::vector<std::string> nomi(righe.begin() + 5, righe.end());
  EXPECT_EQ(nomi, (std::vector<std::string>{
                      "Campione                      : ",
                      "Dati mancanti                 : 16189",
                      "Campione                      : a",
                      "Campione                      : b",
                      "Numero dei campioni mutati    : 0",
                  }));

  ASSERT_EQ(esegui("f.ARL", "S1\t3\t" + hv1() + "\textra\r\n\r\nS2\t1\tNNN\r\n", "16189", true),
            EsitoEvento::completato);
  righe = registro();
  nomi.assign(righe.end() - 4, righe.end());
  EXPECT_EQ(nomi, (std::vector<std::string>{
                      "Campione                      : S1(freq: 3)",
                      "Campione                      : S2(freq: 1)",
                      "Dati mancanti                 : 16189",
                      "Numero dei campioni mutati    : 0",
                  }));
  EXPECT_EQ(righe[righe.size() - 9], "*--- Analisi Vorlane: 07/12/2026 10:20:30 -----------*");
}

TEST_F(ControlloMutazioni, AnArlequinLineWithoutTabStopsTheCheck) {
  ASSERT_EQ(esegui("t.ARL", "S1\t3\t" + hv1() + "\r\n[Profile]\r\n", "16189", true),
            EsitoEvento::interrotto);
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_EQ(a.porta.messaggi[0].testo, m(32) + " \r\n" +
                                           testoPercorso(a.stato.cartellaEsporta / "t.ARL") +
                                           "\r\n" + m(33) + "\r\n" + m(34));
  EXPECT_EQ(a.porta.messaggi[0].titolo, m(48));
  EXPECT_EQ(registro().size(), 5u);
  EXPECT_TRUE(std::filesystem::is_empty(a.stato.cartellaHtml));
}

TEST_F(ControlloMutazioni, AFileWithoutRecordsCountsNoSampleAndGivesAnEmptyGrid) {
  for (std::string contenuto : {std::string(), std::string(">solo\r\n\r\n>intestazioni\r\n")}) {
    SCOPED_TRACE(contenuto.size());
    std::filesystem::remove(a.stato.registro.percorso());
    ASSERT_EQ(esegui("vuoto.FASTA", contenuto, "00073"), EsitoEvento::completato);
    std::vector<std::string> righe = registro();
    ASSERT_EQ(righe.size(), 6u);
    EXPECT_EQ(righe[5], "Numero dei campioni mutati    : 0");
    std::string html = leggiFile(pagina("vuoto"));
    EXPECT_NE(html.find("<B>pos</B>"), std::string::npos);
    EXPECT_EQ(html.find("<TD BGCOLOR=#C6D8EB><P>"), std::string::npos);
  }
}

TEST_F(ControlloMutazioni, FortyPositionsAndTwentyThousandRecords) {
  std::vector<int> posizioni;
  std::string lista;
  for (int p = 16010; p <= 16400; p += 10) {
    posizioni.push_back(p);
    lista += (lista.empty() ? "" : ",") + std::to_string(p);
  }
  ASSERT_EQ(posizioni.size(), 40u);
  // Record i differs at the (i mod 40)-th listed position only.
  std::string contenuto;
  const std::string base = hv1();
  for (int i = 0; i < 20000; ++i) {
    std::size_t colonna = static_cast<std::size_t>(posizioni[i % 40] - 16000);
    contenuto += ">r" + std::to_string(i) + "\n" +
                 con(base, colonna, partnerTransizione(base[colonna - 1])) + "\n";
  }
  ASSERT_EQ(esegui("grande.FASTA", contenuto, lista), EsitoEvento::completato);
  std::vector<std::string> righe = registro();
  ASSERT_EQ(righe.size(), 5u + 2 * 20000 + 1);
  EXPECT_EQ(righe[5 + 2 * 41], "Campione                      : r41");
  EXPECT_EQ(righe[5 + 2 * 41 + 1], "Mutazioni                     : 16020");
  EXPECT_EQ(righe.back(), "Numero dei campioni mutati    : 20000");
  std::string html = leggiFile(pagina("grande"));
  std::size_t rossi = 0;
  for (std::size_t i = html.find("BGCOLOR=red><P>*"); i != std::string::npos;
       i = html.find("BGCOLOR=red><P>*", i + 1))
    ++rossi;
  EXPECT_EQ(rossi, 20000u);
  EXPECT_EQ(html.find("su grigio"), std::string::npos);  // no missing data, no word of it
}

// The rows of the grid: what follows its heading row up to the table's end.
std::string righeGriglia(const std::string& html) {
  std::size_t inizio = html.find("</TR>\r\n", html.find("<B>pos</B>")) + 7;
  return html.substr(inizio, html.find("          </TABLE>", inizio) - inizio);
}

TEST_F(ControlloMutazioni, ALargeFileGivesWhatOneReadingGives) {
  // Files of 3 to 4 MB are read in pieces on two threads: the same lines, page and stops.
  constexpr int kCopie = 4000;
  const std::string s = con(con(hv1(), 189, 'c'), 223, 't');
  for (bool arlequin : {false, true}) {
    SCOPED_TRACE(arlequin);
    const std::string nome = arlequin ? "p.ARL" : "p.FASTA";
    std::string blocco =
        arlequin ? "S1\t1\t" + s + "\r\nS2\t2\t" + hv1() + "\r\n"
                 : ">uno\r\n" + s + "\n" + hv1().substr(0, 200) + "\r\n>due\r" + hv1() + "\r";
    std::filesystem::remove(a.stato.registro.percorso());
    ASSERT_EQ(esegui(nome, blocco, "16189,16223", arlequin), EsitoEvento::completato);
    std::vector<std::string> piccolo = registro();
    std::string righePiccolo = righeGriglia(leggiFile(pagina("p")));

    std::string grande;
    for (int i = 0; i < kCopie; ++i) grande += blocco;
    std::filesystem::remove(a.stato.registro.percorso());
    ASSERT_EQ(esegui(nome, grande, "16189,16223", arlequin), EsitoEvento::completato);
    ASSERT_GT(std::filesystem::file_size(a.stato.cartellaEsporta / nome), 3u << 20);
    std::vector<std::string> righe = registro();
    ASSERT_EQ(righe.size(), 5 + (piccolo.size() - 6) * kCopie + 1);
    for (std::size_t i = 5; i + 1 < righe.size(); ++i)
      ASSERT_EQ(righe[i], piccolo[5 + (i - 5) % (piccolo.size() - 6)]) << i;
    std::string righeGrande = righeGriglia(leggiFile(pagina("p")));
    ASSERT_EQ(righeGrande.size(), righePiccolo.size() * kCopie);
    for (std::size_t i = 0; i < kCopie; ++i)
      ASSERT_EQ(righeGrande.compare(i * righePiccolo.size(), righePiccolo.size(), righePiccolo), 0)
          << i;

    // A list that stops the run, and an Arlequin line without TAB far into the file.
    a.stato.posizioniDaRileggere = true;
    ASSERT_EQ(avvia(nome, "16189,73", arlequin), EsitoEvento::interrotto);
    ASSERT_EQ(a.porta.messaggi.size(), 1u);
    EXPECT_EQ(a.porta.messaggi[0].titolo, m(38));
    if (arlequin) {
      scriviFile(a.stato.cartellaEsporta / nome, grande + "[Profile]\r\n" + blocco);
      ASSERT_EQ(avvia(nome, "16189", true), EsitoEvento::interrotto);
      ASSERT_EQ(a.porta.messaggi.size(), 1u);
      EXPECT_EQ(a.porta.messaggi[0].titolo, m(48));
      EXPECT_NE(a.porta.messaggi[0].testo.find(m(33)), std::string::npos);
    }
  }
}

TEST_F(ControlloMutazioni, ALargeWrappedFileGivesWhatTheOneLineFileGives) {
  // Some 4 MB of samples, read in pieces: wrapped at 70 characters they give the same log lines
  // and page as on one line each.
  // Sample i has an N at column 1 + i % 400 and, but for every third, a C at 16189 (where the
  // reference has T): it is mutated at 16189, and has missing data where the N is listed.
  std::string unaRiga;
  std::size_t mutati = 0, mancanti = 0;
  for (int i = 0; i < 10000; ++i) {
    std::string s = hv1();
    s[static_cast<std::size_t>(i % 400)] = 'N';
    s[188] = i % 3 ? 'C' : 'T';
    unaRiga += ">c" + std::to_string(i) + "\r\n" + s + "\r\n";
    mutati += i % 3 != 0;
    mancanti += i % 400 == 222 || i % 400 == 299;
  }
  std::vector<std::string> registri;
  std::vector<std::string> pagine;
  for (const std::string& testo : {unaRiga, fastaACapo(unaRiga, 70, "\r\n")}) {
    std::filesystem::remove(a.stato.registro.percorso());
    ASSERT_EQ(esegui("p.FASTA", testo, "16189,16223,16300"), EsitoEvento::completato);
    ASSERT_GT(std::filesystem::file_size(a.stato.cartellaEsporta / "p.FASTA"), 3u << 20);
    registri.push_back(leggiFile(a.stato.registro.percorso()));
    pagine.push_back(leggiFile(pagina("p")));
  }
  std::vector<std::string> righe = righeCrLf(registri[0]);
  ASSERT_EQ(righe.size(), 5 + 10000 + mutati + mancanti + 1);
  EXPECT_EQ(righe.back(), "Numero dei campioni mutati    : " + std::to_string(mutati));
  EXPECT_TRUE(registri[1] == registri[0]);
  EXPECT_TRUE(pagine[1] == pagine[0]);
}

TEST_F(ControlloMutazioni, NamesAreEscapedAndThePageIsAsciiOnly) {
  std::string contenuto = "><b>&x\r\n" + hv1() + "\r\n>caff\xE8\r\n" + hv1() + "\r\n";
  a.stato.impostazioni.NumeroMutazioniDa = "<1>";
  ASSERT_EQ(esegui("n.FASTA", contenuto, "16189"), EsitoEvento::completato);
  std::string html = leggiFile(pagina("n"));
  EXPECT_TRUE(soloAscii(html));
  EXPECT_NE(html.find("\r\n&lt;b&gt;&amp;x\r\n"), std::string::npos);
  EXPECT_NE(html.find("\r\ncaff&#232;\r\n"), std::string::npos);
  EXPECT_NE(html.find("da &lt;1&gt; a 16569"), std::string::npos);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
}

// Keeps files of this process below `byte` while it lives, as a full disk would.
class LimiteFile {
 public:
  explicit LimiteFile(rlim_t byte) {
    getrlimit(RLIMIT_FSIZE, &prima_);
    segnale_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = prima_;
    limite.rlim_cur = byte;
    setrlimit(RLIMIT_FSIZE, &limite);
  }
  ~LimiteFile() {
    setrlimit(RLIMIT_FSIZE, &prima_);
    std::signal(SIGXFSZ, segnale_);
  }

 private:
  rlimit prima_{};
  void (*segnale_)(int) = nullptr;
};

TEST_F(ControlloMutazioni, AWriteErrorLeavesThePreviousReportIntact) {
  std::string lista = "16010,16020,16030,16040,16050,16060,16070,16080,16090,16100";
  std::string contenuto;
  for (int i = 0; i < 1000; ++i) contenuto += ">primo" + std::to_string(i) + "\n" + hv1() + "\n";
  ASSERT_EQ(esegui("r.FASTA", contenuto, lista), EsitoEvento::completato);
  const std::string precedente = leggiFile(pagina("r"));
  ASSERT_GT(precedente.size(), 400000u);

  for (char& c : contenuto)
    if (c == 'p') c = 'q';
  scriviFile(a.stato.cartellaEsporta / "r.FASTA", contenuto);
  EsitoEvento esito;
  {
    LimiteFile limite(256 * 1024);  // room for the log, not for the page
    esito = avvia("r.FASTA", lista);
  }
  EXPECT_EQ(esito, EsitoEvento::errore);
  ASSERT_FALSE(a.porta.messaggi.empty());
  EXPECT_EQ(a.porta.messaggi.back().icona, Icona::critica);
  EXPECT_NE(a.porta.messaggi.back().testo.find("ScriviHTML_MATRICE"), std::string::npos);
  EXPECT_EQ(leggiFile(pagina("r")), precedente);
  std::size_t file = 0;
  for ([[maybe_unused]] const auto& voce :
       std::filesystem::directory_iterator(a.stato.cartellaHtml))
    ++file;
  EXPECT_EQ(file, 1u);  // no temporary left behind
  EXPECT_EQ(registro().back(), "Numero dei campioni mutati    : 0");
}

TEST_F(ControlloMutazioni, EditingTheListBetweenTwoChecksExaminesTheNewPositions) {
  std::string s = con(con(hv1(), 189, 'c'), 223, 't');
  ASSERT_EQ(esegui("due.FASTA", ">uno\r\n" + s + "\r\n", "16189"), EsitoEvento::completato);
  EXPECT_EQ(registro()[6], "Mutazioni                     : 16189");
  ASSERT_EQ(avvia("due.FASTA", "16223"), EsitoEvento::completato);
  std::vector<std::string> righe = registro();
  EXPECT_EQ(righe[4 + 8], "Lista posizioni mutazione     : 16223");
  EXPECT_EQ(righe[6 + 8], "Mutazioni                     : 16223");
}

// Records the check reads as the native program did, where the reading of lines would otherwise
// stop a run or show what an earlier run read.
TEST_F(ControlloMutazioni, APageThatCannotBeWrittenIsNotPrecededByTheSummary) {
  // The summary tells the user the work is done; it comes only once the page is on disk.
  std::string contenuto;
  for (int i = 0; i < 1000; ++i) contenuto += ">primo" + std::to_string(i) + "\n" + hv1() + "\n";
  scriviFile(a.stato.cartellaEsporta / "s.FASTA", contenuto);
  EsitoEvento esito;
  {
    LimiteFile limite(256 * 1024);  // room for the log, not for the page
    esito = avvia("s.FASTA", "16010,16020,16030,16040,16050,16060,16070,16080,16090,16100");
  }
  EXPECT_EQ(esito, EsitoEvento::errore);
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_NE(a.porta.messaggi[0].testo.find("ScriviHTML_MATRICE"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(pagina("s")));
}

TEST_F(ControlloMutazioni, AnArlequinLineOfTwoFieldsIsARecordWhileNoPositionIsListed) {
  const std::string contenuto = "S1\t3\r\nS2\t1\t" + hv1() + "\r\n";
  ASSERT_EQ(esegui("d.ARL", contenuto, "", true), EsitoEvento::completato);
  std::vector<std::string> righe = registro();
  ASSERT_EQ(righe.size(), 8u);
  EXPECT_EQ(righe[5], "Campione                      : S1(freq: 3)");
  EXPECT_EQ(righe[6], "Campione                      : S2(freq: 1)");
  EXPECT_EQ(righe[7], "Numero dei campioni mutati    : 0");

  // With a position to look at, the missing sequence is an error naming the line.
  ASSERT_EQ(avvia("d.ARL", "16189", true), EsitoEvento::errore);
  ASSERT_FALSE(a.porta.messaggi.empty());
  EXPECT_NE(a.porta.messaggi.back().testo.find(", riga 1:"), std::string::npos)
      << a.porta.messaggi.back().testo;
}

TEST_F(ControlloMutazioni, AFileWithoutRecordsShowsTheListOfItsOwnRun) {
  ASSERT_EQ(esegui("pieno.FASTA", ">uno\r\n" + hv1() + "\r\n", "16189,16223"),
            EsitoEvento::completato);
  ASSERT_EQ(esegui("vuoto.FASTA", "", "16311"), EsitoEvento::completato);
  std::string html = leggiFile(pagina("vuoto"));
  EXPECT_NE(html.find("\r\n16311\r\n"), std::string::npos);
  EXPECT_EQ(html.find("\r\n16189\r\n"), std::string::npos);
  EXPECT_EQ(html.find("\r\n16223\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::test
