#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/errore.h"
#include "support/supporto.h"
#include "text/righe.h"

namespace vorlane {
namespace {

std::vector<std::string> tutteLeRighe(const std::filesystem::path& p) {
  LettoreRighe r(p);
  std::vector<std::string> righe;
  std::string_view v;
  while (r.leggi(v)) righe.emplace_back(v);
  return righe;
}

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
  for (std::size_t lunghezza : {(1u << 18) - 1, (1u << 18), (1u << 18) + 1, 3u << 18}) {
    std::string lunga(lunghezza, 'a');
    test::scriviFile(t / "l.txt", lunga + "\r\nfine\r\n");
    auto righe = tutteLeRighe(t / "l.txt");
    ASSERT_EQ(righe.size(), 2u) << lunghezza;
    EXPECT_EQ(righe[0], lunga);
    EXPECT_EQ(righe[1], "fine");
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

}  // namespace
}  // namespace vorlane
