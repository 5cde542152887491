#pragma once
// The working folder of a program installed on the system. Started from the desktop's menu,
// the window works in the user's own folder, ~/Vorlane (or the folder VORLANE_LAVORO names),
// which is given the files shipped with the program the first time it lacks them.

#include <filesystem>

namespace vorlane {

// The user's working folder from the values of VORLANE_LAVORO and HOME (either may be null or
// empty): VORLANE_LAVORO when set, otherwise HOME/Vorlane, otherwise the home folder the
// password database gives.
std::filesystem::path cartellaUtente(const char* lavoro, const char* home);
// The same from this process's environment.
std::filesystem::path cartellaUtente();

// The shipped files of a program whose executable is `eseguibile`: share/vorlane beside the
// bin/ folder it lies in, so that an installation works from any prefix.
std::filesystem::path cartellaFileForniti(const std::filesystem::path& eseguibile);
// This process's own executable.
std::filesystem::path eseguibileCorrente();

// Whether `cartella` holds the messages file without which the program cannot start.
bool cartellaPronta(const std::filesystem::path& cartella);

// Creates `cartella` when missing and copies into it every file under `forniti` (messages,
// tables, manual, esporta/ examples) that it lacks. A file the user already has, edited or
// not, is never replaced; a copy appears whole or not at all. Throws ErroreVorlane naming the
// folder or file that could not be made.
void preparaCartellaUtente(const std::filesystem::path& cartella,
                           const std::filesystem::path& forniti);

// The folder the window starts in: `corrente` when it holds the program's files and the user's
// own folder was not asked for; otherwise the user's folder, prepared as above from the files
// shipped beside this executable.
std::filesystem::path scegliCartellaLavoro(bool cartellaUtenteRichiesta,
                                           const std::filesystem::path& corrente);

}  // namespace vorlane
