// Start-up of the window: the working folder it prepares, the captions, the start state.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "banco.h"

namespace vorlane::ui::test {
namespace {

class TestAvvio : public QObject {
  Q_OBJECT

 private slots:
  void primoAvvioPreparaLaCartella() {
    Banco b;
    QVERIFY(b.avvia());
    for (const char* nome : {"log", "html", "dati", "esporta"})
      QVERIFY2(std::filesystem::is_directory(b / nome), nome);
    std::string ini = vorlane::test::leggiFile(b / "Vorlane.ini");
    QVERIFY(ini.find("InizioSequenza=16001\r\n") != std::string::npos);
    QVERIFY(b.dialoghi->messaggi.empty());
  }

  void didascalieDalleTabelleEdaiTestiFissi() {
    Banco b;
    QVERIFY(b.avvia());
    QCOMPARE(b.finestra->windowTitle(),
             QStringLiteral("Vorlane - analisi della regione di controllo del DNA mitocondriale"));
    QCOMPARE(b.trova<QToolButton>("Cmd_ControlloMutazioni")->text(), "Controllo mutazioni");
    QCOMPARE(b.trova<QToolButton>("Cmd_esci")->text(), "Esci");
    QCOMPARE(b.trova<QRadioButton>("Option_TipoFileSequenza_1")->text(), "Arlequin");
    QCOMPARE(b.trova<QGroupBox>("Frame3")->title(), "Comandi");
    QCOMPARE(b.trova<QGroupBox>("Frame4")->title(), "Sequenze in esame");
    QCOMPARE(b.trova<QLabel>("Label8")->text(), "da");
    QCOMPARE(b.trova<QLabel>("Lbl_Posizioni")->text(), "lista posizioni mutazione");
    QCOMPARE(b.trova<QLabel>("Label3")->text(), "ver 3.2.0");
    QVERIFY(b.trova<QLabel>("Label_FileSequenzaRiferimento")->text().contains("Andrews"));
    // The motif table's buttons have a picture and a tooltip only.
    QVERIFY(b.trova<QToolButton>("Cmd_ConfrontaSingoloNew")->text().isEmpty());
    QVERIFY(!b.trova<QToolButton>("Cmd_ConfrontaSingoloNew")->icon().isNull());
  }

  void ogniControlloHaIlSuoNome() {
    Banco b;
    QVERIFY(b.avvia());
    for (const char* nome : {"File_Sequenza",
                             "Text_posMutazione",
                             "Text_PosizioneMutazioneDa",
                             "Text_PosizioneMutazioneA",
                             "Frame1",
                             "Frame2",
                             "Frame3",
                             "Frame4",
                             "Label1",
                             "Label2",
                             "Label3",
                             "Label6",
                             "Label7",
                             "Label8",
                             "Label9",
                             "Image1",
                             "Label_FileSequenzaCampione",
                             "Label_FileSequenzaRiferimento",
                             "Lbl_SceltaSequenza",
                             "Lbl_Intervallo",
                             "Lbl_IntervalloAa",
                             "Lbl_IntervalloDa",
                             "Lbl_Posizioni",
                             "Lbl_Titolo",
                             "ImmagineFasta",
                             "ImmagineArlequin",
                             "Option_TipoFileSequenza_0",
                             "Option_TipoFileSequenza_1"})
      QVERIFY2(b.trova<QWidget>(nome), nome);
    const std::pair<const char*, const char*> suggerimenti[] = {
        {"Cmd_ConfrontaMultiplo", "campionamento multiplo"},
        {"Cmd_ConfrontaMultiploNew", "campionamento multiplo"},
        {"Cmd_ConfrontaSingolo", "campionamento singolo"},
        {"Cmd_ConfrontaSingoloNew", "campionamento singolo"},
        {"Cmd_VisualizzaManuale", "visualizzazione del manuale"},
        {"Cmd_esci", "chiusura del programma"},
        {"Cmd_ControlloMutazioni", "controllo mutazioni in file FASTA o Arlequin compatibile"},
        {"Cmd_Normalizza", "normalizzazione tabella in file FASTA o Arlequin compatibile"},
        {"Cmd_ConvertiInTabella", "conversione file FASTA o Arlequin compatibile in tabella"},
    };
    for (const auto& [nome, suggerimento] : suggerimenti) {
      auto* pulsante = b.trova<QToolButton>(nome);
      QVERIFY2(pulsante, nome);
      QCOMPARE(pulsante->toolTip(), QString::fromUtf8(suggerimento));
    }
    QVERIFY(!b.trova<QLabel>("Image1")->pixmap().isNull());
  }

