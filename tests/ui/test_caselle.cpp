// The three boxes: the rules run when a position box is left, and the list box follows typing.

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include "banco.h"

namespace vorlane::ui::test {
namespace {

class TestCaselle : public QObject {
  Q_OBJECT

  std::unique_ptr<Banco> b;
  QLineEdit* da = nullptr;
  QLineEdit* a = nullptr;
  QLineEdit* posizioni = nullptr;

  void scrivi(QLineEdit* casella, const QString& testo) {
    casella->setFocus();
    casella->selectAll();
    QTest::keyClick(casella, Qt::Key_Delete);
    // Typed one character at a time, as a keyboard would, accented letters included.
    for (QChar c : testo) {
      QKeyEvent premuto(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(casella, &premuto);
    }
  }
  // Leaves the box the way a user does: the focus moves on to another control.
  void lascia() { posizioni->setFocus(); }

 private slots:
  void init() {
    b = std::make_unique<Banco>();
    QVERIFY(b->avvia());
    da = b->trova<QLineEdit>("Text_PosizioneMutazioneDa");
    a = b->trova<QLineEdit>("Text_PosizioneMutazioneA");
    posizioni = b->trova<QLineEdit>("Text_posMutazione");
  }

  // A start above the end is an interval across the origin: the end stays where it is.
  void inizioOltreLaFineAttraversaLOrigine() {
    scrivi(da, "16500");
    lascia();
    QCOMPARE(a->text(), "16400");
    QCOMPARE(b->finestra->stato().impostazioni.InizioSequenza, "16500");
    QCOMPARE(b->trova<QLabel>("intervalloDa")->text(), "16500");
    QVERIFY(b->dialoghi->messaggi.empty());
  }

  void testoNonNumericoTornaAlValorePrecedente() {
    scrivi(da, QString::fromUtf8("16è"));
    lascia();
    QCOMPARE(b->dialoghi->messaggi.size(), 1u);
    const BoxMostrato& m = b->dialoghi->messaggi[0];
    QCOMPARE(m.icona, Icona::informazione);
    QVERIFY(m.testo.contains(QString::fromUtf8("\"16è\" non è una posizione")));
    QCOMPARE(da->text(), "16001");
    QCOMPARE(b->finestra->stato().impostazioni.InizioSequenza, "16001");
    QVERIFY(b->finestra->isVisible());
  }

  void invioApplicaLaRegolaUnaVoltaSola() {
    scrivi(a, "abc");
    QTest::keyClick(a, Qt::Key_Return);
    QCOMPARE(b->dialoghi->messaggi.size(), 1u);
    QCOMPARE(a->text(), "16400");
    lascia();
    QCOMPARE(b->dialoghi->messaggi.size(), 1u);
  }

  // A message box or another program coming forward takes the focus without the user leaving.
  void cambioDiFinestraNonEUscita() {
    scrivi(da, "abc");
    QFocusEvent uscita(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(da, &uscita);
    QVERIFY(b->dialoghi->messaggi.empty());
    QCOMPARE(da->text(), "abc");
  }

  // A click that leaves a box holding text that is no position: the box's message comes up
  // between the click's press and the press reaching the control, and the release goes to the
  // message. The control then gets the press alone, as here.
  void clicSuUnComandoDopoIlMessaggioLoPrepara() {
    scrivi(da, "abc");
    auto* conversione = b->trova<QToolButton>("Cmd_ConvertiInTabella");
    QTest::mousePress(conversione, Qt::LeftButton, {}, conversione->rect().center());
    QCOMPARE(b->dialoghi->messaggi.size(), 1u);
    QCOMPARE(da->text(), "16001");
    QVERIFY(!conversione->isDown());
    QCOMPARE(int(b->finestra->stato().scelta.codiceOperazione), 40);
    QCOMPARE(b->trova<QLabel>("Lbl_Titolo")->text(),
             "Conversione in tabella delle mutazioni: file FASTA");
    QVERIFY(b->trova<QListWidget>("File_Sequenza")->isVisible());
    // A release arriving late presses nothing a second time.
    QTest::mouseRelease(conversione, Qt::LeftButton, {}, conversione->rect().center());
    QCOMPARE(int(b->finestra->stato().scelta.codiceOperazione), 40);
    // The next click, with nothing wrong, goes its ordinary way.
    clic(b->trova<QToolButton>("Cmd_Normalizza"));
    QCOMPARE(int(b->finestra->stato().scelta.codiceOperazione), 20);
    QCOMPARE(b->dialoghi->messaggi.size(), 1u);
  }

  void clicSuUnFileDopoIlMessaggioLoSceglie() {
    clic(b->trova<QToolButton>("Cmd_ConfrontaSingolo"));
    for (const char* nome : {"a.FASTA", "b.FASTA"})
      vorlane::test::scriviFile(b->cartella / "esporta" / nome, ">S\r\nacgt\r\n");
    auto* lista = b->trova<QListWidget>("File_Sequenza");
    QTRY_COMPARE(lista->count(), 2);
    scrivi(a, "x");
    QTest::mousePress(lista->viewport(), Qt::LeftButton, {},
                      lista->visualItemRect(lista->item(1)).center());
    QCOMPARE(b->dialoghi->messaggi.size(), 1u);
    QCOMPARE(a->text(), "16400");
    QCOMPARE(lista->currentRow(), 1);
    // Choosing is all a single click does: nothing has been run.
    QVERIFY(b->finestra->stato().fileCampione.empty());
  }

  void clicSuEsciDopoIlMessaggioSalvaIlValoreValidoEChiude() {
    scrivi(da, "16x");
    auto* esci = b->trova<QToolButton>("Cmd_esci");
    QTest::mousePress(esci, Qt::LeftButton, {}, esci->rect().center());
    QCOMPARE(b->dialoghi->messaggi.size(), 1u);
    QVERIFY(!b->finestra->isVisible());
    const std::string ini = vorlane::test::leggiFile(b->cartella / "Vorlane.ini");
    QVERIFY(ini.find("InizioSequenza=16001\r\n") != std::string::npos);
  }

  // Leaving the box by keyboard arms nothing: a later click is an ordinary one.
  void uscitaDaTastieraNonTrattieneClic() {
    scrivi(da, "abc");
    QTest::keyClick(da, Qt::Key_Tab);
    QCOMPARE(b->dialoghi->messaggi.size(), 1u);
    QTest::qWait(1);
    clic(b->trova<QToolButton>("Cmd_Normalizza"));
    QCOMPARE(int(b->finestra->stato().scelta.codiceOperazione), 20);
  }

  void listaPosizioniSegueOgniModifica() {
    scrivi(posizioni, "16069,16126");
    QCOMPARE(b->finestra->stato().impostazioni.posMutazione, "16069,16126");
    QTest::keyClick(posizioni, Qt::Key_Backspace);
    QCOMPARE(b->finestra->stato().impostazioni.posMutazione, "16069,1612");
  }

  // A pasted list is kept whole, however long: the settings file keeps it whole too.
  void listaIncollataLungaRestaIntera() {
    QString lista;
    for (int p = 16001; lista.size() < 40000; ++p) lista += QString::number(p) + ',';
    posizioni->setFocus();
    posizioni->insert(lista);
    QCOMPARE(posizioni->text().size(), lista.size());
    QCOMPARE(b->finestra->stato().impostazioni.posMutazione, lista.toStdString());
  }

  void cleanup() { b.reset(); }
};

}  // namespace

int eseguiTestCaselle(int argc, char** argv) {
  TestCaselle t;
  return QTest::qExec(&t, argc, argv);
}

}  // namespace vorlane::ui::test

#include "test_caselle.moc"
