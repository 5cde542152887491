// The preparing commands, the option pair, the file list, the double-click, the manual, the exit.

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "app/operazioni.h"
#include "banco.h"

Q_DECLARE_METATYPE(vorlane::Comando)

namespace vorlane::ui::test {
namespace {

using vorlane::test::leggiFile;
using vorlane::test::scriviFile;

const char* const kPulsanti[] = {"Cmd_ControlloMutazioni",  "Cmd_Normalizza",
                                 "Cmd_ConvertiInTabella",   "Cmd_ConfrontaSingolo",
                                 "Cmd_ConfrontaMultiplo",   "Cmd_ConfrontaSingoloNew",
                                 "Cmd_ConfrontaMultiploNew"};

// Files of every kind, in both cases, so each list shows exactly its own.
void fileDiProva(const Banco& b) {
  for (const char* nome : {"uno.FASTA", "due.fasta", "tre.ARL", "quattro.arl", "note.txt",
                           ".nascosto.FASTA", "uno.FASTA.bak"})
    scriviFile(b / "esporta" / nome, ">S\r\nacgt\r\n");
  for (const char* nome : {"tabella.txt", "ALTRA.TXT", "x.FASTA"})
    scriviFile(b / "dati" / nome, "/ intestazione\r\n");
}

void premi(Banco& b, Comando c) {
  clic(b.trova<QToolButton>(kPulsanti[static_cast<int>(c)]));
}

const QStringList kFasta{"due.fasta", "uno.FASTA"};
const QStringList kArl{"quattro.arl", "tre.ARL"};
const QStringList kTabelle{"ALTRA.TXT", "tabella.txt"};

class TestComandi : public QObject {
  Q_OBJECT

 private slots:
  void comandoPreparaLElenco_data() {
    QTest::addColumn<Comando>("comando");
    QTest::addColumn<QString>("cartella");
    QTest::addColumn<int>("codice");
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<QStringList>("elenco");
    QTest::addColumn<QString>("titolo");
    using enum Comando;
    QTest::newRow("controllo") << ControlloMutazioni << "esporta" << 10 << "*.FASTA" << kFasta
                               << "Controllo mutazioni: campioni in formato FASTA";
    QTest::newRow("normalizza") << Normalizza << "dati" << 20 << "*.TXT" << kTabelle
                                << "Normalizzazione: da tabella delle mutazioni a file FASTA o "
                                   "Arlequin";
    QTest::newRow("converti") << ConvertiInTabella << "esporta" << 40 << "*.FASTA" << kFasta
                              << "Conversione in tabella delle mutazioni: file FASTA";
    QTest::newRow("singolo") << ConfrontaSingolo << "esporta" << 60 << "*.FASTA" << kFasta
                             << "Confronto singolo con la tabella degli aplogruppi principali";
    QTest::newRow("multiplo") << ConfrontaMultiplo << "esporta" << 70 << "*.FASTA" << kFasta
                              << "Confronto multiplo con la tabella degli aplogruppi principali";
    QTest::newRow("singolo motivi") << ConfrontaSingoloNew << "esporta" << 80 << "*.FASTA" << kFasta
                                    << "Confronto singolo con la tabella dei motivi";
    QTest::newRow("multiplo motivi") << ConfrontaMultiploNew << "esporta" << 90 << "*.FASTA"
                                     << kFasta << "Confronto multiplo con la tabella dei motivi";
  }

