#include <gtest/gtest.h>

#include "app/avvio.h"
#include "base/errore.h"
#include "stato/parametri.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

TEST(LeggiIni, MatchesWithoutCaseTrimsAndCuts) {
  test::CartellaTemporanea t;
  std::string lungo(200, 'v');
  test::scriviFile(t / "x.ini",
                   "chiave=fuori da ogni sezione\r\n"
                   "[Altra]\r\nchiave=sbagliata\r\n"
                   "[ PRIMA ]\r\n  CHIAVE  =   valore con spazi   \r\nvuota=\r\n"
                   "[lunga]\r\nv=" +
                       lungo + "\r\n");
  EXPECT_EQ(LeggiIni(t / "x.ini", "prima", "chiave", "d"), "valore con spazi");
  EXPECT_EQ(LeggiIni(t / "x.ini", "Prima", "vuota", "d"), "");
  EXPECT_EQ(LeggiIni(t / "x.ini", "prima", "manca", "d"), "d");
  EXPECT_EQ(LeggiIni(t / "x.ini", "nessuna", "chiave", "d"), "d");
  EXPECT_EQ(LeggiIni(t / "x.ini", "lunga", "v", "d"), lungo.substr(0, 127));
  EXPECT_EQ(LeggiIni(t / "manca.ini", "prima", "chiave", "d"), "d");
}

TEST(LeggiIni, SeveralKeysAreReadInOneGo) {
  // Keys of several sections at once, a section met twice, a key repeated (the first counts),
  // the same key name in two sections and a key that is nowhere.
  test::CartellaTemporanea t;
  test::scriviFile(t / "x.ini",
                   "[a]\r\nk=1\r\n[B]\r\nk=2\r\nK=doppia\r\n[a]\r\nj=3\r\nk=ripetuta\r\n"
                   "[c]\nx = ultima\n");
  const std::vector<VoceIni> voci = {
      {"b", "k", "d"}, {"A", "k", "d"}, {"a", "j", "d"}, {"c", "x", "d"}, {"a", "x", "nessuna"}};
  std::vector<std::string> valori = LeggiIni(t / "x.ini", voci);
  ASSERT_EQ(valori.size(), voci.size());
  EXPECT_EQ(valori, (std::vector<std::string>{"2", "1", "3", "ultima", "nessuna"}));
  EXPECT_EQ(LeggiIni(t / "manca.ini", voci),
            (std::vector<std::string>{"d", "d", "d", "d", "nessuna"}));
}

TEST(Parametri, BaseFileIsWrittenByteForByteAndReadBack) {
  test::Ambiente a;
  ASSERT_TRUE(a.avviato);
  const std::string atteso =
      "\r\n/*\r\nLEGENDA VARIABILI\r\n"
      "NumeroMutazioniDa   ... Inizio intervallo del numero di mutazioni da considerare\r\n"
      "NumeroMutazioniA    ... Fine intervallo del numero di mutazioni da considerare\r\n"
      "InizioSequenza      ... Posizione iniziale della sequenza da considerare\r\n"
      "                        (HV1 16024 HV2 73 o 1) 16001 (inizio 1)\r\n"
      "FineSequenza        ... Posizione finale della sequenza da considerare\r\n"
      "                        (HV1 16365 o 16400 HV2 340 o 576) 16400 (fine 16569)\r\n"
      "PercentoDa          ... Inizio intervallo percentuale mutazioni da considerare\r\n"
      "PercentoA           ... Fine intervallo percentuale mutazioni da considerare\r\n"
      "posMutazione        ... Lista di posizioni di ricerca mutazioni 16363,16264,16362\r\n"
      "caratteriPermessi   ... Lista dei caratteri validi (A,T,G,C,N,X,?)\r\n"
      "*/\r\n\r\n"
      "[NumeroMutazioniDa]\r\nNumeroMutazioniDa=0\r\n[NumeroMutazioniA]\r\nNumeroMutazioniA="
      "16569\r\n"
      "[InizioSequenza]\r\nInizioSequenza=16001\r\n[FineSequenza]\r\nFineSequenza=16400\r\n"
      "[PercentoDa]\r\nPercentoDa=1\r\n[PercentoA]\r\nPercentoA=100\r\n"
      "[posMutazione]\r\nposMutazione=\r\n"
      "[caratteriPermessi]\r\ncaratteriPermessi=A,T,G,C,N,X,?\r\n";
  EXPECT_EQ(test::leggiFile(a.cartella / "Vorlane.ini"), atteso);
  EXPECT_EQ(test::righeCrLf(atteso).size(), 31u);
  EXPECT_EQ(a.stato.caratteriValidi, (std::vector<std::string>{"A", "T", "G", "C", "N", "X", "?"}));
  EXPECT_EQ(a.porta.testo(Controllo::Text_PosizioneMutazioneDa), "16001");
  EXPECT_EQ(a.porta.testo(Controllo::Text_PosizioneMutazioneA), "16400");
}

