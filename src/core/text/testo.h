#pragma once
// Text inside the core is single-byte Windows-1252: one byte is one character is one sequence
// position. These helpers are the only places where other encodings and numbers meet it.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

// Index of the first byte at or above 0x80; the size when there is none.
std::size_t primoNonAscii(std::string_view testo);
// True when every byte is below 0x80.
bool soloAscii(std::string_view testo);

// A text that is valid UTF-8 and holds non-ASCII characters is turned into Windows-1252
// ("?" for a character Windows-1252 cannot hold); any other text is taken as Windows-1252 already.
std::string daUtf8(std::string_view testo);
// Windows-1252 to UTF-8, for display and for file names.
std::string versoUtf8(std::string_view cp1252);
// Writes box text (Windows-1252, lines separated by CR LF or CR) as a terminal wants it: UTF-8,
// lines separated by LF. A text of hundreds of thousands of lines goes out 64 KB at a time.
void scriviPerTerminale(std::ostream& os, std::string_view testo);

// A path as it is written into a log, a report or a message.
std::string testoPercorso(const std::filesystem::path& percorso);
// A Windows-1252 text naming a file, back to a native path.
std::filesystem::path percorsoDaTesto(std::string_view cp1252);

// Shortest general form: integers without a decimal part, otherwise up to 15 significant
// digits with the decimal separator of the process's LC_NUMERIC.
std::string testoNumero(double valore);

// A text that is a number as a whole (blanks around it allowed; "." or "," as decimal mark).
std::optional<double> numeroRigoroso(std::string_view testo);
// The leading number of a text; 0 when it starts with none.
double numeroIniziale(std::string_view testo);

// Banker's rounding, as a whole-number conversion does.
double arrotondaPari(double valore);

std::vector<std::string> dividi(std::string_view testo, char separatore);
std::string_view senzaSpazi(std::string_view testo);
// Windows-1252 letter case. Inline: the sample loops call them for every position.
inline char minuscola(char c) {
  auto b = static_cast<unsigned char>(c);
  if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
    return static_cast<char>(b + 32);
  return c;
}
inline char maiuscola(char c) {
  auto b = static_cast<unsigned char>(c);
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
    return static_cast<char>(b - 32);
  return c;
}
bool ugualiSenzaMaiuscole(std::string_view a, std::string_view b);

}  // namespace vorlane