  void comandoPreparaLElenco() {
    QFETCH(Comando, comando);
    QFETCH(QString, cartella);
    QFETCH(int, codice);
    QFETCH(QString, filtro);
    QFETCH(QStringList, elenco);
    QFETCH(QString, titolo);
    Banco b;
    QVERIFY(b.avvia());
    fileDiProva(b);
    premi(b, comando);
    const SceltaOperazione& s = b.finestra->stato().scelta;
    QCOMPARE(s.codiceOperazione, codice);
    QCOMPARE(s.cartellaScelta, b / cartella.toStdString());
    QCOMPARE(QString::fromStdString(s.filtroFile), filtro);
    QCOMPARE(b.trova<QLabel>("Lbl_Titolo")->text(), titolo);
    QCOMPARE(nomiElencati(b), elenco);
    for (const char* nome :
         {"File_Sequenza", "Lbl_SceltaSequenza", "Lbl_Titolo", "Option_TipoFileSequenza_0",
          "Option_TipoFileSequenza_1", "ImmagineFasta", "ImmagineArlequin"}) {
      QVERIFY2(b.trova<QWidget>(nome)->isVisible(), nome);
      QVERIFY2(b.trova<QWidget>(nome)->isEnabled(), nome);
    }
  }

  void opzioneRaffinaLOperazione_data() {
    QTest::addColumn<Comando>("comando");
    QTest::addColumn<int>("indice");
    QTest::addColumn<int>("codice");
    QTest::addColumn<QStringList>("elenco");
    using enum Comando;
    QTest::newRow("controllo 1") << ControlloMutazioni << 1 << 11 << kArl;
    QTest::newRow("normalizza 1") << Normalizza << 1 << 20 << kTabelle;
    QTest::newRow("converti 1") << ConvertiInTabella << 1 << 50 << kArl;
    QTest::newRow("singolo 1") << ConfrontaSingolo << 1 << 60 << kArl;
    QTest::newRow("multiplo 1") << ConfrontaMultiplo << 1 << 70 << kArl;
    QTest::newRow("singolo motivi 1") << ConfrontaSingoloNew << 1 << 80 << kArl;
    QTest::newRow("multiplo motivi 1") << ConfrontaMultiploNew << 1 << 90 << kArl;
    QTest::newRow("controllo 1 poi 0") << ControlloMutazioni << 0 << 10 << kFasta;
    QTest::newRow("converti 1 poi 0") << ConvertiInTabella << 0 << 40 << kFasta;
    QTest::newRow("normalizza 1 poi 0") << Normalizza << 0 << 20 << kTabelle;
  }

  // Arlequin is chosen first; the rows ending in 0 then go back to FASTA.
  void opzioneRaffinaLOperazione() {
    QFETCH(Comando, comando);
    QFETCH(int, indice);
    QFETCH(int, codice);
    QFETCH(QStringList, elenco);
    Banco b;
    QVERIFY(b.avvia());
    fileDiProva(b);
    premi(b, comando);
    const QString titolo = b.trova<QLabel>("Lbl_Titolo")->text();
    const auto cartella = b.finestra->stato().scelta.cartellaScelta;
    clic(b.trova<QRadioButton>("Option_TipoFileSequenza_1"));
    if (indice == 0) clic(b.trova<QRadioButton>("Option_TipoFileSequenza_0"));
    const SceltaOperazione& s = b.finestra->stato().scelta;
    QCOMPARE(s.codiceOperazione, codice);
    QCOMPARE(s.tipoFile, indice == 0 ? "FASTA" : "ARL");
    QCOMPARE(nomiElencati(b), elenco);
    QCOMPARE(s.cartellaScelta, cartella);
    QCOMPARE(b.trova<QLabel>("Lbl_Titolo")->text(), titolo);
  }

  void ilTipoSceltoValePerIlComandoSeguente() {
    Banco b;
    QVERIFY(b.avvia());
    fileDiProva(b);
    premi(b, Comando::ConfrontaSingolo);
    clic(b.trova<QRadioButton>("Option_TipoFileSequenza_1"));
    premi(b, Comando::ControlloMutazioni);
    QCOMPARE(int(b.finestra->stato().scelta.codiceOperazione), 11);
    QCOMPARE(nomiElencati(b), kArl);
    QCOMPARE(b.trova<QLabel>("Lbl_Titolo")->text(),
             "Controllo mutazioni: campioni in formato Arlequin");
    QVERIFY(b.trova<QRadioButton>("Option_TipoFileSequenza_1")->isChecked());
  }

