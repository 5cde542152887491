#include "controlli.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "aspetto.h"
#include "icone.h"

namespace vorlane::ui {
namespace {

constexpr int kIcona = 36;
constexpr int kAltezzaPulsante = 48;
constexpr int kImmagineTipo = 28;
constexpr int kLogo = 76;

QLabel* etichetta(QWidget* padre, const char* nome, const QString& testo, const QFont& font) {
  auto* l = new QLabel(testo, padre);
  l->setObjectName(QString::fromLatin1(nome));
  l->setTextFormat(Qt::PlainText);  // file names must never be read as markup
  l->setFont(font);
  return l;
}

QToolButton* pulsante(QWidget* padre, const char* nome, const char* suggerimento, Disegno d) {
  auto* b = new QToolButton(padre);
  b->setObjectName(QString::fromLatin1(nome));
  b->setToolTip(QString::fromUtf8(suggerimento));
  b->setIcon(icona(d));
  b->setIconSize(QSize(kIcona, kIcona));
  b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  b->setMinimumHeight(kAltezzaPulsante);
  // A click must take the focus, so that a position box being left runs its rule first.
  b->setFocusPolicy(Qt::StrongFocus);
  b->setAutoRaise(false);
  return b;
}

QToolButton* pulsanteSoloIcona(QWidget* padre, const char* nome, const char* suggerimento,
                               Disegno d) {
  QToolButton* b = pulsante(padre, nome, suggerimento, d);
  b->setToolButtonStyle(Qt::ToolButtonIconOnly);
  b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  b->setFixedSize(kAltezzaPulsante + 8, kAltezzaPulsante);
  return b;
}

QLabel* immagine(QWidget* padre, const char* nome, Disegno d, int lato) {
  auto* l = new QLabel(padre);
  l->setObjectName(QString::fromLatin1(nome));
  l->setPixmap(disegno(d, lato, padre->devicePixelRatioF()));
  l->setFixedSize(lato, lato);
  return l;
}

// Parts of the window that come and go keep their place, so nothing else jumps.
void mantieniPosto(QWidget* w) {
  QSizePolicy p = w->sizePolicy();
  p.setRetainSizeWhenHidden(true);
  w->setSizePolicy(p);
}

QGroupBox* creaTarga(Controlli& c, QWidget* padre) {
  c.Frame1 = new QGroupBox(padre);
  c.Frame1->setObjectName(QStringLiteral("Frame1"));
  c.Image1 = immagine(c.Frame1, "Image1", Disegno::Logo, kLogo);
  c.Label1 = etichetta(c.Frame1, "Label1", QStringLiteral("Vorlane"), fontTrebuchet(22, true));
  c.Label2 = etichetta(c.Frame1, "Label2", QStringLiteral("d-Loop"), fontTrebuchet(12, true));
  c.Label3 = etichetta(c.Frame1, "Label3", QStringLiteral("ver 3.2.0"), fontSansSerif(9));
  QPalette verde = c.Label1->palette();
  verde.setColor(QPalette::WindowText, kColoreVerde);
  c.Label1->setPalette(verde);
  c.Label2->setPalette(verde);
  auto* nomi = new QVBoxLayout;
  nomi->setSpacing(0);
  nomi->addWidget(c.Label1);
  nomi->addWidget(c.Label2);
  nomi->addWidget(c.Label3);
  auto* riga = new QHBoxLayout(c.Frame1);
  riga->addWidget(c.Image1);
  riga->addSpacing(8);
  riga->addLayout(nomi);
  c.Frame1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  return c.Frame1;
}

QLabel* creaTitolo(Controlli& c, QWidget* padre) {
  c.Lbl_Titolo = etichetta(padre, "Lbl_Titolo", QString(), fontTrebuchet(14, true));
  c.Lbl_Titolo->setWordWrap(true);
  c.Lbl_Titolo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  c.Lbl_Titolo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  c.Lbl_Titolo->setMargin(8);
  QPalette p = c.Lbl_Titolo->palette();
  p.setColor(QPalette::WindowText, kColoreScuro);
  c.Lbl_Titolo->setPalette(p);
  mantieniPosto(c.Lbl_Titolo);
  return c.Lbl_Titolo;
}

void creaConfronti(Controlli& c, QWidget* padre) {
  c.Frame2 = new QGroupBox(padre);
  c.Frame2->setObjectName(QStringLiteral("Frame2"));
  auto* g = new QGridLayout(c.Frame2);
  g->setContentsMargins(6, 6, 6, 6);
  const char* singolo = "campionamento singolo";
  const char* multiplo = "campionamento multiplo";
  auto& k = c.comandi;
  using enum Comando;
  k[int(ConfrontaSingolo)] =
      pulsante(c.Frame2, "Cmd_ConfrontaSingolo", singolo, Disegno::ConfrontaSingolo);
  k[int(ConfrontaSingoloNew)] = pulsanteSoloIcona(c.Frame2, "Cmd_ConfrontaSingoloNew", singolo,
                                                  Disegno::ConfrontaSingoloMotivi);
  k[int(ConfrontaMultiplo)] =
      pulsante(c.Frame2, "Cmd_ConfrontaMultiplo", multiplo, Disegno::ConfrontaMultiplo);
  k[int(ConfrontaMultiploNew)] = pulsanteSoloIcona(c.Frame2, "Cmd_ConfrontaMultiploNew", multiplo,
                                                   Disegno::ConfrontaMultiploMotivi);
  g->addWidget(k[int(ConfrontaSingolo)], 0, 0);
  g->addWidget(k[int(ConfrontaSingoloNew)], 0, 1);
  g->addWidget(k[int(ConfrontaMultiplo)], 1, 0);
  g->addWidget(k[int(ConfrontaMultiploNew)], 1, 1);
}

QGroupBox* creaComandi(Controlli& c, QWidget* padre) {
  c.Frame3 = new QGroupBox(padre);
  c.Frame3->setObjectName(QStringLiteral("Frame3"));
  c.Frame3->setFont(fontTrebuchet(10, true));
  auto& k = c.comandi;
  using enum Comando;
  k[int(ControlloMutazioni)] = pulsante(c.Frame3, "Cmd_ControlloMutazioni",
                                        "controllo mutazioni in file FASTA o Arlequin compatibile",
                                        Disegno::ControlloMutazioni);
  k[int(Normalizza)] =
      pulsante(c.Frame3, "Cmd_Normalizza",
               "normalizzazione tabella in file FASTA o Arlequin compatibile", Disegno::Normalizza);
  k[int(ConvertiInTabella)] = pulsante(c.Frame3, "Cmd_ConvertiInTabella",
                                       "conversione file FASTA o Arlequin compatibile in tabella",
                                       Disegno::ConvertiInTabella);
  creaConfronti(c, c.Frame3);
  c.Cmd_VisualizzaManuale = pulsante(c.Frame3, "Cmd_VisualizzaManuale",
                                     "visualizzazione del manuale", Disegno::VisualizzaManuale);
  c.Cmd_esci = pulsante(c.Frame3, "Cmd_esci", "chiusura del programma", Disegno::Esci);
  auto* colonna = new QVBoxLayout(c.Frame3);
  for (Comando x : {ControlloMutazioni, Normalizza, ConvertiInTabella})
    colonna->addWidget(k[int(x)]);
  colonna->addWidget(c.Frame2);
  colonna->addStretch(1);
  colonna->addWidget(c.Cmd_VisualizzaManuale);
  colonna->addWidget(c.Cmd_esci);
  for (QWidget* figlio : c.Frame3->findChildren<QToolButton*>()) figlio->setFont(fontSansSerif(10));
  c.Frame3->setMinimumWidth(300);
  c.Frame3->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  return c.Frame3;
}

QHBoxLayout* creaOpzioni(Controlli& c, QWidget* padre) {
  c.gruppoOpzioni = new QButtonGroup(padre);
  c.ImmagineFasta = immagine(padre, "ImmagineFasta", Disegno::Fasta, kImmagineTipo);
  c.ImmagineArlequin = immagine(padre, "ImmagineArlequin", Disegno::Arlequin, kImmagineTipo);
  auto* riga = new QHBoxLayout;
  for (int i = 0; i < 2; ++i) {
    auto* o = new QRadioButton(padre);
    o->setObjectName(QStringLiteral("Option_TipoFileSequenza_%1").arg(i));
    o->setProperty("indice", i);
    o->setFont(fontSansSerif(10));
    c.gruppoOpzioni->addButton(o, i);
    c.Option_TipoFileSequenza[i] = o;
    riga->addWidget(i == 0 ? c.ImmagineFasta : c.ImmagineArlequin);
    riga->addWidget(o);
    riga->addSpacing(24);
    mantieniPosto(o);
  }
  c.Check_Allinea = new QCheckBox(QStringLiteral("Allinea al riferimento"), padre);
  c.Check_Allinea->setObjectName(QStringLiteral("Check_Allinea"));
  c.Check_Allinea->setFont(fontSansSerif(10));
  c.Check_Allinea->setToolTip(QString::fromUtf8(
      "Ogni campione è allineato alla sequenza di riferimento: inserzioni, delezioni e "
      "letture che iniziano in qualunque punto. Senza, il carattere k di un campione è la "
      "base della posizione iniziale + k - 1."));
  riga->addWidget(c.Check_Allinea);
  riga->addStretch(1);
  mantieniPosto(c.ImmagineFasta);
  mantieniPosto(c.ImmagineArlequin);
  return riga;
}

QWidget* creaSceltaFile(Controlli& c, QWidget* padre) {
  auto* area = new QWidget(padre);
  c.Lbl_SceltaSequenza = etichetta(area, "Lbl_SceltaSequenza", QString(), fontTrebuchet(11, true));
  c.File_Sequenza = new QListWidget(area);
  c.File_Sequenza->setObjectName(QStringLiteral("File_Sequenza"));
  c.File_Sequenza->setFont(fontSansSerif(10));
  c.File_Sequenza->setSelectionMode(QAbstractItemView::SingleSelection);
  c.File_Sequenza->setSortingEnabled(false);
  c.osservatore = new QFileSystemWatcher(area);
  mantieniPosto(c.Lbl_SceltaSequenza);
  mantieniPosto(c.File_Sequenza);
  auto* colonna = new QVBoxLayout(area);
  colonna->setContentsMargins(0, 0, 0, 0);
  colonna->addWidget(c.Lbl_SceltaSequenza);
  colonna->addLayout(creaOpzioni(c, area));
  colonna->addWidget(c.File_Sequenza, 1);
  return area;
}

QLineEdit* casella(QWidget* padre, const char* nome) {
  auto* t = new QLineEdit(padre);
  t->setObjectName(QString::fromLatin1(nome));
  t->setFont(fontSansSerif(10));
  return t;
}

QWidget* creaCaselle(Controlli& c, QWidget* padre) {
  auto* area = new QWidget(padre);
  const QFont titolo = fontTrebuchet(10, true);
  c.Lbl_Intervallo =
      etichetta(area, "Lbl_Intervallo", QStringLiteral("intervallo sequenza da esaminare"), titolo);
  c.Lbl_IntervalloDa = etichetta(area, "Lbl_IntervalloDa", QStringLiteral("da"), fontSansSerif(10));
  c.Lbl_IntervalloAa = etichetta(area, "Lbl_IntervalloAa", QStringLiteral("a"), fontSansSerif(10));
  c.Lbl_Posizioni =
      etichetta(area, "Lbl_Posizioni", QStringLiteral("lista posizioni mutazione"), titolo);
  c.Text_PosizioneMutazioneDa = casella(area, "Text_PosizioneMutazioneDa");
  c.Text_PosizioneMutazioneA = casella(area, "Text_PosizioneMutazioneA");
  c.Text_posMutazione = casella(area, "Text_posMutazione");
  for (QLineEdit* t : {c.Text_PosizioneMutazioneDa, c.Text_PosizioneMutazioneA})
    t->setFixedWidth(t->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
  auto* estremi = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{c.Lbl_IntervalloDa, c.Text_PosizioneMutazioneDa,
                                                    c.Lbl_IntervalloAa, c.Text_PosizioneMutazioneA})
    estremi->addWidget(w);
  estremi->addStretch(1);
  auto* intervallo = new QVBoxLayout;
  intervallo->addWidget(c.Lbl_Intervallo);
  intervallo->addLayout(estremi);
  auto* lista = new QVBoxLayout;
  lista->addWidget(c.Lbl_Posizioni);
  lista->addWidget(c.Text_posMutazione);
  auto* riga = new QHBoxLayout(area);
  riga->setContentsMargins(0, 8, 0, 0);
  riga->addLayout(intervallo);
  riga->addSpacing(24);
  riga->addLayout(lista, 1);
  return area;
}

QGroupBox* creaFrame4(Controlli& c, QWidget* padre) {
  c.Frame4 = new QGroupBox(padre);
  c.Frame4->setObjectName(QStringLiteral("Frame4"));
  c.Frame4->setFont(fontTrebuchet(10, true));
  const QFont intestazione = fontTrebuchet(10, true), testo = fontSansSerif(10);
  c.Label6 = etichetta(c.Frame4, "Label6", QString(), intestazione);
  c.Label7 = etichetta(c.Frame4, "Label7", QString(), intestazione);
  c.Label8 = etichetta(c.Frame4, "Label8", QStringLiteral("da"), testo);
  c.Label9 = etichetta(c.Frame4, "Label9", QStringLiteral("a"), testo);
  c.Label_FileSequenzaRiferimento = etichetta(c.Frame4, "Label_FileSequenzaRiferimento", {}, testo);
  c.Label_FileSequenzaCampione = etichetta(c.Frame4, "Label_FileSequenzaCampione", {}, testo);
  c.intervalloDa = etichetta(c.Frame4, "intervalloDa", {}, testo);
  c.intervalloA = etichetta(c.Frame4, "intervalloA", {}, testo);
  for (QLabel* l : {c.Label_FileSequenzaRiferimento, c.Label_FileSequenzaCampione})
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // The stretch of the reference being examined, beside the reference's name.
  auto* intervallo = new QHBoxLayout;
  intervallo->setSpacing(6);
  for (QLabel* l : {c.Label8, c.intervalloDa, c.Label9, c.intervalloA}) intervallo->addWidget(l);
  auto* g = new QGridLayout(c.Frame4);
  g->addWidget(c.Label6, 0, 0);
  g->addWidget(c.Label_FileSequenzaRiferimento, 0, 1);
  g->addLayout(intervallo, 0, 2);
  g->addWidget(c.Label7, 1, 0);
  g->addWidget(c.Label_FileSequenzaCampione, 1, 1, 1, 2);
  g->setColumnStretch(1, 1);
  g->setHorizontalSpacing(16);
  return c.Frame4;
}

}  // namespace

std::unique_ptr<Controlli> creaControlli(QWidget* finestra) {
  auto c = std::make_unique<Controlli>();
  auto* alto = new QHBoxLayout;
  alto->addWidget(creaTarga(*c, finestra));
  alto->addWidget(creaTitolo(*c, finestra), 1);
  auto* destra = new QVBoxLayout;
  destra->addWidget(creaSceltaFile(*c, finestra), 1);
  destra->addWidget(creaCaselle(*c, finestra));
  auto* centro = new QHBoxLayout;
  centro->addWidget(creaComandi(*c, finestra));
  centro->addSpacing(8);
  centro->addLayout(destra, 1);
  auto* tutto = new QVBoxLayout(finestra);
  tutto->addLayout(alto);
  tutto->addLayout(centro, 1);
  tutto->addWidget(creaFrame4(*c, finestra));
  return c;
}

}  // namespace vorlane::ui
