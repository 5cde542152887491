#include "aspetto.h"

#include <QStringList>

namespace vorlane::ui {
namespace {

QFont font(const QStringList& famiglie, int punti, bool grassetto) {
  QFont f;
  f.setFamilies(famiglie);
  f.setPointSize(punti);
  f.setBold(grassetto);
  f.setStyleHint(QFont::SansSerif);
  return f;
}

}  // namespace

QFont fontTrebuchet(int punti, bool grassetto) {
  return font({"Trebuchet MS", "DejaVu Sans", "Verdana", "Nimbus Sans", "sans-serif"}, punti,
              grassetto);
}

QFont fontSansSerif(int punti) {
  return font({"MS Sans Serif", "Microsoft Sans Serif", "Nimbus Sans", "Liberation Sans",
               "DejaVu Sans", "sans-serif"},
              punti, false);
}

QFont fontFisso(int punti) {
  QFont f = font({"DejaVu Sans Mono", "Consolas", "Noto Mono", "monospace"}, punti, false);
  f.setStyleHint(QFont::Monospace);
  return f;
}

}  // namespace vorlane::ui
