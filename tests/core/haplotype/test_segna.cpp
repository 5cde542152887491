#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "haplotype/confronto.h"

namespace vorlane {
namespace {

TEST(SegnaMutazioni, MarksWhatAPositionByPositionScanMarksWhereverTheRangeEnds) {
  // The scan skips sixteen or thirty-two equal positions at a time: mutations next to either end
  // of the range and ranges of every length against those strides, both ways.
  std::mt19937 caso(7);
  const std::string lettere = "acgtn? A";
  std::string riferimento(200, 'a');
  for (char& b : riferimento) b = "acgt"[caso() % 4];
  for (int prova = 0; prova < 2000; ++prova) {
    CampioneCaricato campione;
    campione.sequenzaCampione = riferimento;
    for (int k = static_cast<int>(caso() % 6); k > 0; --k)
      campione.sequenzaCampione[caso() % 200] = lettere[caso() % lettere.size()];
    campione.lunghezzaCampione = 150 + caso() % 60;
    std::size_t primo = caso() % 200, ultimo = primo + caso() % 80;
    const bool avx2 = prova % 2 == 0;
    std::vector<int> segnate = {-1};
    segnaMutazioni(campione, riferimento, primo, ultimo, segnate, avx2);

    std::string attese(campione.marcaMutazioni.size(), '\0');
    std::vector<int> posizioni = {-1};
    double numero = 0;
    std::size_t fine =
        std::min<std::size_t>({ultimo, 199, static_cast<std::size_t>(campione.lunghezzaCampione)});
    for (std::size_t p = std::max<std::size_t>(primo, 1); p <= fine; ++p) {
      char c = campione.sequenzaCampione[p];
      if (c != riferimento[p] && std::string("acgt").find(c) != std::string::npos) {
        attese[p] = '*';
        posizioni.push_back(static_cast<int>(p));
        ++numero;
      }
    }
    ASSERT_EQ(std::string(campione.marcaMutazioni.begin(), campione.marcaMutazioni.end()), attese)
        << primo << "-" << ultimo << " avx2 " << avx2;
    ASSERT_EQ(campione.numeroMutazioni, numero);
    // The positions come after what the list already held.
    ASSERT_EQ(segnate, posizioni) << primo << "-" << ultimo;
  }
}

TEST(ElencaMutazioni, PositionsOfEveryDigitCountInOrderInLinesOfTenWithTheTailUnwritten) {
  // Positions from one to five digits, both ends of the sequence included: two full lines and
  // a tail of three.
  const std::vector<int> posizioni = {0,    1,     2,     9,     10,    11,    42,   99,
                                      100,  101,   555,   999,   1000,  1001,  7777, 9999,
                                      9998, 10000, 12345, 16000, 16567, 16568, 16569};
  StatoVorlane stato;
  CampioneCaricato campione;
  for (int p : posizioni) campione.marcaMutazioni[static_cast<std::size_t>(p)] = '*';
  ElencoMutazioni elenco;
  BloccoRegistro blocco;
  elencaMutazioni(campione, 0, kUltimaPosizione, elenco, blocco);
  blocco.scrivi(stato.registro);

  std::vector<int> ordinate = posizioni;
  std::sort(ordinate.begin(), ordinate.end());
  std::string attese;
  for (std::size_t i = 0; i < ordinate.size(); ++i) {
    if (i > 0) attese += ',';
    attese += std::to_string(ordinate[i]);
  }
  EXPECT_EQ(elenco.posizioni, attese);
  EXPECT_EQ(elenco.numeri, ordinate);
  EXPECT_EQ(elenco.quante, 23);
  EXPECT_EQ(elenco.parziale(), "16567,16568,16569");
  EXPECT_EQ(
      std::string_view(stato.registro.inCoda()),
      "Mutazioni                     : 0,1,2,9,10,11,42,99,100,101\r\n"
      "Mutazioni                     : 555,999,1000,1001,7777,9998,9999,10000,12345,16000\r\n");
}

}  // namespace
}  // namespace vorlane
