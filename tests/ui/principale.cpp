// Runs every window test class; the exit status counts the failures.

#include <QApplication>

#include "banco.h"

int main(int argc, char** argv) {
  QApplication applicazione(argc, argv);
  using namespace vorlane::ui::test;
  int fallimenti = 0;
  for (auto esegui : {eseguiTestAvvio, eseguiTestComandi, eseguiTestCaselle, eseguiTestMessaggi})
    fallimenti += esegui(argc, argv);
  return fallimenti;
}
