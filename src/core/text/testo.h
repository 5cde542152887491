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
// A control character (C0 but TAB, LF and CR; DEL; C1) as a visible one: its picture in
// Unicode's Control Pictures (U+2400 + code, U+2421 for DEL), U+FFFD for C1. Any other
// character is itself.
char32_t codiceVisibile(char32_t cp);
// `cp1252` as a value within one line of a file the program writes (the log, the settings): a
// line break there would start a line of its own, and a control character drive the terminal
// the file is shown in. Both are the characters codiceVisibile shows as pictures, which
// Windows-1252 cannot hold: each becomes "?", as any character it cannot hold does. The first
// form gives `cp1252` itself when it holds none, else the value written into `spazio`.
std::string_view inUnaRiga(std::string_view cp1252, std::string& spazio);
std::string inUnaRiga(std::string_view cp1252);
// Appends `cp1252` in UTF-8 as one field of a TAB-separated table: TAB, the line breaks and
// every control character below 0x80 become their pictures, so the field cannot end early,
// break its row or drive a terminal.
void aggiungiCampoUtf8(std::string& out, std::string_view cp1252);
// Writes box text (Windows-1252, lines separated by CR LF or CR) as a terminal wants it: UTF-8,
// lines separated by LF, control characters made visible (a name holding an escape sequence
// cannot drive the terminal). A text of hundreds of thousands of lines goes out 64 KB at a time.
void scriviPerTerminale(std::ostream& os, std::string_view testo);

// A path as it is written into a log, a report or a message.
std::string testoPercorso(const std::filesystem::path& percorso);
// A Windows-1252 text naming a file, back to a native path.
std::filesystem::path percorsoDaTesto(std::string_view cp1252);

// Shortest general form: integers without a decimal part, otherwise up to 15 significant
// digits with the decimal separator of the process's LC_NUMERIC.
std::string testoNumero(double valore);
// Fixed form with `decimali` digits after the same decimal separator: 0,93.
std::string testoDecimali(double valore, int decimali);
// The same with a decimal point whatever the locale, for files other programs read: 0.93.
std::string decimaliConPunto(double valore, int decimali);

// A text that is a number as a whole (blanks around it allowed; "." or "," as decimal mark).
std::optional<double> numeroRigoroso(std::string_view testo);
// The same for a whole number, as a position is: "16.001" (sixteen thousand and one, written with
// an Italian thousands mark) is not 16.
std::optional<double> interoRigoroso(std::string_view testo);
// The leading number of a text; 0 when it starts with none.
double numeroIniziale(std::string_view testo);

// Banker's rounding, as a whole-number conversion does.
double arrotondaPari(double valore);

std::vector<std::string> dividi(std::string_view testo, char separatore);
std::string_view senzaSpazi(std::string_view testo);
// Windows-1252 letter case, one table load each: the sample loops call them for every position.
namespace dettaglio {
struct TabelleMaiuscole {
  unsigned char minuscole[256], maiuscole[256];
};
inline constexpr TabelleMaiuscole kMaiuscole = [] {
  TabelleMaiuscole t{};
  for (int b = 0; b < 256; ++b) t.minuscole[b] = t.maiuscole[b] = static_cast<unsigned char>(b);
  auto coppia = [&](int grande, int piccola) {
    t.minuscole[grande] = static_cast<unsigned char>(piccola);
    t.maiuscole[piccola] = static_cast<unsigned char>(grande);
  };
  for (int b = 'A'; b <= 'Z'; ++b) coppia(b, b + 32);
  for (int b = 0xC0; b <= 0xDE; ++b)
    if (b != 0xD7) coppia(b, b + 32);
  // The letters Windows-1252 keeps apart from the Latin-1 range: S, OE and Z with caron or
  // ligature, and Y with diaeresis.
  coppia(0x8A, 0x9A);
  coppia(0x8C, 0x9C);
  coppia(0x8E, 0x9E);
  coppia(0x9F, 0xFF);
  return t;
}();
}  // namespace dettaglio
inline char minuscola(char c) {
  return static_cast<char>(dettaglio::kMaiuscole.minuscole[static_cast<unsigned char>(c)]);
}
inline char maiuscola(char c) {
  return static_cast<char>(dettaglio::kMaiuscole.maiuscole[static_cast<unsigned char>(c)]);
}
bool ugualiSenzaMaiuscole(std::string_view a, std::string_view b);

}  // namespace vorlane
