#pragma once
// The window on a test bench: a started working folder, message boxes answered by a recorder.

#include <QApplication>
#include <QString>
#include <QUrl>
#include <memory>
#include <vector>

#include "finestra.h"
#include "support/supporto.h"

namespace vorlane::ui::test {

struct BoxMostrato {
  QString testo, titolo;
  Icona icona;
  bool puntatoreOccupato;  // whether the hourglass was on while the box was up
};

class DialoghiTest : public Dialoghi {
 public:
  void messaggio(QWidget*, const QString& testo, const QString& titolo, Icona icona) override;
  bool domandaSiNo(QWidget*, const QString& testo, const QString& titolo) override;
  bool apriDocumento(const QUrl& indirizzo) override;

  std::vector<BoxMostrato> messaggi, domande;
  std::vector<QUrl> documenti;
  bool rispostaSi = false;
  bool aperturaRiesce = true;
};

// Records whether the hourglass was on when the core named the file being worked on.
class FinestraSpia : public FinestraVorlane {
 public:
  using FinestraVorlane::FinestraVorlane;
  void impostaTesto(Controllo controllo, const std::string& testo) override;
  bool occupatoAllaDidascalia = false;
};

bool clessidraAccesa();  // whether the hourglass is the pointer now

struct Banco {
  // With `preparaCartella` false the working folder is left empty.
  explicit Banco(bool preparaCartella = true);
  bool avvia();
  std::filesystem::path operator/(const std::string& nome) const { return cartella / nome; }
  template <class T>
  T* trova(const char* nome) const {
    return finestra->findChild<T*>(QString::fromLatin1(nome));
  }

  vorlane::test::CartellaTemporanea cartella;
  DialoghiTest* dialoghi;  // owned by the window
  std::unique_ptr<FinestraSpia> finestra;
};

// Names shown by the file list, top to bottom.
QStringList nomiElencati(const Banco& b);
void clic(QWidget* w);
void doppioClicSu(Banco& b, const QString& nome);

int eseguiTestAvvio(int argc, char** argv);
int eseguiTestComandi(int argc, char** argv);
int eseguiTestCaselle(int argc, char** argv);
int eseguiTestMessaggi(int argc, char** argv);

}  // namespace vorlane::ui::test