  void lElencoSegueLaCartella() {
    Banco b;
    QVERIFY(b.avvia());
    fileDiProva(b);
    premi(b, Comando::ConvertiInTabella);
    scriviFile(b / "esporta" / "ancora.Fasta", ">S\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(nomiElencati(b),
                              (QStringList{"ancora.Fasta", "due.fasta", "uno.FASTA"}), 5000);
    std::filesystem::remove(b / "esporta" / "due.fasta");
    QTRY_COMPARE_WITH_TIMEOUT(nomiElencati(b), (QStringList{"ancora.Fasta", "uno.FASTA"}), 5000);
  }

  void doppioClicNominaIlFileConIlPuntatoreOccupato_data() {
    QTest::addColumn<int>("lunghezza");
    QTest::newRow("60 caratteri") << 60;
    QTest::newRow("61 caratteri") << 61;
  }

  void doppioClicNominaIlFileConIlPuntatoreOccupato() {
    QFETCH(int, lunghezza);
    Banco b;
    QVERIFY(b.avvia());
    const std::string cartella = (b / "esporta").native() + "/";
    const int resto = lunghezza - static_cast<int>(cartella.size()) - std::string(".FASTA").size();
    QVERIFY(resto > 0);
    const std::string nome = std::string(resto, 'c') + ".FASTA";
    const std::string percorso = cartella + nome;
    QCOMPARE(static_cast<int>(percorso.size()), lunghezza);
    scriviFile(percorso, ">S\r\nacgt\r\n");
    premi(b, Comando::ControlloMutazioni);
    doppioClicSu(b, QString::fromStdString(nome));
    const QString atteso = lunghezza == 60
                               ? "File in uso: " + QString::fromStdString(percorso)
                               : "File in uso:  ..." + QString::fromStdString(percorso.substr(1));
    QCOMPARE(b.trova<QLabel>("Label_FileSequenzaCampione")->text(), atteso);
    QCOMPARE(b.finestra->stato().fileCampione, std::filesystem::path(percorso));
    QVERIFY(b.finestra->occupatoAllaDidascalia);
    QVERIFY(!clessidraAccesa());
  }

  void invioSulFileEquivaleAlDoppioClic() {
    Banco b;
    QVERIFY(b.avvia());
    fileDiProva(b);
    premi(b, Comando::ConfrontaMultiploNew);
    auto* lista = b.trova<QListWidget>("File_Sequenza");
    lista->setFocus();
    lista->setCurrentRow(1);
    QTest::keyClick(lista, Qt::Key_Return);
    QCOMPARE(b.trova<QLabel>("Label_FileSequenzaCampione")->text(),
             QString::fromStdString("File in uso: " + (b / "esporta" / "uno.FASTA").native()));
  }

  void invioSulComandoLoPreme() {
    Banco b;
    QVERIFY(b.avvia());
    fileDiProva(b);
    auto* normalizza = b.trova<QToolButton>("Cmd_Normalizza");
    normalizza->setFocus();
    QTest::keyClick(normalizza, Qt::Key_Return);
    QCOMPARE(nomiElencati(b), kTabelle);
    auto* confronto = b.trova<QToolButton>("Cmd_ConfrontaSingoloNew");
    confronto->setFocus();
    QTest::keyClick(confronto, Qt::Key_Enter);
    QCOMPARE(nomiElencati(b), kFasta);
    QCOMPARE(int(b.finestra->stato().scelta.codiceOperazione), 80);
  }

