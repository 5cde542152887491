#include <gtest/gtest.h>

#include <cmath>

#include "base/errore.h"
#include "sequence/caricamento.h"
#include "support/supporto.h"

namespace vorlane::test {
namespace {

// Storing character by character, the way the loaders are meant to behave.
std::string attesa(const StatoVorlane& stato, std::string_view testo, double da, double a) {
  std::string s(kUltimaPosizione + 1, ' ');
  double p = da;
  for (char c : testo) {
    if (a < p) break;
    s[static_cast<std::size_t>(std::nearbyint(p))] = carattereCampione(stato, c);
    p += 1;
  }
  return s;
}

TEST(MemorizzaSequenza, TheCharacterTableStoresWhatOneCharacterAtATimeStores) {
  StatoVorlane stato;
  stato.caratteriValidi = {"A", "C", "G", "T", "N", " X"};
  TabellaCaratteri tabella = tabellaCaratteri(stato);
  const std::string testo = "acGTnX-?\xE8 ";
  struct Caso {
    double da, a;
  };
  for (Caso c : {Caso{16001, 16005}, Caso{16001, 16400}, Caso{16565, 16569}, Caso{16001.5, 16009},
                 Caso{1, 0}, Caso{0, 3}}) {
    std::string sequenza(kUltimaPosizione + 1, ' ');
    double fine = memorizzaSequenza(sequenza, tabella, testo, c.da, c.a);
    EXPECT_EQ(sequenza, attesa(stato, testo, c.da, c.a)) << c.da << " " << c.a;
    double quanti = c.a < c.da ? 0 : std::min<double>(testo.size(), std::floor(c.a - c.da) + 1);
    EXPECT_EQ(fine, c.da + quanti);
  }
}

TEST(MemorizzaSequenza, PastTheEndOfTheSequenceIsAnError) {
  StatoVorlane stato;
  stato.caratteriValidi = {"A"};
  const TabellaCaratteri tabella = tabellaCaratteri(stato);
  std::string sequenza(kUltimaPosizione + 1, ' ');
  EXPECT_THROW(memorizzaSequenza(sequenza, tabella, "aaaaaa", 16565, 16600), ErroreVorlane);
  EXPECT_THROW(memorizzaSequenza(sequenza, tabella, "a", -1, 10), ErroreVorlane);
  EXPECT_EQ(memorizzaSequenza(sequenza, tabella, "aaaaaa", 16565, 16569), 16570);
}

}  // namespace
}  // namespace vorlane::test
