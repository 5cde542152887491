#include "avvio_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/cartella_utente.h"
#include "base/errore.h"
#include "dialoghi.h"
#include "testo_qt.h"

namespace vorlane::ui {

bool installaTraduzioneQt(QCoreApplication& applicazione) {
  auto* traduzione = new QTranslator(&applicazione);
  if (!traduzione->load(QStringLiteral("qtbase_it"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete traduzione;
    return false;
  }
  return QCoreApplication::installTranslator(traduzione);
}

std::optional<std::filesystem::path> entraNellaCartellaLavoro(const QStringList& argomenti,
                                                              Dialoghi& dialoghi) {
  try {
    std::filesystem::path cartella = scegliCartellaLavoro(
        argomenti.contains(QLatin1String(kOpzioneCartellaUtente)), std::filesystem::current_path());
    std::filesystem::current_path(cartella);
    return cartella;
  } catch (const std::exception& e) {
    dialoghi.messaggio(nullptr, versoQt(e.what()), QStringLiteral("ERRORE"), Icona::critica);
    return std::nullopt;
  }
}

}  // namespace vorlane::ui
