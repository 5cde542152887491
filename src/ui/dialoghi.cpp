#include "dialoghi.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
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

}  // namespace

std::unique_ptr<QDialog> creaVisore(QWidget* padre, const QString& testo, const QString& titolo) {
  auto visore = std::make_unique<QDialog>(padre);
  visore->setObjectName(QStringLiteral("VisoreTesto"));
  visore->setWindowTitle(titolo);
  auto* area = new QPlainTextEdit(visore.get());
  area->setReadOnly(true);
  area->setLineWrapMode(QPlainTextEdit::NoWrap);
  area->setFont(fontFisso());
  area->setPlainText(testo);
  auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Ok, visore.get());
  QObject::connect(pulsanti, &QDialogButtonBox::accepted, visore.get(), &QDialog::accept);
  auto* colonna = new QVBoxLayout(visore.get());
  colonna->addWidget(area);
  colonna->addWidget(pulsanti);
  visore->resize(misuraVisore(padre));
  pulsanti->button(QDialogButtonBox::Ok)->setFocus();
  return visore;
}

std::unique_ptr<QMessageBox> creaMessaggio(QWidget* padre, const QString& testo,
                                           const QString& titolo, Icona icona) {
  auto box = std::make_unique<QMessageBox>(iconaQt(icona), titolo, testo, QMessageBox::Ok, padre);
  box->setTextFormat(Qt::PlainText);
  if (icona == Icona::nessuna) {
    if (auto* etichetta = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
      etichetta->setFont(fontFisso());
      etichetta->setWordWrap(false);  // a wrapped line would break the columns too
    }
  }
  return box;
}

std::unique_ptr<QMessageBox> creaDomanda(QWidget* padre, const QString& testo,
                                         const QString& titolo) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, titolo, testo,
                                           QMessageBox::Yes | QMessageBox::No, padre);
  box->setTextFormat(Qt::PlainText);
  // Overwriting is the question asked: a stray Enter keeps the file.
  box->setDefaultButton(QMessageBox::No);
  return box;
}

bool testoDaScorrere(const QString& testo) {
  return testo.size() > kCaratteriInBox || testo.count(QLatin1Char('\n')) >= kRigheInBox;
}

void DialoghiQt::messaggio(QWidget* padre, const QString& testo, const QString& titolo,
                           Icona icona) {
  if (testoDaScorrere(testo)) {
    creaVisore(padre, testo, titolo)->exec();
    return;
  }
  creaMessaggio(padre, testo, titolo, icona)->exec();
}

bool DialoghiQt::domandaSiNo(QWidget* padre, const QString& testo, const QString& titolo) {
  return creaDomanda(padre, testo, titolo)->exec() == QMessageBox::Yes;
}

bool DialoghiQt::apriDocumento(const QUrl& indirizzo) {
  return QDesktopServices::openUrl(indirizzo);
}

}  // namespace vorlane::ui
