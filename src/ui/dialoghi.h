#pragma once
// The window's modal boxes and the hand-over of a document to the desktop, behind one seam so
// the window tests can answer them instead of a person.

#include <QString>
#include <QUrl>
#include <memory>

#include "base/porta.h"

class QDialog;
class QMessageBox;
class QWidget;

namespace vorlane::ui {

class Dialoghi {
 public:
  virtual ~Dialoghi() = default;
  virtual void messaggio(QWidget* padre, const QString& testo, const QString& titolo,
                         Icona icona) = 0;
  virtual bool domandaSiNo(QWidget* padre, const QString& testo, const QString& titolo) = 0;
  // Opens a document in the desktop's viewer without waiting; false when it could not.
  virtual bool apriDocumento(const QUrl& indirizzo) = 0;
};

class DialoghiQt : public Dialoghi {
 public:
  void messaggio(QWidget* padre, const QString& testo, const QString& titolo, Icona icona) override;
  bool domandaSiNo(QWidget* padre, const QString& testo, const QString& titolo) override;
  bool apriDocumento(const QUrl& indirizzo) override;
};

// The boxes DialoghiQt shows, built apart so the window tests can look at them. A box without
// an icon carries a log block, whose columns line up only in a fixed pitch: it is shown in one.
std::unique_ptr<QMessageBox> creaMessaggio(QWidget* padre, const QString& testo,
                                           const QString& titolo, Icona icona);
std::unique_ptr<QMessageBox> creaDomanda(QWidget* padre, const QString& testo,
                                         const QString& titolo);
// The scrolling viewer of a text too long for a box.
std::unique_ptr<QDialog> creaVisore(QWidget* padre, const QString& testo, const QString& titolo);

// A log block can run to a hundred thousand lines: past this a message box would grow beyond
// the screen, so such a text goes into a scrolling viewer instead.
bool testoDaScorrere(const QString& testo);

}  // namespace vorlane::ui
