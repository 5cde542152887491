#pragma once
// Settings: the eight values of Vorlane.ini, and the rules of the three position boxes.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/intervallo.h"
#include "base/porta.h"
#include "stato/stato.h"

namespace vorlane {

inline constexpr const char* kFileParametri = "Vorlane.ini";

// One value of an INI file: section and key matched without regard to case, the value trimmed
// and cut to 127 characters; a missing file, section or key gives `predefinito`.
inline constexpr std::size_t kLunghezzaValore = 127;
std::string LeggiIni(const std::filesystem::path& file, const std::string& sezione,
                     const std::string& chiave, const std::string& predefinito);

// Several values of one INI file, each as LeggiIni gives it, from one reading of the file.
struct VoceIni {
  std::string_view sezione, chiave, predefinito;
  std::size_t lunghezza = kLunghezzaValore;  // the longest value taken
};
std::vector<std::string> LeggiIni(const std::filesystem::path& file,
                                  const std::vector<VoceIni>& voci);

// The analysis interval given as a start and an end text: the settings InizioSequenza and
// FineSequenza, or the two boxes that show them. Each must be a whole number within 1-16569;
// `errore` says what is wrong otherwise (empty when nothing is), and the interval is then empty.
// An end below the start runs across the origin where `attraversoOrigine` allows it, and is an
// error elsewhere.
Intervallo leggiIntervallo(std::string_view inizio, std::string_view fine, bool attraversoOrigine,
                           std::string& errore);
// The same, an interval that is not valid being an error that says why.
Intervallo intervalloImpostato(std::string_view inizio, std::string_view fine,
                               bool attraversoOrigine = false);

// The boxes an operation reads, read once when its file is double-clicked: no operation looks
// at the window while it runs. Which interval an operation analyses is said where its rules are
// made: the comparisons and the single loader take the position boxes (regoleConfronto,
// CaricaSequenzaDati), the check and the conversions the settings the boxes' rules keep
// (InizioSequenza, FineSequenza); the pages and log blocks show the boxes' text.
struct Caselle {
  std::string da, a;      // Text_PosizioneMutazioneDa, Text_PosizioneMutazioneA
  std::string posizioni;  // Text_posMutazione
};
Caselle leggiCaselle(const Porta& porta);

// NumeroMutazioniDa and NumeroMutazioniA, the counts of mutations between which a comparison
// lists a sample's mutations; a value that is not a number is an error that names it.
struct LimitiMutazioni {
  double da = 0, a = 0;
};
LimitiMutazioni limitiMutazioni(const Impostazioni& impostazioni);

void SettaValoriBase(StatoVorlane& stato);
// Reads the eight settings; false (after telling the user) when no allowed character is defined.
bool InizializzaValori(StatoVorlane& stato, Porta& porta);
void ScriviFileParametri(const StatoVorlane& stato);
std::filesystem::path percorsoParametri(const StatoVorlane& stato);

// Lost-focus rules of the start and end boxes. Text that is not a whole number is refused with a
// message and the box gets its last valid value back; the result says whether it was accepted.
bool Text_PosizioneMutazioneDa_LostFocus(StatoVorlane& stato, Porta& porta);
bool Text_PosizioneMutazioneA_LostFocus(StatoVorlane& stato, Porta& porta);
// Every change of the position list box goes into posMutazione unchecked, and has the next
// mutation check read the list again.
void Text_posMutazione_Change(StatoVorlane& stato, Porta& porta);

}  // namespace vorlane