TEST(Parametri, ExistingFileIsReadAsWrittenAndMissingAllowedCharactersStopStartUp) {
  test::CartellaTemporanea t;
  test::preparaCartellaLavoro(t.percorso());
  test::scriviFile(t / "Vorlane.ini",
                   "[InizioSequenza]\nInizioSequenza=16024\n[posMutazione]\nposMutazione=16189\n"
                   "[caratteriPermessi]\ncaratteriPermessi=A,C\n");
  StatoVorlane s;
  test::PortaTest p;
  ASSERT_TRUE(Avvio(s, p, t.percorso()));
  EXPECT_EQ(s.impostazioni.InizioSequenza, "16024");
  EXPECT_EQ(s.impostazioni.FineSequenza, "16400");  // missing key: default
  EXPECT_EQ(s.impostazioni.posMutazione, "16189");
  EXPECT_EQ(p.testo(Controllo::Text_posMutazione), "16189");

  test::scriviFile(t / "Vorlane.ini", "[caratteriPermessi]\n");
  StatoVorlane s2;
  test::PortaTest p2;
  EXPECT_FALSE(Avvio(s2, p2, t.percorso()));
  ASSERT_EQ(p2.messaggi.size(), 1u);
  EXPECT_EQ(p2.messaggi[0].testo, "Nessun carattere \xE8 definito nel file Vorlane.ini");
  EXPECT_EQ(p2.messaggi[0].titolo, "Errore");
  EXPECT_EQ(p2.messaggi[0].icona, Icona::critica);
}

struct Caselle : ::testing::Test {
  test::Ambiente a;
  void da(const std::string& t) {
    a.porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, t);
    Text_PosizioneMutazioneDa_LostFocus(a.stato, a.porta);
  }
  void fino(const std::string& t) {
    a.porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, t);
    Text_PosizioneMutazioneA_LostFocus(a.stato, a.porta);
  }
  std::pair<std::string, std::string> caselle() {
    return {a.porta.testo(Controllo::Text_PosizioneMutazioneDa),
            a.porta.testo(Controllo::Text_PosizioneMutazioneA)};
  }
  using Coppia = std::pair<std::string, std::string>;
};

// A start above the end is an interval across the origin: neither box moves the other for it.
TEST_F(Caselle, StartBoxRules) {
  da("16500");
  EXPECT_EQ(caselle(), Coppia("16500", "16400"));
  da("0");
  EXPECT_EQ(caselle(), Coppia("1", "1"));
  fino("16400");
  da("17000");
  EXPECT_EQ(caselle(), Coppia("16569", "16400"));
  da("-5");
  EXPECT_EQ(caselle(), Coppia("-5", "16400"));
  EXPECT_EQ(a.stato.impostazioni.InizioSequenza, "-5");
}

TEST_F(Caselle, EndBoxRules) {
  fino("17000");
  EXPECT_EQ(caselle(), Coppia("16569", "16569"));
  da("16001");
  fino("0");
  EXPECT_EQ(caselle(), Coppia("16001", "1"));
  da("16024");
  fino("576");
  EXPECT_EQ(caselle(), Coppia("16024", "576"));
  EXPECT_EQ(a.stato.impostazioni.InizioSequenza, "16024");
  EXPECT_EQ(a.stato.impostazioni.FineSequenza, "576");
}

TEST_F(Caselle, TextThatIsNotANumberIsRefusedAndTheBoxRestored) {
  da("16100");
  a.porta.messaggi.clear();
  a.porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, "16l00");
  EXPECT_FALSE(Text_PosizioneMutazioneDa_LostFocus(a.stato, a.porta));
  EXPECT_EQ(caselle(), Coppia("16100", "16400"));
  ASSERT_EQ(a.porta.messaggi.size(), 1u);
  EXPECT_EQ(a.porta.messaggi[0].icona, Icona::informazione);
  a.porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, "");
  EXPECT_FALSE(Text_PosizioneMutazioneA_LostFocus(a.stato, a.porta));
  EXPECT_EQ(caselle(), Coppia("16100", "16400"));
}

