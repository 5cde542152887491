// Writes the program's icon for the desktop's icon theme: the window's own logo, drawn at each
// size rather than scaled from one picture, as hicolor/NxN/apps/vorlane.png under the folder
// given.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "icone.h"

int main(int argc, char** argv) {
  QGuiApplication applicazione(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "uso: vorlane-icona CARTELLA\n");
    return 64;
  }
  const QString radice = QString::fromLocal8Bit(argv[1]);
  for (int lato : vorlane::ui::kLatiIconaProgramma) {
    const QString cartella = QStringLiteral("%1/hicolor/%2x%2/apps").arg(radice).arg(lato);
    const QImage immagine = vorlane::ui::disegno(vorlane::ui::Disegno::Logo, lato)
                                .toImage()
                                .convertToFormat(QImage::Format_ARGB32);
    if (!QDir().mkpath(cartella) || immagine.size() != QSize(lato, lato) ||
        !immagine.save(cartella + QStringLiteral("/vorlane.png"), "PNG")) {
      std::fprintf(stderr, "vorlane-icona: impossibile scrivere %s\n", qPrintable(cartella));
      return 1;
    }
  }
  return 0;
}