  // Runs once the Arlequin table conversion is part of the program.
  void opzioneArlequinDopoConversioneEseguiLaConversione() {
    if (!proceduraPerCodice(50)) QSKIP("the Arlequin table conversion is not built yet");
    Banco b;
    QVERIFY(b.avvia());
    std::filesystem::copy_file(
        std::filesystem::path(VORLANE_DATI) / "esporta" / "campioni_esempio.ARL",
        b / "esporta" / "campioni_esempio.ARL");
    premi(b, Comando::ConvertiInTabella);
    clic(b.trova<QRadioButton>("Option_TipoFileSequenza_1"));
    doppioClicSu(b, "campioni_esempio.ARL");
    const auto tabella = b / "dati" / "campioni_esempio.txt";
    QVERIFY(std::filesystem::exists(tabella));
    QVERIFY(!b.dialoghi->messaggi.empty());
    QVERIFY(!clessidraAccesa());
    // A second run asks before replacing the table; No leaves it as it was.
    const std::string prima = leggiFile(tabella);
    scriviFile(tabella, prima + "campioni_esempio X\t1\r\n");
    doppioClicSu(b, "campioni_esempio.ARL");
    QCOMPARE(b.dialoghi->domande.size(), 1u);
    QVERIFY(!b.dialoghi->domande[0].puntatoreOccupato);
    QCOMPARE(leggiFile(tabella), prima + "campioni_esempio X\t1\r\n");
  }

  // Profiles are listed whichever format is chosen, and a double-click compares them.
  void iProfiliSiElencanoESiConfrontano() {
    Banco b;
    QVERIFY(b.avvia());
    for (const char* nome : {"campioni_esempio.FASTA", "campioni_esempio.hsd"})
      std::filesystem::copy_file(std::filesystem::path(VORLANE_DATI) / "esporta" / nome,
                                 b / "esporta" / nome);
    premi(b, Comando::ConfrontaMultiplo);
    QCOMPARE(nomiElencati(b), (QStringList{"campioni_esempio.FASTA", "campioni_esempio.hsd"}));
    clic(b.trova<QRadioButton>("Option_TipoFileSequenza_1"));
    QCOMPARE(nomiElencati(b), QStringList{"campioni_esempio.hsd"});
    doppioClicSu(b, "campioni_esempio.hsd");
    QVERIFY(std::filesystem::exists(b / "html" / "Confronto_campioni_esempio.htm"));
    const std::string profili =
        leggiFile(b / "risultati" / "ConfrontoMultiplo_campioni_esempio.hsd");
    QVERIFY(profili.find("campione_05_T2b\t16001-16139;16141-16400\t") != std::string::npos);
  }

  // Runs once the normalisation is part of the program.
  void opzioneDopoNormalizzazioneSceglieIlFormato() {
    if (!proceduraPerCodice(20)) QSKIP("the normalisation is not built yet");
    Banco b;
    QVERIFY(b.avvia());
    scriviFile(b / "dati" / "prova.txt", "prova S1\t1\t16069-16126\r\n");
    premi(b, Comando::Normalizza);
    clic(b.trova<QRadioButton>("Option_TipoFileSequenza_1"));
    QCOMPARE(nomiElencati(b), QStringList{"prova.txt"});
    doppioClicSu(b, "prova.txt");
    QVERIFY(std::filesystem::exists(b / "esporta" / "prova.ARL"));
    QVERIFY(!std::filesystem::exists(b / "esporta" / "prova.FASTA"));
    clic(b.trova<QRadioButton>("Option_TipoFileSequenza_0"));
    doppioClicSu(b, "prova.txt");
    QVERIFY(std::filesystem::exists(b / "esporta" / "prova.FASTA"));
  }

  void manualeNascondeLElencoEApreIlDocumento() {
    Banco b;
    QVERIFY(b.avvia());
    scriviFile(b / "manuale_Vorlane.htm", "<html></html>");
    premi(b, Comando::ConfrontaMultiplo);
    clic(b.trova<QToolButton>("Cmd_VisualizzaManuale"));
    for (const char* nome : {"File_Sequenza", "Lbl_SceltaSequenza", "Option_TipoFileSequenza_0",
                             "Option_TipoFileSequenza_1", "ImmagineFasta", "ImmagineArlequin"})
      QVERIFY2(!b.trova<QWidget>(nome)->isVisible(), nome);
    QCOMPARE(b.trova<QLabel>("Lbl_Titolo")->text(),
             "File in uso\nmanuale_Vorlane.htm - manuale d'uso (si apre nel visualizzatore HTML)");
    QCOMPARE(b.dialoghi->documenti.size(), 1u);
    QCOMPARE(b.dialoghi->documenti[0].toLocalFile(),
             QString::fromStdString((b / "manuale_Vorlane.htm").native()));
    // A preparing command brings the list and the choice of type back.
    premi(b, Comando::Normalizza);
    for (const char* nome : {"File_Sequenza", "Lbl_SceltaSequenza", "Option_TipoFileSequenza_0",
                             "Option_TipoFileSequenza_1", "ImmagineFasta", "ImmagineArlequin"})
      QVERIFY2(b.trova<QWidget>(nome)->isVisible(), nome);
  }

