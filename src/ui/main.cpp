// Vorlane's window. It works in the folder it is started from when that holds the program's
// files (messages, tables, manual); otherwise, or with --lavoro as the desktop's menu starts
// it, in the user's own folder ~/Vorlane. Results go into the folder's sub-folders.

#include <QApplication>
#include <cstdio>
#include <optional>
#include <string_view>

#include "avvio_qt.h"
#include "finestra.h"
#include "icone.h"
#include "versione.h"

namespace {

constexpr const char* kAiuto =
    R"(uso: vorlane [--lavoro] [OPZIONE DI QT]...

Apre la finestra di Vorlane: controllo delle mutazioni, confronto con gli aplotipi umani e
conversione dei campioni della regione di controllo del DNA mitocondriale umano.

Opzioni:
      --lavoro   lavora nella cartella dell'utente anche quando quella corrente
                 contiene messaggi.txt; il menu del desktop avvia così il programma
  -h, --help     mostra questo aiuto ed esce
      --version  mostra la versione ed esce
Le altre opzioni sono quelle di ogni programma Qt (-platform, -style, ...).

Cartella di lavoro: quella corrente quando contiene messaggi.txt, altrimenti quella
dell'utente, $VORLANE_LAVORO o ~/Vorlane. Questa è creata se manca e riceve i file
forniti con il programma (share/vorlane) che le mancano; un file già presente, modificato
o no, non viene mai sostituito. I risultati vanno nelle sue cartelle html/, dati/,
esporta/ e log/.

Le stesse operazioni senza finestra: vorlane-batch --help.

Stato di uscita:
  0  finestra chiusa
  1  avvio non riuscito: un messaggio ha detto perché
)";

// --help and --version answer on the terminal, before Qt looks for a display.
std::optional<int> rispostaSenzaFinestra(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--") break;
    if (a != "--help" && a != "-h" && a != "--version") continue;
    const std::string testo = a == "--version" ? vorlane::testoVersione("vorlane") : kAiuto;
    bool scritto = std::fputs(testo.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    return scritto ? 0 : 1;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::optional<int> esito = rispostaSenzaFinestra(argc, argv)) return *esito;
  QApplication applicazione(argc, argv);
  QGuiApplication::setDesktopFileName(QString::fromLatin1(vorlane::kIdApplicazione));
  QApplication::setWindowIcon(vorlane::ui::iconaProgramma());
  vorlane::ui::installaTraduzioneQt(applicazione);
  vorlane::ui::DialoghiQt dialoghi;
  auto cartella = vorlane::ui::entraNellaCartellaLavoro(QApplication::arguments(), dialoghi);
  vorlane::ui::FinestraVorlane finestra;
  if (!cartella || !finestra.avvia(*cartella)) return 1;
  finestra.show();
  QApplication::processEvents();
  return applicazione.exec();
}
