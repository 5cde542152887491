// Vorlane's window. It works in the folder it is started from: messages, settings, tables and
// the manual lie there, results go into its sub-folders.

#include <QApplication>
#include <filesystem>

#include "finestra.h"

int main(int argc, char** argv) {
  QApplication applicazione(argc, argv);
  vorlane::ui::FinestraVorlane finestra;
  std::error_code ec;
  std::filesystem::path cartella = std::filesystem::current_path(ec);
  if (ec || !finestra.avvia(cartella)) return 1;
  finestra.show();
  QApplication::processEvents();
  return applicazione.exec();
}
