#pragma once
// frm_Vorlane: the main window. It shows what the core asks it to show and forwards every event
// to the core; it owns no data beyond what it displays.

#include <QMainWindow>
#include <QPointer>
#include <filesystem>
#include <memory>

#include "app/operazioni.h"
#include "base/porta.h"
#include "dialoghi.h"
#include "stato/stato.h"

class QCloseEvent;
class QLabel;
class QLineEdit;
class QListWidgetItem;

namespace vorlane::ui {

struct Controlli;

class FinestraVorlane : public QMainWindow, public Porta {
  Q_OBJECT

 public:
  explicit FinestraVorlane(std::unique_ptr<Dialoghi> dialoghi = std::make_unique<DialoghiQt>());
  ~FinestraVorlane() override;

  // Start-up in the working folder `cartella`; false when the program must end (the user has
  // been told why).
  bool avvia(const std::filesystem::path& cartella);
  StatoVorlane& stato() { return stato_; }
  // The size the window opens at on a screen whose free area is `disponibile`.
  static QSize misuraIniziale(QSize disponibile);

  // The port.
  void messaggio(std::string_view testo, const std::string& titolo, Icona icona) override;
  bool domandaSiNo(const std::string& testo, const std::string& titolo) override;
  void puntatoreOccupato(bool occupato) override;
  std::string testo(Controllo controllo) const override;
  void impostaTesto(Controllo controllo, const std::string& testo) override;

  // Screen states.
  void DisabilitaSceltaSequenza();
  void PulisciAreaVideo();
  void RipristinaAreaVideo();
  void SceltaSequenza();

  // Events.
  void preparaOperazione(Comando comando);
  void Option_TipoFileSequenza_Click(int indice);
  void File_Sequenza_DblClick(QListWidgetItem* voce);
  void Cmd_VisualizzaManuale_Click();
  void Cmd_esci_Click();

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void costruisci();
  void collega();
  void impostaDidascalie();
  void mostraStatoIniziale();
  void aggiornaElenco();
  void lasciaCasella(QLineEdit* casella);
  void attendiClicInterrotto();
  bool riprendiClic(QObject* oggetto, QEvent* evento);
  void aggiornaIntervallo();
  QLabel* etichetta(Controllo controllo) const;
  QLineEdit* casella(Controllo controllo) const;

  StatoVorlane stato_;
  std::unique_ptr<Dialoghi> dialoghi_;
  std::unique_ptr<Controlli> c_;
  bool occupato_ = false;
  bool casellaInVerifica_ = false;
  int messaggiMostrati_ = 0;
  bool clicInterrotto_ = false;
  bool impostazioniSalvate_ = false;
};

}  // namespace vorlane::ui
