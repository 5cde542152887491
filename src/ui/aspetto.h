#pragma once
// Fonts and colours of the window. The captions were drawn for Trebuchet MS and MS Sans Serif;
// where those are not installed a close sans-serif takes their place.

#include <QColor>
#include <QFont>

namespace vorlane::ui {

QFont fontTrebuchet(int punti, bool grassetto = false);
QFont fontSansSerif(int punti = 9);
QFont fontFisso(int punti = 9);  // for log blocks, whose columns line up in a fixed pitch

// The program's teal, its light tint and a dark ink for headings.
inline const QColor kColoreVerde{0x57, 0x9B, 0x9B};
inline const QColor kColoreChiaro{0xEE, 0xF4, 0xF4};
inline const QColor kColoreScuro{0x2F, 0x6B, 0x6B};

}  // namespace vorlane::ui
