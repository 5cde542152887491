#include "text/fine_riga.h"

#include "text/blocchi.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vorlane {
namespace {

// What the search must find, byte by byte.
std::size_t attesa(const std::string& testo, std::size_t da, bool& nonAscii) {
  std::size_t i = da;
  for (; testo[i] != '\r' && testo[i] != '\n'; ++i)
    nonAscii |= static_cast<unsigned char>(testo[i]) >= 0x80;
  return i - da;
}

TEST(CercaFineRiga, BothWaysFindTheFirstEndAndTheNonAsciiBytesBeforeIt) {
  // Lines of every length against the 32- and 64-byte steps, with TAB and other control bytes
  // (which pass the first test of a step without ending the line) and non-ASCII bytes on either
  // side of the end.
  std::mt19937 caso(11);
  const std::string lettere = "ACGT\t\x01\x0B\x0C\xE8\xC3\xA8\r\n";
  for (int prova = 0; prova < 3000; ++prova) {
    std::string testo(static_cast<std::size_t>(caso() % 200), 'a');
    for (char& c : testo) {
      unsigned scelta = caso() % 40;
      c = scelta < lettere.size() ? lettere[scelta] : 'a';
    }
    testo.append(64, '\n');  // the padding the reader puts after its data
    std::size_t da = testo.size() > 64 ? caso() % (testo.size() - 64) : 0;
    bool atteso = false, blocchi = false, avx2 = false;
    std::size_t fine = attesa(testo, da, atteso);
    EXPECT_EQ(cercaFineRigaBlocchi16(testo.data() + da, blocchi), fine);
    EXPECT_EQ(blocchi, atteso);
    if (avx2Disponibile()) {
      EXPECT_EQ(cercaFineRigaAvx2(testo.data() + da, avx2), fine);
      EXPECT_EQ(avx2, atteso);
    }
    bool scelta = false;
    EXPECT_EQ(cercaFineRiga(testo.data() + da, scelta), fine);
  }
}

TEST(CercaFineRiga, AFlagAlreadySetStaysSet) {
  std::string testo = "ACGT\r\n" + std::string(64, '\n');
  bool blocchi = true, avx2 = true;
  EXPECT_EQ(cercaFineRigaBlocchi16(testo.data(), blocchi), 4u);
  EXPECT_TRUE(blocchi);
  if (avx2Disponibile()) {
    EXPECT_EQ(cercaFineRigaAvx2(testo.data(), avx2), 4u);
    EXPECT_TRUE(avx2);
  }
}

}  // namespace
}  // namespace vorlane
