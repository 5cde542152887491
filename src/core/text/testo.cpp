#include "text/testo.h"

#include <langinfo.h>
#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ostream>

namespace vorlane {
namespace {

// Unicode code points of the bytes 0x80..0x9F; the five bytes Windows-1252 leaves undefined
// map to the C1 control of the same value, as the platform's own conversion does.
constexpr char32_t kAlti[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t daByte(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kAlti[b - 0x80];
  return b;
}

char versoByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kAlti[i] == cp) return static_cast<char>(0x80 + i);
  return '?';
}

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when it is not valid UTF-8.
std::size_t decodificaUtf8(std::string_view s, std::size_t i, char32_t& cp) {
  auto b = static_cast<unsigned char>(s[i]);
  std::size_t n;
  char32_t minimo;
  if (b < 0x80) {
    cp = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    n = 2, cp = b & 0x1F, minimo = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    n = 3, cp = b & 0x0F, minimo = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    n = 4, cp = b & 0x07, minimo = 0x10000;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

void aggiungiUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool cifra(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::size_t primoNonAscii(std::string_view testo) {
  // Files are ASCII almost throughout: 32 bytes are cleared at a time, and only the block that
  // holds a high bit is looked at byte by byte.
  constexpr std::uint64_t kBitAlti = 0x8080808080808080ull;
  const char* d = testo.data();
  std::size_t i = 0, n = testo.size();
  for (; i + 32 <= n; i += 32) {
    std::uint64_t w[4];
    std::memcpy(w, d + i, sizeof w);
    if ((w[0] | w[1] | w[2] | w[3]) & kBitAlti) break;
  }
  for (; i < n; ++i)
    if (static_cast<unsigned char>(d[i]) >= 0x80) return i;
  return n;
}

bool soloAscii(std::string_view testo) {
  return primoNonAscii(testo) == testo.size();
}

std::string daUtf8(std::string_view testo) {
  if (soloAscii(testo)) return std::string(testo);
  std::string out;
  out.reserve(testo.size());
  char32_t cp;
  for (std::size_t i = 0; i < testo.size();) {
    std::size_t n = decodificaUtf8(testo, i, cp);
    if (n == 0) return std::string(testo);
    out += versoByte(cp);
    i += n;
  }
  return out;
}

void aggiungiCampoUtf8(std::string& out, std::string_view cp1252) {
  auto fuoriCampo = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
  if (soloAscii(cp1252) && std::none_of(cp1252.begin(), cp1252.end(), fuoriCampo))
    return void(out.append(cp1252));
  for (char c : cp1252) {
    char32_t cp = daByte(static_cast<unsigned char>(c));
    if (cp == '\t' || cp == '\n' || cp == '\r')
      cp += 0x2400;
    else if (cp < 0x80)
      cp = codiceVisibile(cp);
    aggiungiUtf8(out, cp);
  }
}

std::string versoUtf8(std::string_view cp1252) {
  if (soloAscii(cp1252)) return std::string(cp1252);
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 2);
  for (char c : cp1252) aggiungiUtf8(out, daByte(static_cast<unsigned char>(c)));
  return out;
}

char32_t codiceVisibile(char32_t cp) {
  if (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') return 0x2400 + cp;
  if (cp == 0x7F) return 0x2421;
  if (cp >= 0x80 && cp < 0xA0) return 0xFFFD;
  return cp;
}

namespace {
// The bytes a value within a line cannot hold: line breaks, and what shows as a picture.
const std::array<bool, 256>& fuoriRiga() {
  static const std::array<bool, 256> tabella = [] {
    std::array<bool, 256> t{};
    for (std::size_t b = 0; b < t.size(); ++b) {
      char32_t cp = daByte(static_cast<unsigned char>(b));
      t[b] = cp == '\r' || cp == '\n' || codiceVisibile(cp) != cp;
    }
    return t;
  }();
  return tabella;
}
}  // namespace

std::string_view inUnaRiga(std::string_view cp1252, std::string& spazio) {
  const std::array<bool, 256>& fuori = fuoriRiga();
  auto daSostituire = [&](char c) { return fuori[static_cast<unsigned char>(c)]; };
  if (std::none_of(cp1252.begin(), cp1252.end(), daSostituire)) return cp1252;
  spazio.assign(cp1252);
  std::replace_if(spazio.begin(), spazio.end(), daSostituire, '?');
  return spazio;
}

std::string inUnaRiga(std::string_view cp1252) {
  std::string spazio;
  return std::string(inUnaRiga(cp1252, spazio));
}

namespace {
// versoUtf8 with control characters made visible; LF and TAB are kept.
std::string versoTerminale(std::string_view cp1252) {
  auto semplice = [](char c) { return (c >= 0x20 && c < 0x7F) || c == '\n' || c == '\t'; };
  if (std::all_of(cp1252.begin(), cp1252.end(), semplice)) return std::string(cp1252);
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 2);
  for (char c : cp1252) {
    if (semplice(c))
      out += c;
    else
      aggiungiUtf8(out, codiceVisibile(daByte(static_cast<unsigned char>(c))));
  }
  return out;
}
}  // namespace

void scriviPerTerminale(std::ostream& os, std::string_view testo) {
  constexpr std::size_t kPezzo = 1 << 16;
  std::string righe;
  for (std::size_t inizio = 0; inizio < testo.size();) {
    std::size_t fine = std::min(inizio + kPezzo, testo.size());
    righe.clear();
    for (std::size_t i = inizio; i < fine;) {
      std::size_t cr = std::min(testo.find('\r', i), fine);
      righe.append(testo, i, cr - i);
      if (cr == fine) break;
      // CR LF becomes the LF that follows, in this piece or the next; a lone CR becomes LF.
      if (cr + 1 == testo.size() || testo[cr + 1] != '\n') righe += '\n';
      i = cr + 1;
    }
    os << versoTerminale(righe);
    inizio = fine;
  }
}

std::string testoPercorso(const std::filesystem::path& percorso) {
  return daUtf8(percorso.native());
}

std::filesystem::path percorsoDaTesto(std::string_view cp1252) {
  return std::filesystem::path(versoUtf8(cp1252));
}

std::string testoNumero(double valore) {
  if (valore == 0) return "0";
  // Whole numbers below 10^15 print the same without going through printf, which the per-sample
  // log lines of a large run would otherwise spend most of their time in.
  // The test for a whole number is a round trip through an integer: without SSE4.1, which the
  // build does not assume, std::trunc takes a dozen instructions.
  if (std::fabs(valore) < 1e15) {
    auto intero = static_cast<long long>(valore);
    if (static_cast<double>(intero) == valore) {
      char cifre[24];
      return std::string(cifre, std::to_chars(cifre, cifre + sizeof cifre, intero).ptr);
    }
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", valore);
  return buf;
}

// Every sample of a multiple run writes two of these; to_chars gives printf's digits in a
// fraction of its time, and only the separator comes from the locale.
std::string decimaliConPunto(double valore, int decimali) {
  char buf[64];
  auto [fine, errore] =
      std::to_chars(buf, buf + sizeof buf, valore, std::chars_format::fixed, decimali);
  if (errore == std::errc()) return std::string(buf, fine);
  // Longer than the buffer: room for the largest double's digits and the decimals asked for.
  std::string lungo(320 + static_cast<std::size_t>(std::max(decimali, 0)), '\0');
  auto esito = std::to_chars(lungo.data(), lungo.data() + lungo.size(), valore,
                             std::chars_format::fixed, decimali);
  lungo.resize(static_cast<std::size_t>(esito.ptr - lungo.data()));
  return lungo;
}

std::string testoDecimali(double valore, int decimali) {
  std::string testo = decimaliConPunto(valore, decimali);
  const std::string_view separatore = nl_langinfo(RADIXCHAR);
  if (separatore != ".")
    if (std::size_t punto = testo.find('.'); punto != std::string::npos)
      testo.replace(punto, 1, separatore);
  return testo;
}

std::optional<double> numeroRigoroso(std::string_view testo) {
  std::string_view t = senzaSpazi(testo);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (t.empty()) return std::nullopt;
  std::string s(t);
  for (char& c : s)
    if (c == ',') c = '.';
  if (s.find_first_not_of("0123456789.-eE+") != std::string::npos) return std::nullopt;
  double v = 0;
  auto [fine, errore] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (errore != std::errc() || fine != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<double> interoRigoroso(std::string_view testo) {
  std::optional<double> v = numeroRigoroso(testo);
  if (v && *v != std::floor(*v)) return std::nullopt;
  return v;
}

double numeroIniziale(std::string_view testo) {
  std::size_t i = 0;
  while (i < testo.size() && (testo[i] == ' ' || testo[i] == '\t')) ++i;
  std::size_t inizio = i;
  if (i < testo.size() && (testo[i] == '-' || testo[i] == '+')) ++i;
  std::size_t cifre = i;
  while (i < testo.size() && cifra(testo[i])) ++i;
  if (i < testo.size() && testo[i] == '.') {
    ++i;
    while (i < testo.size() && cifra(testo[i])) ++i;
  }
  if (i == cifre || (i == cifre + 1 && testo[cifre] == '.')) return 0;
  if (i < testo.size() && (testo[i] == 'e' || testo[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < testo.size() && (testo[j] == '-' || testo[j] == '+')) ++j;
    if (j < testo.size() && cifra(testo[j])) {
      while (j < testo.size() && cifra(testo[j])) ++j;
      i = j;
    }
  }
  std::string_view numero = testo.substr(inizio, i - inizio);
  if (!numero.empty() && numero.front() == '+') numero.remove_prefix(1);
  double v = 0;
  std::from_chars(numero.data(), numero.data() + numero.size(), v);
  return v;
}

double arrotondaPari(double valore) {
  return std::nearbyint(valore);
}

std::vector<std::string> dividi(std::string_view testo, char separatore) {
  std::vector<std::string> parti;
  std::size_t inizio = 0;
  for (;;) {
    std::size_t fine = testo.find(separatore, inizio);
    if (fine == std::string_view::npos) {
      parti.emplace_back(testo.substr(inizio));
      return parti;
    }
    parti.emplace_back(testo.substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
}

std::string_view senzaSpazi(std::string_view testo) {
  std::size_t a = testo.find_first_not_of(" \t");
  if (a == std::string_view::npos) return {};
  std::size_t b = testo.find_last_not_of(" \t");
  return testo.substr(a, b - a + 1);
}

bool ugualiSenzaMaiuscole(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (minuscola(a[i]) != minuscola(b[i])) return false;
  return true;
}

}  // namespace vorlane
