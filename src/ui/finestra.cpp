#include "finestra.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>
#include <limits>

#include "app/avvio.h"
#include "aspetto.h"
#include "controlli.h"
#include "stato/messaggi.h"
#include "stato/parametri.h"
#include "testo_qt.h"

namespace vorlane::ui {
namespace {

bool invio(QEvent* evento) {
  int tasto = static_cast<QKeyEvent*>(evento)->key();
  return tasto == Qt::Key_Return || tasto == Qt::Key_Enter;
}

// Room left for the title bar and the frame, which are not known before the window is shown.
constexpr int kCornice = 40;

}  // namespace

FinestraVorlane::FinestraVorlane(std::unique_ptr<Dialoghi> dialoghi)
    : dialoghi_(std::move(dialoghi)) {
  setObjectName(QStringLiteral("frm_Vorlane"));
  setFont(fontSansSerif(10));
  auto* centro = new QWidget(this);
  setCentralWidget(centro);
  c_ = creaControlli(centro);
  collega();
  // A position list as long as the user types or pastes: the settings keep it whole.
  c_->Text_posMutazione->setMaxLength(std::numeric_limits<int>::max());
  resize(misuraIniziale(screen()->availableGeometry().size()));
}

QSize FinestraVorlane::misuraIniziale(QSize disponibile) {
  return QSize(1180, 740).boundedTo(disponibile - QSize(0, kCornice));
}

FinestraVorlane::~FinestraVorlane() {
  puntatoreOccupato(false);
}

void FinestraVorlane::collega() {
  for (int i = 0; i < kNumeroComandi; ++i)
    connect(c_->comandi[i], &QToolButton::clicked, this,
            [this, i] { preparaOperazione(static_cast<Comando>(i)); });
  connect(c_->Cmd_VisualizzaManuale, &QToolButton::clicked, this,
          &FinestraVorlane::Cmd_VisualizzaManuale_Click);
  connect(c_->Cmd_esci, &QToolButton::clicked, this, &FinestraVorlane::Cmd_esci_Click);
  connect(c_->gruppoOpzioni, &QButtonGroup::idClicked, this,
          &FinestraVorlane::Option_TipoFileSequenza_Click);
  connect(c_->Check_Allinea, &QCheckBox::toggled, this, [this](bool si) { stato_.allinea = si; });
  connect(c_->File_Sequenza, &QListWidget::itemDoubleClicked, this,
          &FinestraVorlane::File_Sequenza_DblClick);
  connect(c_->osservatore, &QFileSystemWatcher::directoryChanged, this,
          &FinestraVorlane::aggiornaElenco);
  connect(c_->Text_posMutazione, &QLineEdit::textChanged, this,
          [this] { Text_posMutazione_Change(stato_, *this); });
  for (QLineEdit* t : {c_->Text_PosizioneMutazioneDa, c_->Text_PosizioneMutazioneA}) {
    t->installEventFilter(this);
    connect(t, &QLineEdit::returnPressed, this, [this, t] { lasciaCasella(t); });
  }
  c_->File_Sequenza->installEventFilter(this);
  // Enter on a focused command presses it, as Space does.
  for (QToolButton* b : c_->Frame3->findChildren<QToolButton*>()) b->installEventFilter(this);
}

bool FinestraVorlane::avvia(const std::filesystem::path& cartella) {
  if (!Avvio(stato_, *this, cartella)) return false;
  impostaDidascalie();
  mostraStatoIniziale();
  return true;
}

void FinestraVorlane::impostaDidascalie() {
  const auto& m = stato_.messaggi;
  setWindowTitle(versoQt(m[msg::analisiRegioneControllo]));
  const std::pair<QAbstractButton*, msg::Messaggio> pulsanti[] = {
      {c_->comando(Comando::ControlloMutazioni), msg::controlloMutazioni},
      {c_->comando(Comando::Normalizza), msg::normalizzazione},
      {c_->comando(Comando::ConvertiInTabella), msg::conversione},
      {c_->comando(Comando::ConfrontaSingolo), msg::confrontoSingolo},
      {c_->comando(Comando::ConfrontaMultiplo), msg::confrontoMultiplo},
      {c_->Cmd_VisualizzaManuale, msg::manuale},
      {c_->Cmd_esci, msg::esci},
      {c_->Option_TipoFileSequenza[0], msg::fasta},
      {c_->Option_TipoFileSequenza[1], msg::arlequin},
  };
  for (const auto& [pulsante, n] : pulsanti) pulsante->setText(versoQt(m[n]));
  const std::pair<QLabel*, msg::Messaggio> etichette[] = {
      {c_->Lbl_SceltaSequenza, msg::fileDisponibili},
      {c_->Label6, msg::riferimento},
      {c_->Label8, msg::da},
      {c_->Label9, msg::a},
      {c_->Label7, msg::campione},
  };
  for (const auto& [e, n] : etichette) e->setText(versoQt(m[n]));
  c_->Frame4->setTitle(versoQt(m[msg::sequenzeInEsame]));
  c_->Frame3->setTitle(versoQt(m[msg::comandi]));
}

// After start-up no command is prepared: no list, no choice of type, the start title.
void FinestraVorlane::mostraStatoIniziale() {
  DisabilitaSceltaSequenza();
  for (QWidget* w :
       {static_cast<QWidget*>(c_->Option_TipoFileSequenza[0]),
        static_cast<QWidget*>(c_->Option_TipoFileSequenza[1]),
        static_cast<QWidget*>(c_->ImmagineFasta), static_cast<QWidget*>(c_->ImmagineArlequin)})
    w->setVisible(false);
  c_->Option_TipoFileSequenza[stato_.scelta.tipoFile == "FASTA" ? 0 : 1]->setChecked(true);
  c_->Check_Allinea->setChecked(stato_.allinea);
  c_->Lbl_Titolo->setVisible(true);
  aggiornaIntervallo();
  c_->comando(Comando::ControlloMutazioni)->setFocus();
}

// --- The port -------------------------------------------------------------------------------

void FinestraVorlane::messaggio(std::string_view testo, const std::string& titolo, Icona icona) {
  // The user reads the box with the ordinary pointer, then the operation goes on.
  const bool eraOccupato = occupato_;
  puntatoreOccupato(false);
  ++messaggiMostrati_;
  dialoghi_->messaggio(this, versoQt(testo), versoQt(titolo), icona);
  puntatoreOccupato(eraOccupato);
}

bool FinestraVorlane::domandaSiNo(const std::string& testo, const std::string& titolo) {
  const bool eraOccupato = occupato_;
  puntatoreOccupato(false);
  bool si = dialoghi_->domandaSiNo(this, versoQt(testo), versoQt(titolo));
  puntatoreOccupato(eraOccupato);
  return si;
}

void FinestraVorlane::puntatoreOccupato(bool occupato) {
  if (occupato == occupato_) return;
  occupato_ = occupato;
  if (occupato)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

QLabel* FinestraVorlane::etichetta(Controllo controllo) const {
  switch (controllo) {
    case Controllo::Lbl_Titolo:
      return c_->Lbl_Titolo;
    case Controllo::Label_FileSequenzaCampione:
      return c_->Label_FileSequenzaCampione;
    case Controllo::Label_FileSequenzaRiferimento:
      return c_->Label_FileSequenzaRiferimento;
    default:
      return nullptr;
  }
}

QLineEdit* FinestraVorlane::casella(Controllo controllo) const {
  switch (controllo) {
    case Controllo::Text_PosizioneMutazioneDa:
      return c_->Text_PosizioneMutazioneDa;
    case Controllo::Text_PosizioneMutazioneA:
      return c_->Text_PosizioneMutazioneA;
    case Controllo::Text_posMutazione:
      return c_->Text_posMutazione;
    default:
      return nullptr;
  }
}

std::string FinestraVorlane::testo(Controllo controllo) const {
  if (QLabel* e = etichetta(controllo)) return daQt(e->text());
  return daQt(casella(controllo)->text());
}

void FinestraVorlane::impostaTesto(Controllo controllo, const std::string& testo) {
  if (QLabel* e = etichetta(controllo))
    e->setText(versoQt(testo));
  else
    casella(controllo)->setText(versoQt(testo));
}

// --- The position boxes ---------------------------------------------------------------------

bool FinestraVorlane::eventFilter(QObject* oggetto, QEvent* evento) {
  if (clicInterrotto_ && evento->type() == QEvent::MouseButtonPress)
    return riprendiClic(oggetto, evento);
  if (evento->type() == QEvent::FocusOut &&
      (oggetto == c_->Text_PosizioneMutazioneDa || oggetto == c_->Text_PosizioneMutazioneA)) {
    // Another window coming forward (a message box among them) or a popup menu opening does not
    // mean the user has left the box.
    auto motivo = static_cast<QFocusEvent*>(evento)->reason();
    if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason) {
      const int prima = messaggiMostrati_;
      lasciaCasella(static_cast<QLineEdit*>(oggetto));
      if (motivo == Qt::MouseFocusReason && messaggiMostrati_ != prima) attendiClicInterrotto();
    }
  } else if (evento->type() == QEvent::KeyPress && invio(evento)) {
    // Holding the key down acts once: a command, or the file list's double click, started
    // again at the keyboard's repeat rate would pile up runs and manual tabs.
    if (static_cast<QKeyEvent*>(evento)->isAutoRepeat()) return true;
    if (oggetto == c_->File_Sequenza) {
      File_Sequenza_DblClick(c_->File_Sequenza->currentItem());
      return true;
    }
    if (auto* comando = qobject_cast<QToolButton*>(oggetto)) {
      comando->click();
      return true;
    }
  }
  return QMainWindow::eventFilter(oggetto, evento);
}

// The box's message came up between the press of a click that left the box and the press
// reaching its control: the release went to the message, so the control would stay drawn
// pressed and never see its click. The press is taken here instead and the click done whole.
void FinestraVorlane::attendiClicInterrotto() {
  clicInterrotto_ = true;
  QApplication::instance()->installEventFilter(this);
  // Had the focus moved without a press, nothing is waited for past this turn of events.
  QTimer::singleShot(0, this, [this] {
    if (!clicInterrotto_) return;
    clicInterrotto_ = false;
    QApplication::instance()->removeEventFilter(this);
  });
}

bool FinestraVorlane::riprendiClic(QObject* oggetto, QEvent* evento) {
  clicInterrotto_ = false;
  QApplication::instance()->removeEventFilter(this);
  if (auto* pulsante = qobject_cast<QAbstractButton*>(oggetto)) {
    pulsante->click();
    return true;
  }
  if (oggetto == c_->File_Sequenza->viewport()) {
    QPoint punto = static_cast<QMouseEvent*>(evento)->position().toPoint();
    if (QListWidgetItem* voce = c_->File_Sequenza->itemAt(punto))
      c_->File_Sequenza->setCurrentItem(voce);
    return true;
  }
  return false;
}

void FinestraVorlane::lasciaCasella(QLineEdit* t) {
  // The rule's own message box, or a window being closed, must not start it again.
  if (casellaInVerifica_ || !isVisible()) return;
  casellaInVerifica_ = true;
  auto fine = qScopeGuard([this] { casellaInVerifica_ = false; });
  if (t == c_->Text_PosizioneMutazioneDa)
    Text_PosizioneMutazioneDa_LostFocus(stato_, *this);
  else
    Text_PosizioneMutazioneA_LostFocus(stato_, *this);
  aggiornaIntervallo();
}

void FinestraVorlane::aggiornaIntervallo() {
  c_->intervalloDa->setText(versoQt(stato_.impostazioni.InizioSequenza));
  c_->intervalloA->setText(versoQt(stato_.impostazioni.FineSequenza));
}

}  // namespace vorlane::ui
