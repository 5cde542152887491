#pragma once
// The controls of frm_Vorlane, each with its own name as objectName, and their placement.

#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QToolButton>
#include <array>

#include "app/operazioni.h"

class QButtonGroup;
class QCheckBox;

namespace vorlane::ui {

struct Controlli {
  // The file list and the choice of file type.
  QListWidget* File_Sequenza;
  QLabel* Lbl_SceltaSequenza;
  std::array<QRadioButton*, 2> Option_TipoFileSequenza;
  QButtonGroup* gruppoOpzioni;
  QLabel* ImmagineFasta;
  QLabel* ImmagineArlequin;
  QCheckBox* Check_Allinea;  // whether samples are aligned to the reference
  QFileSystemWatcher* osservatore;

  // The three boxes and their headings.
  QLineEdit* Text_posMutazione;
  QLineEdit* Text_PosizioneMutazioneDa;
  QLineEdit* Text_PosizioneMutazioneA;
  QLabel* Lbl_Intervallo;
  QLabel* Lbl_IntervalloDa;
  QLabel* Lbl_IntervalloAa;
  QLabel* Lbl_Posizioni;

  // Commands, indexed like Comando, and the two that prepare nothing.
  std::array<QToolButton*, kNumeroComandi> comandi;
  QToolButton* Cmd_VisualizzaManuale;
  QToolButton* Cmd_esci;
  QGroupBox* Frame2;
  QGroupBox* Frame3;

  // Name plate and title line.
  QGroupBox* Frame1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Image1;
  QLabel* Lbl_Titolo;

  // The sequences being examined.
  QGroupBox* Frame4;
  QLabel* Label_FileSequenzaRiferimento;
  QLabel* Label_FileSequenzaCampione;
  QLabel* Label6;
  QLabel* Label7;
  QLabel* Label8;
  QLabel* Label9;
  QLabel* intervalloDa;  // the interval in use, beside Label8 and Label9
  QLabel* intervalloA;

  QToolButton* comando(Comando c) const { return comandi[static_cast<int>(c)]; }
};

// Builds every control into `finestra` and lays them out; captions that come from the message
// table are set later, at start-up.
std::unique_ptr<Controlli> creaControlli(QWidget* finestra);

}  // namespace vorlane::ui
