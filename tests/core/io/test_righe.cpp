#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/errore.h"
#include "io/righe.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane {
namespace {

std::vector<std::string> tutteLeRighe(const std::filesystem::path& p) {
  LettoreRighe r(p);
  std::vector<std::string> righe;
  std::string_view v;
  while (r.leggi(v)) righe.emplace_back(v);
  return righe;
}

// The lines a plain byte-by-byte split gives, each transcoded on its own: what the reader must
// hand out whatever its buffer does.
std::vector<std::string> righeAttese(std::string_view testo) {
  std::vector<std::string> righe;
  std::string corrente;
  bool aperta = false;
  for (std::size_t i = 0; i < testo.size(); ++i) {
    char c = testo[i];
    if (c != '\r' && c != '\n') {
      corrente += c;
      aperta = true;
      continue;
    }
    righe.push_back(daUtf8(corrente));
    corrente.clear();
    aperta = false;
    if (c == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
  }
  if (aperta) righe.push_back(daUtf8(corrente));
  return righe;
}

constexpr std::size_t kBuffer = LettoreRighe::kBuffer;

TEST(LettoreRighe, EndsLinesAtCrLfCrOrLfAndKeepsEmptyLines) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "a.txt", "uno\r\ndue\rtre\nquattro\r\n\r\ncinque");
  EXPECT_EQ(tutteLeRighe(t / "a.txt"),
            (std::vector<std::string>{"uno", "due", "tre", "quattro", "", "cinque"}));
  test::scriviFile(t / "b.txt", "x\r\n");
  EXPECT_EQ(tutteLeRighe(t / "b.txt"), std::vector<std::string>{"x"});
  test::scriviFile(t / "c.txt", "");
  EXPECT_TRUE(tutteLeRighe(t / "c.txt").empty());
}

TEST(LettoreRighe, LinesLongerThanTheBufferAndCrLfSplitAcrossReads) {
  test::CartellaTemporanea t;
  // A line end that straddles the buffer boundary must not yield an extra empty line.
  for (std::size_t lunghezza : {kBuffer - 1, kBuffer, kBuffer + 1, 3 * kBuffer}) {
    std::string lunga(lunghezza, 'a');
    test::scriviFile(t / "l.txt", lunga + "\r\nfine\r\n");
    auto righe = tutteLeRighe(t / "l.txt");
    ASSERT_EQ(righe.size(), 2u) << lunghezza;
    EXPECT_EQ(righe[0], lunga);
    EXPECT_EQ(righe[1], "fine");
  }
}

TEST(LettoreRighe, LineEndsAndNonAsciiBytesAtTheBufferBoundary) {
  test::CartellaTemporanea t;
  const std::string e = "\xC3\xA9";  // UTF-8 e acute
  // Each case puts its interesting bytes around offset kBuffer, where the first read ends.
  const std::vector<std::pair<std::string, std::string>> casi = {
      {"CR LF split across reads", "\r\nx\r\n"},
      {"lone CR as the last byte of a read", "\rx\r"},
      {"CR CR across reads", "\r\r\n"},
      {"LF as the first byte of a read", "a\nb"},
      {"UTF-8 character split across reads", e + "b\n"},
      {"non-ASCII line right after the boundary", "\n" + e + "\nz\n"},
  };
  for (const auto& [nome, coda] : casi)
    for (std::size_t spostamento = 0; spostamento < 3; ++spostamento) {
      std::string testo = "riga\r\n";
      testo += std::string(kBuffer - testo.size() - spostamento, 'a');
      testo += coda;
      test::scriviFile(t / "b.txt", testo);
      EXPECT_EQ(tutteLeRighe(t / "b.txt"), righeAttese(testo)) << nome << " " << spostamento;
    }
}

TEST(LettoreRighe, MixedLineEndsAndEncodingsOverManyReadsMatchAPlainSplit) {
  test::CartellaTemporanea t;
  std::mt19937 caso(7);
  const std::vector<std::string> fini = {"\r\n", "\r", "\n"};
  const std::vector<std::string> pezzi = {"ACGT", "N?", "\xC3\xA9", "\xE0", "\t", "\xE2\x82\xAC"};
  std::string testo;
  while (testo.size() < 3 * kBuffer) {
    // Mostly short lines, now and then one longer than a whole read.
    std::size_t quanti = caso() % 50 == 0 ? kBuffer / 3 : caso() % 40;
    for (std::size_t i = 0; i < quanti; ++i) testo += pezzi[caso() % pezzi.size()];
    testo += fini[caso() % fini.size()];
  }
  testo += "senza fine";
  test::scriviFile(t / "m.txt", testo);
  EXPECT_EQ(tutteLeRighe(t / "m.txt"), righeAttese(testo));

  // A file of lone CRs only: every line must come out, however many share a read.
  std::string soloCr;
  for (int i = 0; soloCr.size() < 2 * kBuffer; ++i) soloCr += std::to_string(i) + "\r";
  test::scriviFile(t / "cr.txt", soloCr);
  EXPECT_EQ(tutteLeRighe(t / "cr.txt"), righeAttese(soloCr));
}

