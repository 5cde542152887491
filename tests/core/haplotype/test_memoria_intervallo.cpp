#include "haplotype/memoria_intervallo.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/errore.h"
#include "text/testo.h"

namespace vorlane {
namespace {

// Stores `testo` both ways on two states and returns whether they ended alike; an error must
// come from both or neither. `avx2` false keeps the fast way to its blocks of sixteen.
void confronta(const std::string& validi, double da, double a, const std::string& testo,
               bool avx2) {
  StatoVorlane veloce, lento;
  veloce.caratteriValidi = lento.caratteriValidi = dividi(validi, ',');
  std::string sequenzaVeloce(kUltimaPosizione + 1, ' '), sequenzaLenta = sequenzaVeloce;
  MemoriaIntervallo memoria(veloce, da, a, avx2);
  double fineVeloce = -1, fineLento = -1;
  bool erroreVeloce = false, erroreLento = false;
  try {
    fineVeloce = memoria.memorizza(sequenzaVeloce, testo);
  } catch (const ErroreVorlane&) {
    erroreVeloce = true;
  }
  try {
    fineLento = memorizzaSequenza(sequenzaLenta, tabellaCaratteri(lento), testo, da, a);
  } catch (const ErroreVorlane&) {
    erroreLento = true;
  }
  ASSERT_EQ(erroreVeloce, erroreLento) << da << " " << a << " " << testo;
  ASSERT_EQ(fineVeloce, fineLento) << da << " " << a << " " << testo;
  ASSERT_EQ(sequenzaVeloce, sequenzaLenta) << da << " " << a << " " << testo;
}

TEST(MemoriaIntervallo, StoresWhatTheCarefulPathStores) {
  // Lines of bases in either case, with other characters in some of their blocks of sixteen or
  // thirty-two, over intervals that start on and off whole positions, end inside the line or
  // after it, and run past the sequence's end; with and without the bases among the allowed
  // characters; in blocks of 32 where the processor has AVX2, and in blocks of 16.
  std::mt19937 caso(11);
  const std::string lettere = "ACGTacgtNn?-X\xE8 ";
  const double inizi[] = {0, 1, 16001, 16500.5, 16540, 16569, -2};
  for (const std::string validi : {"A,T,G,C,N,X,?", "A,T,C,N", "a,c,G,t"}) {
    for (int prova = 0; prova < 400; ++prova) {
      std::string testo(caso() % 140, 'A');
      for (char& c : testo) c = "ACGTacgt"[caso() % 8];
      if (caso() % 2)
        for (int k = static_cast<int>(caso() % 3); k >= 0 && !testo.empty(); --k)
          testo[caso() % testo.size()] = lettere[caso() % lettere.size()];
      double da = inizi[caso() % std::size(inizi)];
      double a = da + static_cast<double>(caso() % 160) - 3 + (caso() % 3 == 0 ? 0.5 : 0);
      for (bool avx2 : {true, false}) confronta(validi, da, a, testo, avx2);
    }
  }
}

}  // namespace
}  // namespace vorlane
