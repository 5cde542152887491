// FASTA as sequencing pipelines and GenBank write it, a sample's sequence wrapped at 60 or 70
// characters a line, gives every operation that reads samples what the same samples on one
// line each give: the same log, pages and table.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/operazioni.h"
#include "core/haplotype/aiuti.h"
#include "log/registro.h"
#include "stato/parametri.h"
#include "support/supporto.h"

namespace vorlane::test {
namespace {

// The shipped example: 25 real HV1 samples over 16001-16400, one line each.
std::string esempio() {
  return leggiFile(std::filesystem::path(VORLANE_DATI) / "esporta" / "campioni_esempio.FASTA");
}

// What a run leaves for the user to see.
struct Uscite {
  EsitoEvento esito = EsitoEvento::completato;
  std::string registro, pagina, tabella;
  std::vector<std::string> messaggi;
};

class CampioniACapo : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(a.avviato); }

  // Runs `comando` on `contenuto` saved as campioni.FASTA, every earlier output removed first.
  Uscite esegui(Comando comando, const std::string& contenuto) {
    scriviFile(a.stato.cartellaEsporta / "campioni.FASTA", contenuto);
    for (const auto& cartella :
         {a.stato.registro.cartella(), a.stato.cartellaHtml, a.stato.cartellaDati}) {
      std::filesystem::remove_all(cartella);
      std::filesystem::create_directory(cartella);
    }
    a.porta.messaggi.clear();
    a.porta.impostaTesto(Controllo::Text_posMutazione, kPosizioni);
    Text_posMutazione_Change(a.stato, a.porta);
    Uscite u;
    u.esito = vorlane::test::esegui(a, comando, "campioni.FASTA");
    a.stato.registro.svuota();
    u.registro = leggiSe(a.stato.registro.percorso());
    const char* pagina = comando == Comando::ControlloMutazioni ? "ControlloMutazioni_campioni.htm"
                                                                : "Confronto_campioni.htm";
    u.pagina = leggiSe(a.stato.cartellaHtml / pagina);
    u.tabella = leggiSe(a.stato.cartellaDati / "campioni.txt");
    for (const Messaggio& m : a.porta.messaggi) u.messaggi.push_back(m.titolo + "|" + m.testo);
    return u;
  }
  static std::string leggiSe(const std::filesystem::path& p) {
    return std::filesystem::exists(p) ? leggiFile(p) : "";
  }

  static constexpr const char* kPosizioni =
      "16069,16126,16129,16189,16223,16224,16256,16270,16278,16294,16304,16311,16362,16390";
  Ambiente a;
};

// The wrapped copies a user meets: 70 and 60 characters, CR LF, LF or CR, empty lines between
// samples or after headers.
struct Copia {
  const char* descrizione;
  std::size_t larghezza;
  std::string fine;
  RigheVuoteACapo vuote;
};
const std::vector<Copia>& copie() {
  static const std::vector<Copia> tutte = {
      {"70 CR LF", 70, "\r\n", {}},
      {"60 LF", 60, "\n", {}},
      {"70 CR, righe vuote", 70, "\r", {true, true}},
      {"1 CR LF", 1, "\r\n", {}},
  };
  return tutte;
}

void stesseUscite(const Uscite& attese, const Uscite& ottenute) {
  EXPECT_EQ(ottenute.esito, attese.esito);
  EXPECT_TRUE(ottenute.registro == attese.registro);
  EXPECT_TRUE(ottenute.pagina == attese.pagina);
  EXPECT_TRUE(ottenute.tabella == attese.tabella);
  EXPECT_EQ(ottenute.messaggi, attese.messaggi);
}

std::size_t conta(const std::string& testo, const std::string& cosa) {
  std::size_t n = 0;
  for (std::size_t p = testo.find(cosa); p != std::string::npos; p = testo.find(cosa, p + 1)) ++n;
  return n;
}

TEST_F(CampioniACapo, TheMutationCheckListsEachWrappedSampleOnce) {
  Uscite unaRiga = esegui(Comando::ControlloMutazioni, esempio());
  ASSERT_EQ(unaRiga.esito, EsitoEvento::completato);
  ASSERT_EQ(conta(unaRiga.registro, "Campione                      : campione_"), 25u);
  ASSERT_GT(conta(unaRiga.registro, "Mutazioni                     : "), 10u);
  for (const Copia& c : copie()) {
    SCOPED_TRACE(c.descrizione);
    stesseUscite(unaRiga, esegui(Comando::ControlloMutazioni,
                                 fastaACapo(esempio(), c.larghezza, c.fine, c.vuote)));
  }
}

TEST_F(CampioniACapo, TheMultipleComparisonComparesEachWrappedSampleOnce) {
  for (Comando comando : {Comando::ConfrontaMultiplo, Comando::ConfrontaMultiploNew}) {
    Uscite unaRiga = esegui(comando, esempio());
    ASSERT_EQ(unaRiga.esito, EsitoEvento::completato);
    ASSERT_EQ(righeUltimaTabella(unaRiga.pagina).size(), 1 + 25u);
    ASSERT_EQ(conta(unaRiga.registro, "*--- "), 25u);
    for (const Copia& c : copie()) {
      SCOPED_TRACE(c.descrizione);
      stesseUscite(unaRiga, esegui(comando, fastaACapo(esempio(), c.larghezza, c.fine, c.vuote)));
    }
  }
}

TEST_F(CampioniACapo, TheConversionWritesOneRowPerWrappedSample) {
  Uscite unaRiga = esegui(Comando::ConvertiInTabella, esempio());
  ASSERT_EQ(unaRiga.esito, EsitoEvento::completato);
  ASSERT_EQ(righeCrLf(unaRiga.tabella).size(), 4u + 25u);
  for (const Copia& c : copie()) {
    SCOPED_TRACE(c.descrizione);
    stesseUscite(unaRiga, esegui(Comando::ConvertiInTabella,
                                 fastaACapo(esempio(), c.larghezza, c.fine, c.vuote)));
  }
}

// Sequence before the first header is one sample as well, with its lines joined: the check and
// the multiple comparison name it with the empty name, the conversion with the file's base name.
TEST_F(CampioniACapo, LinesBeforeTheFirstHeaderAreOneSample) {
  std::string primo = righeCrLf(esempio())[1];
  std::string senzaNome = primo + "\r\n>dopo\r\n" + primo + "\r\n";
  std::string aCapoSenzaNome = fastaACapo(primo, 70, "\r\n") + ">dopo\r\n" + primo;
  for (Comando comando :
       {Comando::ControlloMutazioni, Comando::ConfrontaMultiplo, Comando::ConvertiInTabella}) {
    SCOPED_TRACE(static_cast<int>(comando));
    Uscite unaRiga = esegui(comando, senzaNome);
    ASSERT_EQ(unaRiga.esito, EsitoEvento::completato);
    stesseUscite(unaRiga, esegui(comando, aCapoSenzaNome));
  }
  EXPECT_EQ(righeCrLf(esegui(Comando::ConvertiInTabella, aCapoSenzaNome).tabella)[4].rfind(
                "campioni \t1\t", 0),
            0u);
}

}  // namespace
}  // namespace vorlane::test
