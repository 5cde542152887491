// The three boxes: the rules run when a position box is left, and the list box follows typing.

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

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

  void inizioOltreLaFineSpostaLaFine() {
    scrivi(da, "16500");
    lascia();
    QCOMPARE(a->text(), "16500");
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

  void listaPosizioniSegueOgniModifica() {
    scrivi(posizioni, "16069,16126");
    QCOMPARE(b->finestra->stato().impostazioni.posMutazione, "16069,16126");
    QTest::keyClick(posizioni, Qt::Key_Backspace);
    QCOMPARE(b->finestra->stato().impostazioni.posMutazione, "16069,1612");
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
