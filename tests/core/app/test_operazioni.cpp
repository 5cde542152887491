#include <gtest/gtest.h>

#include "app/operazioni.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane {
namespace {

struct Operazioni : ::testing::Test {
  test::Ambiente a;
  std::string titolo() { return a.porta.testo(Controllo::Lbl_Titolo); }
  void prepara(Comando c) {
    ASSERT_EQ(PreparaOperazione(a.stato, a.porta, c), EsitoEvento::completato);
  }
};

TEST_F(Operazioni, EachCommandPreparesItsFolderPatternCodeAndTitle) {
  ASSERT_TRUE(a.avviato);
  const auto& m = a.stato.messaggi;
  struct Atteso {
    Comando comando;
    std::filesystem::path cartella;
    const char* filtro;
    int codice;
    std::string titolo;
  };
  const Atteso attesi[] = {
      {Comando::ControlloMutazioni, a.stato.cartellaEsporta, "*.FASTA", 10,
       "Controllo mutazioni: " + m[74]},
      {Comando::Normalizza, a.stato.cartellaDati, "*.TXT", 20, m[91] + ": " + m[76]},
      {Comando::ConvertiInTabella, a.stato.cartellaEsporta, "*.FASTA", 40, m[77]},
      {Comando::ConfrontaSingolo, a.stato.cartellaEsporta, "*.FASTA", 60, m[79]},
      {Comando::ConfrontaMultiplo, a.stato.cartellaEsporta, "*.FASTA", 70, m[80]},
      {Comando::ConfrontaSingoloNew, a.stato.cartellaEsporta, "*.FASTA", 80, m[81]},
      {Comando::ConfrontaMultiploNew, a.stato.cartellaEsporta, "*.FASTA", 90, m[82]},
  };
  for (const auto& e : attesi) {
    prepara(e.comando);
    EXPECT_EQ(a.stato.scelta.cartellaScelta, e.cartella);
    EXPECT_EQ(a.stato.scelta.filtroFile, e.filtro);
    EXPECT_EQ(a.stato.scelta.codiceOperazione, e.codice);
    EXPECT_EQ(a.stato.scelta.tipoSelezione, static_cast<int>(e.comando));
    EXPECT_EQ(titolo(), e.titolo);
  }
}

TEST_F(Operazioni, TheOptionRefinesCodeAndPatternButNotFolderOrTitle) {
  const auto& m = a.stato.messaggi;
  prepara(Comando::ConvertiInTabella);
  Option_TipoFileSequenza_Click(a.stato, 1);
  EXPECT_EQ(a.stato.scelta.codiceOperazione, 50);
  EXPECT_EQ(a.stato.scelta.filtroFile, "*.ARL");
  EXPECT_EQ(titolo(), m[77]);
  Option_TipoFileSequenza_Click(a.stato, 0);
  EXPECT_EQ(a.stato.scelta.codiceOperazione, 40);

  prepara(Comando::Normalizza);
  Option_TipoFileSequenza_Click(a.stato, 1);
  EXPECT_EQ(a.stato.scelta.filtroFile, "*.TXT");
  EXPECT_EQ(a.stato.scelta.codiceOperazione, 20);
  EXPECT_EQ(a.stato.scelta.tipoFile, "ARL");

  // The file type chosen earlier carries over to the next command.
  prepara(Comando::ControlloMutazioni);
  EXPECT_EQ(a.stato.scelta.codiceOperazione, 11);
  EXPECT_EQ(titolo(), "Controllo mutazioni: " + m[75]);
  prepara(Comando::ConfrontaMultiploNew);
  EXPECT_EQ(a.stato.scelta.filtroFile, "*.ARL");
  Option_TipoFileSequenza_Click(a.stato, 0);
  EXPECT_EQ(a.stato.scelta.filtroFile, "*.FASTA");
  EXPECT_EQ(a.stato.scelta.codiceOperazione, 90);
}

TEST_F(Operazioni, ChosenFileLabelKeepsTheLast60Characters) {
  const std::string prefisso = a.stato.messaggi[92] + ": ";
  std::string sessanta(60, 'p');
  EXPECT_EQ(didascaliaFileCampione(a.stato, sessanta), prefisso + sessanta);
  std::string sessantuno = "X" + sessanta;
  EXPECT_EQ(didascaliaFileCampione(a.stato, sessantuno), prefisso + " ..." + sessanta);
}

TEST_F(Operazioni, DoubleClickSetsTheChosenFileAndLabel) {
  prepara(Comando::ControlloMutazioni);
  a.stato.scelta.codiceOperazione = 0;  // nothing to run: only the common steps
  EXPECT_EQ(File_Sequenza_DblClick(a.stato, a.porta, "s.FASTA"), EsitoEvento::completato);
  EXPECT_EQ(a.stato.fileCampione, a.stato.cartellaEsporta / "s.FASTA");
  EXPECT_EQ(a.porta.testo(Controllo::Label_FileSequenzaCampione),
            didascaliaFileCampione(a.stato, testoPercorso(a.stato.fileCampione)));
  EXPECT_FALSE(a.porta.occupato());
}

TEST(Filtro, MatchesTheExtensionWithoutRegardToCase) {
  EXPECT_TRUE(corrispondeFiltro("campioni.FASTA", "*.FASTA"));
  EXPECT_TRUE(corrispondeFiltro("campioni.fasta", "*.FASTA"));
  EXPECT_TRUE(corrispondeFiltro("tabella.txt", "*.TXT"));
  EXPECT_FALSE(corrispondeFiltro("campioni.FASTA.bak", "*.FASTA"));
  EXPECT_FALSE(corrispondeFiltro("ARL", "*.ARL"));
  EXPECT_TRUE(corrispondeFiltro("profili.hsd", "*.FASTA"));
  EXPECT_TRUE(corrispondeFiltro("profili.HSD", "*.ARL"));
  EXPECT_FALSE(corrispondeFiltro("profili.hsd", "*.TXT"));
}

}  // namespace
}  // namespace vorlane
