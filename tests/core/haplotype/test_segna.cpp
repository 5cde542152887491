#include <gtest/gtest.h>

#include <random>
#include <string>

#include "haplotype/confronto.h"

namespace vorlane {
namespace {

TEST(SegnaMutazioni, MarksWhatAPositionByPositionScanMarksWhereverTheRangeEnds) {
  // The scan skips eight equal positions at a time: mutations next to either end of the range
  // and ranges of every length against that stride.
  std::mt19937 caso(7);
  const std::string lettere = "acgtn? A";
  StatoVorlane stato;
  stato.sequenzaRiferimento.assign(200, 'a');
  for (char& b : stato.sequenzaRiferimento) b = "acgt"[caso() % 4];
  for (int prova = 0; prova < 2000; ++prova) {
    stato.sequenzaCampione = stato.sequenzaRiferimento;
    for (int k = static_cast<int>(caso() % 6); k > 0; --k)
      stato.sequenzaCampione[caso() % 200] = lettere[caso() % lettere.size()];
    stato.lunghezzaCampione = 150 + caso() % 60;
    std::size_t primo = caso() % 200, ultimo = primo + caso() % 40;
    azzeraMarche(stato);
    segnaMutazioni(stato, primo, ultimo);

    std::string attese(stato.marcaMutazioni.size(), '\0');
    double numero = 0;
    std::size_t fine =
        std::min<std::size_t>({ultimo, 199, static_cast<std::size_t>(stato.lunghezzaCampione)});
    for (std::size_t p = std::max<std::size_t>(primo, 1); p <= fine; ++p) {
      char c = stato.sequenzaCampione[p];
      if (c != stato.sequenzaRiferimento[p] && std::string("acgt").find(c) != std::string::npos) {
        attese[p] = '*';
        ++numero;
      }
    }
    ASSERT_EQ(std::string(stato.marcaMutazioni.begin(), stato.marcaMutazioni.end()), attese)
        << primo << "-" << ultimo;
    ASSERT_EQ(stato.numeroMutazioni, numero);
  }
}

}  // namespace
}  // namespace vorlane
