#include <gtest/gtest.h>

#include "app/errore.h"
#include "io/scrittura.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

std::size_t fileNellaCartella(const std::filesystem::path& c) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& voce : std::filesystem::directory_iterator(c)) ++n;
  return n;
}

TEST(ScrittoreTesto, WritesCrLfLinesOnlyWhenConfirmed) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "r.txt", "vecchio");
  {
    ScrittoreTesto f(t / "r.txt");
    f.riga("uno");
    f.righe("d", "u", "e");
    EXPECT_EQ(test::leggiFile(t / "r.txt"), "vecchio");
    f.conferma();
  }
  EXPECT_EQ(test::leggiFile(t / "r.txt"), "uno\r\ndue\r\n");
  EXPECT_EQ(fileNellaCartella(t.percorso()), 1u);
}

TEST(ScrittoreTesto, AnAbandonedOrFailedWriteLeavesTheOldFileAndNoLeftovers) {
  test::CartellaTemporanea t;
  test::scriviFile(t / "r.txt", "vecchio");
  {
    ScrittoreTesto f(t / "r.txt");
    for (int i = 0; i < 200000; ++i) f.riga("riga lunga abbastanza da svuotare il buffer");
  }  // destroyed without conferma, as when an operation fails midway
  EXPECT_EQ(test::leggiFile(t / "r.txt"), "vecchio");
  EXPECT_EQ(fileNellaCartella(t.percorso()), 1u);

  // A target that cannot be replaced (a non-empty folder of that name).
  std::filesystem::create_directories(t / "occupato" / "dentro");
  ScrittoreTesto g(t / "occupato");
  g.riga("x");
  EXPECT_THROW(g.conferma(), ErroreVorlane);
  EXPECT_TRUE(std::filesystem::is_directory(t / "occupato" / "dentro"));
  EXPECT_EQ(fileNellaCartella(t.percorso()), 2u);

  EXPECT_THROW(ScrittoreTesto(t / "manca" / "r.txt"), ErroreVorlane);
}

TEST(ScrittoreTesto, LinesBuiltInPlaceKeepTheirBytesWhenTheyOutgrowTheBuffer) {
  // Each line is built in pieces, its last byte taken back; some lines are longer than the
  // whole buffer and come while it is nearly full, so it must grow without losing the line.
  test::CartellaTemporanea t;
  std::string atteso;
  {
    ScrittoreTesto f(t / "r.txt");
    for (std::size_t lunghezza : {std::size_t{10}, std::size_t{1} << 19, std::size_t{3} << 20,
                                  std::size_t{0}, std::size_t{5} << 20, std::size_t{7}}) {
      std::string riga;
      f.aggiungi("inizio ");
      riga += "inizio ";
      for (std::size_t fatti = 0; fatti < lunghezza; fatti += 4096) {
        std::size_t n = std::min<std::size_t>(4096, lunghezza - fatti);
        char* p = f.spazio(n + 1);
        for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<char>('a' + (fatti + i) % 26);
        riga.append(p, n);
        f.avanza(p + n);
      }
      f.ritira(1);
      riga.pop_back();
      f.fineRiga();
      atteso += riga + "\r\n";
    }
    f.conferma();
  }
  EXPECT_EQ(test::leggiFile(t / "r.txt"), atteso);
}

TEST(AggiungiAlFile, AppendsAndCreates) {
  test::CartellaTemporanea t;
  aggiungiAlFile(t / "log.txt", "a\r\n");
  aggiungiAlFile(t / "log.txt", "b\r\n");
  EXPECT_EQ(test::leggiFile(t / "log.txt"), "a\r\nb\r\n");
  EXPECT_THROW(aggiungiAlFile(t / "manca" / "log.txt", "x"), ErroreVorlane);
}

}  // namespace
}  // namespace vorlane
