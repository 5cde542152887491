// Vorlane's window. It works in the folder it is started from when that holds the program's
// files (messages, tables, manual); otherwise, or with --lavoro as the desktop's menu starts
// it, in the user's own folder ~/Vorlane. Results go into the folder's sub-folders.

#include <QApplication>

#include "avvio_qt.h"
#include "finestra.h"

int main(int argc, char** argv) {
  QApplication applicazione(argc, argv);
  vorlane::ui::installaTraduzioneQt(applicazione);
  vorlane::ui::DialoghiQt dialoghi;
  auto cartella = vorlane::ui::entraNellaCartellaLavoro(QApplication::arguments(), dialoghi);
  vorlane::ui::FinestraVorlane finestra;
  if (!cartella || !finestra.avvia(*cartella)) return 1;
  finestra.show();
  QApplication::processEvents();
  return applicazione.exec();
}
