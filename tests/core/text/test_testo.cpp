#include <gtest/gtest.h>

#include <sstream>

#include "text/testo.h"

namespace vorlane {
namespace {

TEST(Testo, Windows1252AndUtf8RoundTrip) {
  std::string tutti;
  for (int b = 0x20; b < 0x100; ++b) tutti += static_cast<char>(b);
  EXPECT_EQ(daUtf8(versoUtf8(tutti)), tutti);
  EXPECT_EQ(versoUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(daUtf8("caf\xC3\xA9"), "caf\xE9");
  EXPECT_EQ(daUtf8("caf\xE9"), "caf\xE9");  // invalid UTF-8 stays as it is
}

TEST(Testo, NumberTextIsShortestGeneralForm) {
  EXPECT_EQ(testoNumero(0), "0");
  EXPECT_EQ(testoNumero(16569), "16569");
  EXPECT_EQ(testoNumero(-3), "-3");
  EXPECT_EQ(testoNumero(2.5), "2.5");
  EXPECT_EQ(testoNumero(100.0 * 2 / 3), "66.6666666666667");
  EXPECT_EQ(testoNumero(1e20), "1e+20");
}

TEST(Testo, StrictNumberAcceptsOnlyWholeNumbers) {
  EXPECT_EQ(numeroRigoroso(" 16001 "), 16001);
  EXPECT_EQ(numeroRigoroso("-5"), -5);
  EXPECT_EQ(numeroRigoroso("+7"), 7);
  EXPECT_EQ(numeroRigoroso("2,5"), 2.5);
  EXPECT_EQ(numeroRigoroso("1e3"), 1000);
  for (const char* no : {"", " ", "abc", "12a", "1-2", "-", ".", "1 2", "0x10"})
    EXPECT_FALSE(numeroRigoroso(no).has_value()) << no;
}

TEST(Testo, LeadingNumberIsZeroWithoutDigits) {
  EXPECT_EQ(numeroIniziale("16400"), 16400);
  EXPECT_EQ(numeroIniziale("  12abc"), 12);
  EXPECT_EQ(numeroIniziale("-4.5x"), -4.5);
  EXPECT_EQ(numeroIniziale("abc"), 0);
  EXPECT_EQ(numeroIniziale(""), 0);
  EXPECT_EQ(numeroIniziale("3e2"), 300);
  EXPECT_EQ(numeroIniziale("3e"), 3);
}

TEST(Testo, SplitKeepsEmptyPiecesAndCaseFolding) {
  EXPECT_EQ(dividi("a,,b,", ','), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(dividi("", ','), std::vector<std::string>{""});
  EXPECT_TRUE(ugualiSenzaMaiuscole("InizioSequenza", "iniziosequenza"));
  EXPECT_EQ(minuscola('\xC8'), '\xE8');
  EXPECT_EQ(maiuscola('a'), 'A');
}

TEST(Testo, CaseOfTheLettersOutsideTheLatin1Range) {
  // S, OE and Z with caron or ligature and Y with diaeresis: Windows-1252 puts them in
  // 0x8A-0x9F and 0xFF, away from the other letters.
  const std::pair<char, char> coppie[] = {
      {'\x8A', '\x9A'}, {'\x8C', '\x9C'}, {'\x8E', '\x9E'}, {'\x9F', '\xFF'}};
  for (auto [grande, piccola] : coppie) {
    EXPECT_EQ(maiuscola(piccola), grande) << int(static_cast<unsigned char>(piccola));
    EXPECT_EQ(minuscola(grande), piccola) << int(static_cast<unsigned char>(grande));
    EXPECT_EQ(maiuscola(grande), grande);
    EXPECT_EQ(minuscola(piccola), piccola);
  }
  // Their neighbours are not letters and stay as they are; so do the multiplication and
  // division signs between the Latin-1 letters.
  for (char c : {'\x8B', '\x9B', '\x9D', '\xD7', '\xF7', '\x80'}) {
    EXPECT_EQ(maiuscola(c), c);
    EXPECT_EQ(minuscola(c), c);
  }
  EXPECT_TRUE(ugualiSenzaMaiuscole("\x8Aibenik", "\x9Aibenik"));
}

TEST(Testo, FirstNonAsciiByteWhereverItFallsInABlock) {
  // The search clears whole blocks at a time: a high byte at any offset, near a block's edge or
  // in the tail after the last whole block, must still be found.
  for (std::size_t lunghezza : {0u, 1u, 31u, 32u, 33u, 64u, 100u}) {
    std::string testo(lunghezza, 'a');
    EXPECT_EQ(primoNonAscii(testo), lunghezza);
    EXPECT_TRUE(soloAscii(testo));
    for (std::size_t i = 0; i < lunghezza; ++i) {
      std::string alto = testo;
      alto[i] = '\x80';
      if (i + 1 < lunghezza) alto[lunghezza - 1] = '\xFF';
      EXPECT_EQ(primoNonAscii(alto), i) << lunghezza;
      EXPECT_FALSE(soloAscii(alto));
    }
  }
}

TEST(Testo, TerminalTextWhereverALineEndFallsAgainstThePieces) {
  // Text goes out 64 KB at a time: a CR LF, a lone CR and an accented letter on each side of a
  // piece's end must come out as when written whole.
  for (std::size_t prima : {65533u, 65534u, 65535u, 65536u, 131071u}) {
    std::string testo(prima, 'a');
    testo += "\r\n\xE0\rb\r\n";
    std::ostringstream os;
    scriviPerTerminale(os, testo);
    EXPECT_EQ(os.str(), std::string(prima, 'a') + "\n\xC3\xA0\nb\n") << prima;
  }
  // Control characters are shown, not obeyed: an escape sequence in a sample name cannot clear
  // the screen or retitle the window.
  const char kNome[] = "S\x1B[2J\x1B]0;x\x07\0\x7F\x81\tfine\r\n";
  std::ostringstream controlli;
  scriviPerTerminale(controlli, std::string(kNome, sizeof kNome - 1));
  EXPECT_EQ(controlli.str(),
            "S\xE2\x90\x9B[2J\xE2\x90\x9B]0;x\xE2\x90\x87\xE2\x90\x80\xE2\x90\xA1"
            "\xEF\xBF\xBD\tfine\n");
  std::ostringstream vuoto;
  scriviPerTerminale(vuoto, "");
  scriviPerTerminale(vuoto, "\r");
  EXPECT_EQ(vuoto.str(), "\n");
}

TEST(Testo, AValueInOneLineHoldsNoLineBreakNorControlCharacter) {
  // A file name from an archive, or a pasted list, that would forge lines of the log.
  const char kValore[] = "a.FASTA\r\nAplotipo : FALSO\n\r\x1B[2J\0\x7F\x81\tfine \x80\xE8";
  std::string spazio;
  std::string_view valore(kValore, sizeof kValore - 1);
  EXPECT_EQ(inUnaRiga(valore, spazio), "a.FASTA??Aplotipo : FALSO???[2J???\tfine \x80\xE8");
  EXPECT_EQ(inUnaRiga(valore), inUnaRiga(valore, spazio));
  // A value without them is itself, not a copy.
  const std::string pulito = "16069,16126 campione \xE8";
  EXPECT_EQ(inUnaRiga(pulito, spazio).data(), pulito.data());
}

}  // namespace
}  // namespace vorlane
