// The check on samples placed by the aligner: the listed positions are reference positions,
// whatever the sample's start and indels; what a sample does not cover is missing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/operazioni.h"
#include "log/registro.h"
#include "sequence/riferimento.h"
#include "stato/parametri.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

// The reference over [da, a] in upper case.
std::string rcrs(int da, int a) {
  std::string s(testoRiferimento().substr(static_cast<std::size_t>(da - 1),
                                          static_cast<std::size_t>(a - da + 1)));
  for (char& c : s) c = maiuscola(c);
  return s;
}

struct Controllo {
  Ambiente a;
  // Checks `contenuto` at `lista` over the interval da-a; the log lines after the header.
  std::vector<std::string> esegui(const std::string& contenuto, const std::string& lista,
                                  const std::string& da, const std::string& fine) {
    a.stato.impostazioni.InizioSequenza = da;
    a.stato.impostazioni.FineSequenza = fine;
    scriviFile(a.stato.cartellaEsporta / "c.FASTA", contenuto);
    a.porta.impostaTesto(vorlane::Controllo::Text_posMutazione, lista);
    Text_posMutazione_Change(a.stato, a.porta);
    PreparaOperazione(a.stato, a.porta, Comando::ControlloMutazioni);
    a.porta.messaggi.clear();
    EXPECT_EQ(File_Sequenza_DblClick(a.stato, a.porta, "c.FASTA"), EsitoEvento::completato);
    std::vector<std::string> righe = righeCrLf(leggiFile(a.stato.registro.percorso()));
    return std::vector<std::string>(righe.begin() + 5, righe.end());
  }
  // The results table's rows, each split at its TABs.
  std::vector<std::vector<std::string>> tabella() {
    std::vector<std::vector<std::string>> righe;
    for (const std::string& r : righeCrLf(leggiFile(a.stato.tabellaRisultati)))
      if (!r.empty()) righe.push_back(dividi(r, '\t'));
    return righe;
  }
};

TEST(ControlloAllineato, ListedPositionsAreReferencePositionsWhateverTheReadsStart) {
  // A read of 16010-16380 with 16189C and a C more in the tract it closes (16193.1C), and
  // 16223T: every base after the insertion is one column later than the fixed rule puts it.
  std::string lettura = rcrs(16010, 16380);
  lettura[16189 - 16010] = 'C';
  lettura[16223 - 16010] = 'T';
  lettura.insert(lettura.begin() + (16190 - 16010), 'C');
  Controllo c;
  std::vector<std::string> righe =
      c.esegui(">lettura\r\nNNN" + lettura + "\r\n>estraneo\r\n" + std::string(150, 'A') +
                   std::string(150, 'C') + "\r\n",
               "16189,16223,16390", "16024", "16400");
  EXPECT_EQ(righe, (std::vector<std::string>{
                       "Campione                      : lettura",
                       "Mutazioni                     : 16189 - 16223",
                       "Dati mancanti                 : 16390",
                       "Numero dei campioni mutati    : 1",
                   }));
  auto t = c.tabella();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(t[0].end() - 3, t[0].end()),
            (std::vector<std::string>{"16189", "16223", "16390"}));
  EXPECT_EQ(std::vector<std::string>(t[1].end() - 3, t[1].end()),
            (std::vector<std::string>{"1", "1", "NA"}));
  EXPECT_EQ(t[1][5], "16189C 16223T");
  // The sample that is no mtDNA has no row, and is named.
  ASSERT_FALSE(c.a.porta.messaggi.empty());
  EXPECT_NE(c.a.porta.messaggi[0].testo.find("estraneo: nessun tratto"), std::string::npos);
}

TEST(ControlloAllineato, ADeletionAtAListedPositionIsAMutationAndTheIntervalMayCrossTheOrigin) {
  // The control region 16024-576 with 16519C, and the AC repeat one unit short (523d 524d).
  std::string regione = rcrs(16024, 16569) + rcrs(1, 576);
  regione[16519 - 16024] = 'C';
  regione.erase(546 + 515 - 1, 2);
  Controllo c;
  std::vector<std::string> righe =
      c.esegui(">cr\r\n" + regione + "\r\n", "16519,00073,00523", "16024", "576");
  EXPECT_EQ(righe, (std::vector<std::string>{
                       "Campione                      : cr",
                       "Mutazioni                     : 16519 - 00523",
                       "Numero dei campioni mutati    : 1",
                   }));
}

}  // namespace
}  // namespace vorlane::test
