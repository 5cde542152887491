#include "banco.h"

#include <QListWidget>
#include <QTest>

namespace vorlane::ui::test {

bool clessidraAccesa() {
  const QCursor* c = QApplication::overrideCursor();
  return c && c->shape() == Qt::WaitCursor;
}

void DialoghiTest::messaggio(QWidget*, const QString& testo, const QString& titolo, Icona icona) {
  messaggi.push_back({testo, titolo, icona, clessidraAccesa()});
}

bool DialoghiTest::domandaSiNo(QWidget*, const QString& testo, const QString& titolo) {
  domande.push_back({testo, titolo, Icona::nessuna, clessidraAccesa()});
  return rispostaSi;
}

bool DialoghiTest::apriDocumento(const QUrl& indirizzo) {
  documenti.push_back(indirizzo);
  return aperturaRiesce;
}

void FinestraSpia::impostaTesto(Controllo controllo, const std::string& testo) {
  if (controllo == Controllo::Label_FileSequenzaCampione)
    occupatoAllaDidascalia = clessidraAccesa();
  FinestraVorlane::impostaTesto(controllo, testo);
}

Banco::Banco(bool preparaCartella) {
  if (preparaCartella) vorlane::test::preparaCartellaLavoro(cartella.percorso());
  auto d = std::make_unique<DialoghiTest>();
  dialoghi = d.get();
  finestra = std::make_unique<FinestraSpia>(std::move(d));
  finestra->stato().registro.orologio = vorlane::test::momentoFisso;
}

bool Banco::avvia() {
  if (!finestra->avvia(cartella.percorso())) return false;
  finestra->show();
  finestra->activateWindow();
  return QTest::qWaitForWindowActive(finestra.get());
}

QStringList nomiElencati(const Banco& b) {
  QStringList nomi;
  auto* lista = b.trova<QListWidget>("File_Sequenza");
  for (int i = 0; i < lista->count(); ++i) nomi << lista->item(i)->text();
  return nomi;
}

void clic(QWidget* w) {
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

void doppioClicSu(Banco& b, const QString& nome) {
  auto* lista = b.trova<QListWidget>("File_Sequenza");
  QList<QListWidgetItem*> voci = lista->findItems(nome, Qt::MatchExactly);
  QVERIFY2(voci.size() == 1, qPrintable(nome));
  QPoint punto = lista->visualItemRect(voci[0]).center();
  QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, punto);
  QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, punto);
}

}  // namespace vorlane::ui::test