  void manualeMancanteLoDice() {
    Banco b;
    QVERIFY(b.avvia());
    clic(b.trova<QToolButton>("Cmd_VisualizzaManuale"));
    QVERIFY(b.dialoghi->documenti.empty());
    QCOMPARE(b.dialoghi->messaggi.size(), 1u);
    QCOMPARE(b.dialoghi->messaggi[0].icona, Icona::esclamazione);
    QVERIFY(b.dialoghi->messaggi[0].testo.contains("manuale_Vorlane.htm"));
  }

  // The alignment switch beside FASTA/Arlequin: on at the first start, off kept across starts.
  void allineaAlRiferimentoRestaTraUnAvvioELAltro() {
    Banco b;
    QVERIFY(b.avvia());
    auto* allinea = b.trova<QCheckBox>("Check_Allinea");
    QCOMPARE(allinea->text(), QStringLiteral("Allinea al riferimento"));
    QVERIFY(allinea->isVisible());
    QVERIFY(allinea->isChecked());
    clic(allinea);
    QVERIFY(!b.finestra->stato().allinea);
    clic(b.trova<QToolButton>("Cmd_esci"));
    QVERIFY(leggiFile(b / "Vorlane.ini").find("Allineamento=0\r\n") != std::string::npos);

    // The next start, with the settings the first one left.
    Banco ancora;
    std::filesystem::copy_file(b / "Vorlane.ini", ancora / "Vorlane.ini",
                               std::filesystem::copy_options::overwrite_existing);
    QVERIFY(ancora.avvia());
    QVERIFY(!ancora.trova<QCheckBox>("Check_Allinea")->isChecked());
    QVERIFY(!ancora.finestra->stato().allinea);
  }

  // Esci, or the title bar's close, saves the boxes, the one being typed in included.
  void esciOChiusuraSalvanoLeCaselle() {
    for (bool dallaBarra : {false, true}) {
      Banco b;
      QVERIFY(b.avvia());
      auto* da = b.trova<QLineEdit>("Text_PosizioneMutazioneDa");
      da->setFocus();
      da->selectAll();
      QTest::keyClicks(da, "16100");
      QTest::keyClicks(b.trova<QLineEdit>("Text_posMutazione"), "16129");
      if (dallaBarra)
        QVERIFY(b.finestra->close());
      else
        clic(b.trova<QToolButton>("Cmd_esci"));
      const std::string ini = leggiFile(b / "Vorlane.ini");
      QVERIFY(ini.find("InizioSequenza=16100\r\n") != std::string::npos);
      QVERIFY(ini.find("posMutazione=16129\r\n") != std::string::npos);
      QVERIFY(!b.finestra->isVisible());
      QVERIFY(b.dialoghi->domande.empty());
    }
  }

  void esciCheNonPuoSalvareLasciaLaFinestra() {
    Banco b;
    QVERIFY(b.avvia());
    std::filesystem::remove(b / "Vorlane.ini");
    std::filesystem::create_directory(b / "Vorlane.ini");
    clic(b.trova<QToolButton>("Cmd_esci"));
    QCOMPARE(b.dialoghi->messaggi.size(), 1u);
    QCOMPARE(b.dialoghi->messaggi[0].titolo, "ERRORE");
    QVERIFY(b.dialoghi->messaggi[0].testo.contains("ScriviFileParametri"));
    QVERIFY(b.finestra->isVisible());
  }