  void statoIniziale() {
    Banco b;
    QVERIFY(b.avvia());
    QCOMPARE(b.trova<QLabel>("Lbl_Titolo")->text(),
             "Vorlane - regione di controllo (d-loop) del DNA mitocondriale umano\n"
             "Scegliere un comando, quindi fare doppio clic sul file da elaborare");
    QVERIFY(b.trova<QLabel>("Lbl_Titolo")->isVisible());
    auto* lista = b.trova<QListWidget>("File_Sequenza");
    QVERIFY(!lista->isVisible());
    QVERIFY(!lista->isEnabled());
    QVERIFY(!b.trova<QLabel>("Lbl_SceltaSequenza")->isVisible());
    for (const char* nome : {"Option_TipoFileSequenza_0", "Option_TipoFileSequenza_1",
                             "ImmagineFasta", "ImmagineArlequin"})
      QVERIFY2(!b.trova<QWidget>(nome)->isVisible(), nome);
    QCOMPARE(b.trova<QLineEdit>("Text_PosizioneMutazioneDa")->text(), "16001");
    QCOMPARE(b.trova<QLineEdit>("Text_PosizioneMutazioneA")->text(), "16400");
    QCOMPARE(b.finestra->stato().scelta.codiceOperazione, 0);
    QCOMPARE(b.finestra->stato().scelta.tipoFile, "FASTA");
  }

  void leCaselleMostranoLeImpostazioni() {
    Banco b;
    vorlane::test::scriviFile(b / "Vorlane.ini",
                              "[InizioSequenza]\r\nInizioSequenza=16024\r\n"
                              "[FineSequenza]\r\nFineSequenza=16365\r\n"
                              "[posMutazione]\r\nposMutazione=16069,16126\r\n"
                              "[caratteriPermessi]\r\ncaratteriPermessi=A,C,G,T\r\n");
    QVERIFY(b.avvia());
    QCOMPARE(b.trova<QLineEdit>("Text_PosizioneMutazioneDa")->text(), "16024");
    QCOMPARE(b.trova<QLineEdit>("Text_PosizioneMutazioneA")->text(), "16365");
    QCOMPARE(b.trova<QLineEdit>("Text_posMutazione")->text(), "16069,16126");
    QCOMPARE(b.finestra->stato().impostazioni.posMutazione, "16069,16126");
  }

  void senzaMessaggiNonParte() {
    Banco b(false);
    QVERIFY(!b.finestra->avvia(b.cartella.percorso()));
    QCOMPARE(b.dialoghi->messaggi.size(), 1u);
    QCOMPARE(b.dialoghi->messaggi[0].titolo, "ERRORE");
    QCOMPARE(b.dialoghi->messaggi[0].icona, Icona::critica);
    QVERIFY(b.dialoghi->messaggi[0].testo.contains("messaggi.txt"));
  }

  void senzaCaratteriPermessiNonParte() {
    Banco b;
    vorlane::test::scriviFile(b / "Vorlane.ini", "[caratteriPermessi]\r\n");
    QVERIFY(!b.finestra->avvia(b.cartella.percorso()));
    QCOMPARE(b.dialoghi->messaggi.size(), 1u);
    QCOMPARE(b.dialoghi->messaggi[0].titolo, "Errore");
    QCOMPARE(b.dialoghi->messaggi[0].testo,
             QString::fromUtf8("Nessun carattere è definito nel file Vorlane.ini"));
  }
};

}  // namespace

int eseguiTestAvvio(int argc, char** argv) {
  TestAvvio t;
  return QTest::qExec(&t, argc, argv);
}

}  // namespace vorlane::ui::test

#include "test_avvio.moc"
