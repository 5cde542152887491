// The window's side of the port with the real message boxes: icons, titles, the scrolling log
// viewer, the busy pointer around a box.

#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "banco.h"
#include "finestra.h"
#include "log/registro.h"

Q_DECLARE_METATYPE(vorlane::Icona)

namespace vorlane::ui::test {
namespace {

// Runs `controlla` on the modal window as soon as it is up, then closes it.
template <class F>
void allApertura(F controlla) {
  QTimer::singleShot(0, [controlla] {
    QWidget* modale = QApplication::activeModalWidget();
    if (modale) controlla(modale);
    if (auto* d = qobject_cast<QDialog*>(modale)) d->accept();
  });
}

class TestMessaggi : public QObject {
  Q_OBJECT

 private slots:
  void boxConIconaETitolo_data() {
    QTest::addColumn<Icona>("icona");
    QTest::addColumn<int>("attesa");
    QTest::newRow("nessuna") << Icona::nessuna << int(QMessageBox::NoIcon);
    QTest::newRow("informazione") << Icona::informazione << int(QMessageBox::Information);
    QTest::newRow("esclamazione") << Icona::esclamazione << int(QMessageBox::Warning);
    QTest::newRow("critica") << Icona::critica << int(QMessageBox::Critical);
  }

  void boxConIconaETitolo() {
    QFETCH(Icona, icona);
    QFETCH(int, attesa);
    FinestraVorlane finestra;
    QString titolo, testo;
    int mostrata = -1;
    allApertura([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box) return;
      titolo = box->windowTitle();
      testo = box->text();
      mostrata = box->icon();
    });
    finestra.messaggio("Errore nella procedura X\r\nperch\xE9 s\xEC", "ERRORE", icona);
    QCOMPARE(mostrata, attesa);
    QCOMPARE(titolo, "ERRORE");
    QCOMPARE(testo, QString::fromUtf8("Errore nella procedura X\nperché sì"));
  }

  void bloccoLungoDelRegistroScorre() {
    Banco b;
    b.finestra.reset();
    auto finestra = std::make_unique<FinestraVorlane>();
    finestra->stato().orologio = vorlane::test::momentoFisso;
    QVERIFY(finestra->avvia(b.cartella.percorso()));
    std::string registro = "*--- Analisi Vorlane\r\n";
    for (int i = 1; i < 100000; ++i) registro += "riga " + std::to_string(i) + "\r\n";
    vorlane::test::scriviFile(percorsoRegistro(finestra->stato()), registro);
    int righe = 0, scorrimento = 0;
    QString titolo;
    allApertura([&](QWidget* w) {
      auto* area = w->findChild<QPlainTextEdit*>();
      if (!area || qobject_cast<QMessageBox*>(w)) return;
      titolo = w->windowTitle();
      righe = area->document()->blockCount();
      scorrimento = area->verticalScrollBar()->maximum();
    });
    VisualizzaLogOperazioni(finestra->stato(), *finestra);
    QCOMPARE(titolo, "Vorlane");
    QVERIFY2(righe >= 100000, qPrintable(QString::number(righe)));
    QVERIFY(scorrimento > 0);
  }

  void boxDuranteLOperazioneConPuntatoreNormale() {
    Banco b;
    QVERIFY(b.avvia());
    b.finestra->puntatoreOccupato(true);
    b.finestra->messaggio("fatto", "Vorlane", Icona::informazione);
    QVERIFY(clessidraAccesa());
    b.finestra->puntatoreOccupato(false);
    b.finestra->puntatoreOccupato(false);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(b.dialoghi->messaggi.size(), 1u);
    QVERIFY(!b.dialoghi->messaggi[0].puntatoreOccupato);
  }

  void testiDelCoreInUnicodeEDiRitorno() {
    Banco b;
    QVERIFY(b.avvia());
    b.finestra->impostaTesto(Controllo::Lbl_Titolo, "Citt\xE0\r\nPerch\xE9");
    QCOMPARE(b.trova<QLabel>("Lbl_Titolo")->text(), QString::fromUtf8("Città\nPerché"));
    QCOMPARE(b.finestra->testo(Controllo::Lbl_Titolo), "Citt\xE0\r\nPerch\xE9");
    // Text that could be taken for markup is shown as it is.
    b.finestra->impostaTesto(Controllo::Label_FileSequenzaCampione, "File in uso: <b>x</b>");
    QCOMPARE(b.trova<QLabel>("Label_FileSequenzaCampione")->textFormat(), Qt::PlainText);
  }
};

}  // namespace

int eseguiTestMessaggi(int argc, char** argv) {
  TestMessaggi t;
  return QTest::qExec(&t, argc, argv);
}

}  // namespace vorlane::ui::test

#include "test_messaggi.moc"