// "16.001" is how an Italian writes sixteen thousand and one: read as 16.001 it started the
// interval at position 16. A position is a whole number, in a box as in the settings.
TEST_F(Caselle, AFractionIsNotAPosition) {
  for (const char* frazione : {"16.001", "16,001", "16069.5", "1e-3"}) {
    SCOPED_TRACE(frazione);
    a.porta.messaggi.clear();
    a.porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, frazione);
    EXPECT_FALSE(Text_PosizioneMutazioneDa_LostFocus(a.stato, a.porta));
    a.porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, frazione);
    EXPECT_FALSE(Text_PosizioneMutazioneA_LostFocus(a.stato, a.porta));
    EXPECT_EQ(caselle(), Coppia("16001", "16400"));
    ASSERT_EQ(a.porta.messaggi.size(), 2u);
    EXPECT_NE(a.porta.messaggi[0].testo.find("non \xE8 una posizione"), std::string::npos);
    std::string errore;
    const Intervallo intervallo = leggiIntervallo(frazione, "16400", false, errore);
    EXPECT_NE(
        errore.find("(InizioSequenza) \"" + std::string(frazione) + "\" non \xE8 una posizione"),
        std::string::npos)
        << errore;
    EXPECT_EQ(intervallo.inizio, 0);
  }
  // Whole numbers written with a decimal part of zero are still whole.
  da("16100.0");
  EXPECT_EQ(caselle(), Coppia("16100.0", "16400"));
  std::string errore;
  const Intervallo intero = leggiIntervallo("16001", "16400,0", false, errore);
  EXPECT_TRUE(errore.empty());
  EXPECT_EQ(intero.inizio, 16001);
  EXPECT_EQ(intero.fine, 16400);
  EXPECT_EQ(leggiIntervallo("16400", "16001", false, errore).fine, 0);
  EXPECT_NE(errore.find("prima dell'inizio"), std::string::npos);
  const Intervallo origine = leggiIntervallo("16024", "576", true, errore);
  EXPECT_TRUE(errore.empty());
  EXPECT_TRUE(origine.attraversaOrigine());
}

// Read as 0, a count bound that is not a number listed no mutation and found no haplotype,
// without a word.
TEST(Parametri, MutationCountBoundsThatAreNotNumbersAreAnErrorNamingThem) {
  Impostazioni imp;
  imp.NumeroMutazioniDa = " 2 ";
  imp.NumeroMutazioniA = "30";
  LimitiMutazioni limiti = limitiMutazioni(imp);
  EXPECT_EQ(limiti.da, 2);
  EXPECT_EQ(limiti.a, 30);
  for (const char* valore : {"abc", "1e309", "NaN", "", "inf", "5x"}) {
    SCOPED_TRACE(valore);
    for (bool inizio : {true, false}) {
      Impostazioni cattive = imp;
      (inizio ? cattive.NumeroMutazioniDa : cattive.NumeroMutazioniA) = valore;
      try {
        limitiMutazioni(cattive);
        ADD_FAILURE() << "accepted";
      } catch (const ErroreVorlane& e) {
        EXPECT_EQ(std::string(e.what()), std::string(inizio ? "l'inizio" : "la fine") +
                                             " dell'intervallo del numero di mutazioni (" +
                                             (inizio ? "NumeroMutazioniDa" : "NumeroMutazioniA") +
                                             ") \"" + valore + "\" non \xE8 un numero");
      }
    }
  }
}

// A list of more than 127 characters was saved and read back cut, a position cut in two.
TEST(Parametri, ALongPositionListIsReadBackWhole) {
  test::Ambiente a;
  ASSERT_TRUE(a.avviato);
  std::string lista = "16001";
  for (int p = 16002; p <= 16100; ++p) lista.append(",").append(std::to_string(p));
  a.stato.impostazioni.posMutazione = lista;
  ScriviFileParametri(a.stato);
  a.stato.impostazioni.posMutazione.clear();
  ASSERT_TRUE(InizializzaValori(a.stato, a.porta));
  EXPECT_EQ(a.stato.impostazioni.posMutazione, lista);
  // The other values keep the reader's limit.
  EXPECT_EQ(LeggiIni(a.cartella / "Vorlane.ini", "posMutazione", "posMutazione", "").size(), 127u);
}

TEST_F(Caselle, ExitWritesTheEditedValues) {
  da("16024");
  fino("16365");
  a.porta.impostaTesto(Controllo::Text_posMutazione, "16189,16223");
  Text_posMutazione_Change(a.stato, a.porta);
  ScriviFileParametri(a.stato);
  auto testo = test::leggiFile(a.cartella / "Vorlane.ini");
  EXPECT_NE(testo.find("\r\nInizioSequenza=16024\r\n"), std::string::npos);
  EXPECT_NE(testo.find("\r\nFineSequenza=16365\r\n"), std::string::npos);
  EXPECT_NE(testo.find("\r\nposMutazione=16189,16223\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vorlane
