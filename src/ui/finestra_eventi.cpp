// The screen states and the events of frm_Vorlane. Each event hands its work to the core and
// then shows the state the core left.

#include <QButtonGroup>
#include <QCloseEvent>

#include "app/operazioni.h"
#include "controlli.h"
#include "elenco_file.h"
#include "finestra.h"
#include "testo_qt.h"
#include "text/testo.h"

namespace vorlane::ui {

// --- Screen states --------------------------------------------------------------------------

void FinestraVorlane::DisabilitaSceltaSequenza() {
  c_->Lbl_SceltaSequenza->setVisible(false);
  c_->Lbl_Titolo->setVisible(false);
  c_->Lbl_SceltaSequenza->setEnabled(false);
  c_->File_Sequenza->setEnabled(false);
  c_->File_Sequenza->setVisible(false);
  for (QRadioButton* o : c_->Option_TipoFileSequenza) {
    o->setEnabled(true);
    o->setVisible(true);
  }
  c_->ImmagineFasta->setVisible(true);
  c_->ImmagineArlequin->setVisible(true);
}

void FinestraVorlane::PulisciAreaVideo() {
  for (QWidget* w :
       {static_cast<QWidget*>(c_->Lbl_SceltaSequenza), static_cast<QWidget*>(c_->File_Sequenza),
        static_cast<QWidget*>(c_->Option_TipoFileSequenza[0]),
        static_cast<QWidget*>(c_->Option_TipoFileSequenza[1]),
        static_cast<QWidget*>(c_->ImmagineFasta), static_cast<QWidget*>(c_->ImmagineArlequin)})
    w->setVisible(false);
}

void FinestraVorlane::RipristinaAreaVideo() {
  for (QWidget* w : std::initializer_list<QWidget*>{
           c_->Lbl_SceltaSequenza, c_->Lbl_Titolo, c_->File_Sequenza,
           c_->Option_TipoFileSequenza[0], c_->Option_TipoFileSequenza[1], c_->ImmagineFasta,
           c_->ImmagineArlequin, c_->Label_FileSequenzaRiferimento, c_->Label_FileSequenzaCampione,
           c_->Lbl_Intervallo, c_->Lbl_Posizioni, c_->Lbl_IntervalloDa, c_->Lbl_IntervalloAa,
           c_->Text_PosizioneMutazioneDa, c_->Text_PosizioneMutazioneA, c_->Text_posMutazione})
    w->setVisible(true);
}

// The title line for the code is the core's; here the list is pointed at the prepared folder.
void FinestraVorlane::SceltaSequenza() {
  aggiornaElenco();
}

void FinestraVorlane::aggiornaElenco() {
  QListWidget* lista = c_->File_Sequenza;
  const QString scelto = lista->currentItem() ? lista->currentItem()->text() : QString();
  lista->clear();
  for (const auto& nome :
       fileCorrispondenti(stato_.scelta.cartellaScelta, stato_.scelta.filtroFile)) {
    auto* voce = new QListWidgetItem(percorsoQt(nome), lista);
    voce->setData(Qt::UserRole, QByteArray::fromStdString(nome.native()));
    if (voce->text() == scelto) lista->setCurrentItem(voce);
  }
  // The list follows files that appear, go or are renamed in its folder.
  QFileSystemWatcher* o = c_->osservatore;
  const QString cartella = percorsoQt(stato_.scelta.cartellaScelta);
  if (o->directories() == QStringList{cartella}) return;
  if (!o->directories().isEmpty()) o->removePaths(o->directories());
  std::error_code ec;
  if (std::filesystem::is_directory(stato_.scelta.cartellaScelta, ec)) o->addPath(cartella);
}

// --- Events ---------------------------------------------------------------------------------

void FinestraVorlane::preparaOperazione(Comando comando) {
  if (comando == Comando::ControlloMutazioni) RipristinaAreaVideo();
  DisabilitaSceltaSequenza();
  if (PreparaOperazione(stato_, *this, comando) == EsitoEvento::errore) return;
  for (QWidget* w :
       std::initializer_list<QWidget*>{c_->Lbl_Titolo, c_->File_Sequenza, c_->Lbl_SceltaSequenza}) {
    w->setVisible(true);
    w->setEnabled(true);
  }
  SceltaSequenza();
}

void FinestraVorlane::Option_TipoFileSequenza_Click(int indice) {
  vorlane::Option_TipoFileSequenza_Click(stato_, static_cast<std::int16_t>(indice));
  aggiornaElenco();
}

void FinestraVorlane::File_Sequenza_DblClick(QListWidgetItem* voce) {
  if (!voce || !c_->File_Sequenza->isEnabled()) return;
  std::filesystem::path nome = voce->data(Qt::UserRole).toByteArray().toStdString();
  vorlane::File_Sequenza_DblClick(stato_, *this, nome);
}

void FinestraVorlane::Cmd_VisualizzaManuale_Click() {
  PulisciAreaVideo();
  std::filesystem::path manuale = vorlane::Cmd_VisualizzaManuale_Click(stato_, *this);
  c_->Lbl_Titolo->setVisible(true);
  std::error_code ec;
  if (std::filesystem::is_regular_file(manuale, ec) &&
      dialoghi_->apriDocumento(QUrl::fromLocalFile(percorsoQt(manuale))))
    return;
  messaggio("Impossibile aprire il manuale " + testoPercorso(manuale), kTitoloApplicazione,
            Icona::esclamazione);
}

void FinestraVorlane::Cmd_esci_Click() {
  // When the settings could not be saved the report has been shown: the window stays, so the
  // user can put things right and leave again.
  if (!vorlane::Cmd_esci_Click(stato_, *this)) return;
  impostazioniSalvate_ = true;
  close();
}

// The title bar's close saves the boxes as Esci does. When they cannot be saved the report has
// been shown and the user chooses between staying to put things right and leaving without them.
void FinestraVorlane::closeEvent(QCloseEvent* evento) {
  // A box being typed in is left first, its rules applied, as a click on Esci leaves it.
  for (QLineEdit* t : {c_->Text_PosizioneMutazioneDa, c_->Text_PosizioneMutazioneA})
    if (t->hasFocus()) lasciaCasella(t);
  if (!impostazioniSalvate_ && !vorlane::Cmd_esci_Click(stato_, *this) &&
      !domandaSiNo("Le impostazioni non sono state salvate. Chiudere comunque Vorlane?",
                   kTitoloApplicazione)) {
    evento->ignore();
    return;
  }
  impostazioniSalvate_ = true;
  evento->accept();
}

}  // namespace vorlane::ui
