#pragma once
// What the window's program does before the window: Qt's own texts in Italian, and the folder
// to work in.

#include <QStringList>
#include <filesystem>
#include <optional>

class QCoreApplication;

namespace vorlane::ui {

class Dialoghi;

// Option of the desktop entry: work in the user's own folder, prepared on first start.
inline constexpr const char* kOpzioneCartellaUtente = "--lavoro";

// Qt's buttons, context menus and file dialogs speak Italian whatever the user's locale, as the
// rest of the window does. False when the catalogue could not be loaded (the texts stay
// English).
bool installaTraduzioneQt(QCoreApplication& applicazione);

// The working folder for `argomenti` (the program's arguments), made current. When it cannot be
// prepared the user is told why through `dialoghi` and nothing is returned.
std::optional<std::filesystem::path> entraNellaCartellaLavoro(const QStringList& argomenti,
                                                              Dialoghi& dialoghi);

}  // namespace vorlane::ui
