// The window's side of the port with the real message boxes: icons, titles, the scrolling log
// viewer, the busy pointer around a box.

#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include "avvio_qt.h"
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

bool passoFisso(const QWidget* w) {
  return QFontInfo(w->font()).fixedPitch();
}

class TestMessaggi : public QObject {
  Q_OBJECT

  // Qt's Italian catalogue, read here on its own: what the window shows must be its text.
  QTranslator italiano;

 private slots:
  void initTestCase() {
    QVERIFY(installaTraduzioneQt(*QCoreApplication::instance()));
    QVERIFY(italiano.load(QStringLiteral("qtbase_it"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
  }

  void domandaSiNoInItaliano() {
    FinestraVorlane finestra;
    const QString si = italiano.translate("QPlatformTheme", "&Yes");
    const QString no = italiano.translate("QPlatformTheme", "&No");
    QVERIFY2(!si.isEmpty() && si != "&Yes", qPrintable(si));
    QString testoSi, testoNo;
    QPushButton* predefinito = nullptr;
    allApertura([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box) return;
      testoSi = box->button(QMessageBox::Yes)->text();
      testoNo = box->button(QMessageBox::No)->text();
      predefinito = box->defaultButton();
      if (predefinito != box->button(QMessageBox::No)) predefinito = nullptr;
    });
    QVERIFY(!finestra.domandaSiNo("Sovrascrivere il file?", "Vorlane"));
    QCOMPARE(testoSi, si);
    QCOMPARE(testoNo, no.isEmpty() ? QStringLiteral("&No") : no);
    QVERIFY(predefinito);
  }

  void menuDelleCaselleInItaliano() {
    Banco b;
    QVERIFY(b.avvia());
    const QString annulla = italiano.translate("QLineEdit", "&Undo");
    QVERIFY2(!annulla.isEmpty() && annulla != "&Undo", qPrintable(annulla));
    std::unique_ptr<QMenu> menu(
        b.trova<QLineEdit>("Text_posMutazione")->createStandardContextMenu());
    QStringList voci;
    for (QAction* a : menu->actions()) voci << a->text();
    QVERIFY2(voci.first().startsWith(annulla), qPrintable(voci.join('|')));
    QVERIFY(!voci.join('|').contains("Undo"));
  }

  // The log block's columns line up only in a fixed pitch, in the box and in the viewer alike.
  void bloccoDelRegistroAPassoFisso() {
    FinestraVorlane finestra;
    bool boxFisso = false, altroFisso = true, visoreFisso = false;
    allApertura([&](QWidget* w) {
      if (auto* l = w->findChild<QLabel*>("qt_msgbox_label")) boxFisso = passoFisso(l);
    });
    finestra.messaggio("Campione        : S1\r\nMutazioni      : 3", "Vorlane", Icona::nessuna);
    allApertura([&](QWidget* w) {
      if (auto* l = w->findChild<QLabel*>("qt_msgbox_label")) altroFisso = passoFisso(l);
    });
    finestra.messaggio("Operazione terminata", "Vorlane", Icona::informazione);
    std::string lungo;
    for (int i = 0; i < 200; ++i) lungo += "Campione        : S" + std::to_string(i) + "\r\n";
    allApertura([&](QWidget* w) {
      if (auto* area = w->findChild<QPlainTextEdit*>()) visoreFisso = passoFisso(area);
    });
    finestra.messaggio(lungo, "Vorlane", Icona::nessuna);
    QVERIFY(boxFisso);
    QVERIFY(!altroFisso);
    QVERIFY(visoreFisso);
  }

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
    finestra->stato().registro.orologio = vorlane::test::momentoFisso;
    QVERIFY(finestra->avvia(b.cartella.percorso()));
    finestra->stato().registro.ScriviLogOperazioni("*--- Analisi Vorlane");
    for (int i = 1; i < 100000; ++i)
      finestra->stato().registro.ScriviLogOperazioni("riga " + std::to_string(i));
    int righe = 0, scorrimento = 0;
    QString titolo;
    allApertura([&](QWidget* w) {
      auto* area = w->findChild<QPlainTextEdit*>();
      if (!area || qobject_cast<QMessageBox*>(w)) return;
      titolo = w->windowTitle();
      righe = area->document()->blockCount();
      scorrimento = area->verticalScrollBar()->maximum();
    });
    finestra->stato().registro.VisualizzaLogOperazioni(*finestra);
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
