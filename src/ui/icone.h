#pragma once
// The pictures of the window, drawn here so the program ships no image files.

#include <QIcon>
#include <QPixmap>

namespace vorlane::ui {

enum class Disegno {
  ControlloMutazioni,
  Normalizza,
  ConvertiInTabella,
  ConfrontaSingolo,
  ConfrontaMultiplo,
  ConfrontaSingoloMotivi,
  ConfrontaMultiploMotivi,
  VisualizzaManuale,
  Esci,
  Logo,
  Fasta,
  Arlequin,
};

// A square picture of `lato` device-independent pixels, sharp at the screen's pixel ratio.
QPixmap disegno(Disegno d, int lato, qreal rapportoPixel = 1.0);
QIcon icona(Disegno d);

// The sizes the program's icon is drawn at, for the window and the desktop's icon theme.
inline constexpr int kLatiIconaProgramma[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};
// The program's icon: the logo at each of those sizes, each drawn rather than scaled.
QIcon iconaProgramma();

}  // namespace vorlane::ui