  // Held down, Enter repeats its press at the keyboard's rate: only the first one acts.
  void invioTenutoAgisceUnaVolta() {
    Banco b;
    QVERIFY(b.avvia());
    fileDiProva(b);
    scriviFile(b / "manuale_Vorlane.htm", "<html></html>");
    auto premiTenendo = [](QWidget* w) {
      w->setFocus();
      for (bool ripetuto : {false, true, true, true}) {
        QKeyEvent premuto(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), ripetuto);
        QApplication::sendEvent(w, &premuto);
      }
    };
    premiTenendo(b.trova<QToolButton>("Cmd_VisualizzaManuale"));
    QCOMPARE(b.dialoghi->documenti.size(), 1u);
    premi(b, Comando::ConfrontaMultiplo);
    auto* lista = b.trova<QListWidget>("File_Sequenza");
    lista->setCurrentRow(0);
    premiTenendo(lista);
    QCOMPARE(b.dialoghi->domande.size() + b.dialoghi->messaggi.size(), 1u);
  }

  void chiusuraCheNonPuoSalvareChiede() {
    Banco b;
    QVERIFY(b.avvia());
    std::filesystem::remove(b / "Vorlane.ini");
    std::filesystem::create_directory(b / "Vorlane.ini");
    QVERIFY(!b.finestra->close());
    QCOMPARE(b.dialoghi->messaggi.size(), 1u);
    QCOMPARE(b.dialoghi->domande.size(), 1u);
    QVERIFY(b.finestra->isVisible());
    b.dialoghi->rispostaSi = true;
    QVERIFY(b.finestra->close());
    QVERIFY(!b.finestra->isVisible());
  }

  // On a 1366x768 laptop, with a panel taking some of it, the whole window is on the screen.
  void finestraEntraInUnoSchermoPiccolo() {
    Banco b;
    QVERIFY(b.avvia());
    const QSize libero(1366, 728);
    b.finestra->resize(FinestraVorlane::misuraIniziale(libero));
    QVERIFY(b.finestra->width() <= libero.width());
    QVERIFY2(b.finestra->height() + 30 <= libero.height(),
             qPrintable(QString::number(b.finestra->height())));
    for (const char* nome : {"Cmd_esci", "Text_posMutazione", "File_Sequenza"}) {
      auto* w = b.trova<QWidget>(nome);
      QRect dove(w->mapTo(b.finestra.get(), QPoint(0, 0)), w->size());
      QVERIFY2(b.finestra->rect().contains(dove), nome);
    }
  }

  // The pictures of the README. Set VORLANE_SCHERMATE to a folder to keep them.
  void schermate() {
    Banco b;
    QVERIFY(b.avvia());
    for (const char* nome :
         {"campioni_esempio.FASTA", "campioni_esempio.ARL", "campioni_esempio.hsd"})
      std::filesystem::copy_file(std::filesystem::path(VORLANE_DATI) / "esporta" / nome,
                                 b / "esporta" / nome);
    b.finestra->resize(1200, 740);
    const QPixmap avvio = b.finestra->grab();
    premi(b, Comando::ConfrontaSingolo);
    b.trova<QListWidget>("File_Sequenza")->setCurrentRow(0);
    const QPixmap elenco = b.finestra->grab();
    QCOMPARE(avvio.size(), b.finestra->size());
    QVERIFY(avvio.toImage() != elenco.toImage());
    const QString cartella = qEnvironmentVariable("VORLANE_SCHERMATE");
    if (cartella.isEmpty()) return;
    QVERIFY(avvio.save(cartella + "/finestra_avvio.png"));
    QVERIFY(elenco.save(cartella + "/finestra_elenco.png"));
  }
};

}  // namespace

int eseguiTestComandi(int argc, char** argv) {
  TestComandi t;
  return QTest::qExec(&t, argc, argv);
}

}  // namespace vorlane::ui::test

#include "test_comandi.moc"
