#include "dialoghi.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "aspetto.h"

namespace vorlane::ui {
namespace {

constexpr int kRigheInBox = 30;
constexpr int kCaratteriInBox = 4000;

QMessageBox::Icon iconaQt(Icona icona) {
  switch (icona) {
    case Icona::informazione:
      return QMessageBox::Information;
    case Icona::esclamazione:
      return QMessageBox::Warning;
    case Icona::critica:
      return QMessageBox::Critical;
    case Icona::nessuna:
      break;
  }
  return QMessageBox::NoIcon;
}

QSize misuraVisore(QWidget* padre) {
  QScreen* schermo = padre ? padre->screen() : QGuiApplication::primaryScreen();
  QSize disponibile = schermo ? schermo->availableSize() : QSize(1280, 800);
  return QSize(qMin(900, disponibile.width() * 9 / 10), qMin(640, disponibile.height() * 8 / 10));
}

void mostraTestoLungo(QWidget* padre, const QString& testo, const QString& titolo) {
  QDialog visore(padre);
  visore.setObjectName(QStringLiteral("VisoreTesto"));
  visore.setWindowTitle(titolo);
  auto* area = new QPlainTextEdit(&visore);
  area->setReadOnly(true);
  area->setLineWrapMode(QPlainTextEdit::NoWrap);
  area->setFont(fontFisso());
  area->setPlainText(testo);
  auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Ok, &visore);
  QObject::connect(pulsanti, &QDialogButtonBox::accepted, &visore, &QDialog::accept);
  auto* colonna = new QVBoxLayout(&visore);
  colonna->addWidget(area);
  colonna->addWidget(pulsanti);
  visore.resize(misuraVisore(padre));
  pulsanti->button(QDialogButtonBox::Ok)->setFocus();
  visore.exec();
}

}  // namespace

bool testoDaScorrere(const QString& testo) {
  return testo.size() > kCaratteriInBox || testo.count(QLatin1Char('\n')) >= kRigheInBox;
}

void DialoghiQt::messaggio(QWidget* padre, const QString& testo, const QString& titolo,
                           Icona icona) {
  if (testoDaScorrere(testo)) return mostraTestoLungo(padre, testo, titolo);
  QMessageBox box(iconaQt(icona), titolo, testo, QMessageBox::Ok, padre);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool DialoghiQt::domandaSiNo(QWidget* padre, const QString& testo, const QString& titolo) {
  QMessageBox box(QMessageBox::NoIcon, titolo, testo, QMessageBox::Yes | QMessageBox::No, padre);
  box.setTextFormat(Qt::PlainText);
  // Overwriting is the question asked: a stray Enter keeps the file.
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

bool DialoghiQt::apriDocumento(const QUrl& indirizzo) {
  return QDesktopServices::openUrl(indirizzo);
}

}  // namespace vorlane::ui
