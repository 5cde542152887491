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

}  // namespace vorlane::ui