TEST(LettoreRighe, LineEndsAndNonAsciiBytesAtEveryOffsetOfASearchStep) {
  // A line end is searched 32 bytes at a time: a UTF-8 character just before or just after the
  // end, in the same step or the next, must be counted in its own line only; a file may end
  // anywhere in a step, with or without its last line end.
  test::CartellaTemporanea t;
  const std::string e = "\xC3\xA9";
  for (std::size_t lunghezza = 0; lunghezza < 70; ++lunghezza)
    for (std::size_t dove : {std::size_t{0}, lunghezza / 2, lunghezza}) {
      std::string riga(lunghezza, 'a');
      std::string conUtf8 = riga;
      conUtf8.insert(std::min(dove, conUtf8.size()), e);
      const std::string testo =
          riga + "\n" + e + riga + "\r" + conUtf8 + "\r\n" + riga + "\n" + conUtf8;
      test::scriviFile(t / "s.txt", testo);
      ASSERT_EQ(tutteLeRighe(t / "s.txt"), righeAttese(testo)) << lunghezza << " " << dove;
    }
}

TEST(LettoreRighe, TranscodesUtf8LinesAndKeepsWindows1252Bytes) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "u.txt",
                   "perch\xC3\xA9 \xE2\x82\xAC \xCE\xA9\n"
                   "gi\xE0\n");
  auto righe = tutteLeRighe(t / "u.txt");
  EXPECT_EQ(righe[0], "perch\xE9 \x80 ?");  // Omega has no Windows-1252 form
  EXPECT_EQ(righe[1], "gi\xE0");            // not UTF-8: already Windows-1252
}

TEST(LettoreRighe, AByteOrderMarkAtTheFilesStartIsDropped) {
  // What many Windows editors write first: in front of an ASCII line, a UTF-8 one, a Windows-1252
  // one, an empty file's only line, and a first line longer than the buffer. Only the first
  // line's mark goes; one that starts a later line, or a stretch read from the middle, is text.
  test::CartellaTemporanea cartella;
  const std::filesystem::path p = cartella / "bom.txt";
  const std::string bom = "\xEF\xBB\xBF";
  const std::string lunga(LettoreRighe::kBuffer + 100, 'a');
  const std::pair<std::string, std::vector<std::string>> casi[] = {
      {bom + ">S1\r\nACGT\r\n", {">S1", "ACGT"}},  {bom + "caff\xC3\xA8\r\n", {"caff\xE8"}},
      {bom + "caff\xE8\n", {"caff\xE8"}},          {bom, {""}},
      {bom + lunga + "\r\nfine", {lunga, "fine"}}, {"a\r\n" + bom + "b\r\n", {"a", "?b"}},
  };
  for (const auto& [testo, attese] : casi) {
    test::scriviFile(p, testo);
    EXPECT_EQ(tutteLeRighe(p), attese) << testo.substr(0, 20);
  }
}

TEST(LettoreRighe, CountsLinesAndNamesAMissingFile) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "n.txt", "a\nb\n");
  LettoreRighe r(t / "n.txt");
  std::string_view v;
  r.leggi(v);
  r.leggi(v);
  EXPECT_EQ(r.numeroRiga(), 2u);
  try {
    LettoreRighe assente(t / "manca.txt");
    FAIL();
  } catch (const ErroreVorlane& e) {
    EXPECT_NE(std::string(e.what()).find("manca.txt"), std::string::npos);
  }
  EXPECT_THROW(LettoreRighe cartella(t.percorso()), ErroreVorlane);
}

// A small file gets a buffer of its own size. Lines written after it was opened must still come
// out whole.
TEST(LettoreRighe, ABufferSizedToASmallFileStillReadsWhatComesAfter) {
  test::CartellaTemporanea t;
  std::string testo = "uno\r\ndue";
  test::scriviFile(t / "f.txt", testo);
  LettoreRighe r(t / "f.txt");
  std::string aggiunta;
  for (int i = 0; aggiunta.size() < 100000; ++i)
    aggiunta += std::string(static_cast<std::size_t>(i % 700), 'a') + (i % 3 ? "\n" : "\r\n");
  std::FILE* f = std::fopen((t / "f.txt").c_str(), "ab");
  ASSERT_NE(f, nullptr);
  std::fwrite(aggiunta.data(), 1, aggiunta.size(), f);
  std::fclose(f);
  testo += aggiunta;
  std::vector<std::string> righe;
  std::string_view v;
  while (r.leggi(v)) righe.emplace_back(v);
  EXPECT_EQ(righe, righeAttese(testo));
}

}  // namespace
}  // namespace vorlane
