// The aligner on any text: whatever it is given, a placement covers at most the genome once,
// names positions of it, and its differences lie in the interval.
#include <cstdlib>
#include <string>

#include "align/collocazione.h"
#include "sequence/riferimento.h"

using namespace vorlane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
  if (n < 4) return 0;
  // The first bytes choose the interval, the rest is the sample.
  const int inizio = 1 + (dati[0] | dati[1] << 8) % 16569;
  const int fine = 1 + (dati[2] | dati[3] << 8) % 16569;
  const std::string_view testo(reinterpret_cast<const char*>(dati) + 4, n - 4);
  static Allineatore allineatore;
  const Collocazione& c = allineatore.colloca(testo, inizio);
  if (c.esito != EsitoCollocazione::collocato) return 0;
  if (c.basi.size() > 16569 || c.primo < 1 || c.primo > 16569) std::abort();
  static const std::string riferimento = std::string(1, '\0') + std::string(testoRiferimento());
  std::string sequenza(16570, ' ');
  const Intervallo intervallo{inizio, fine};
  CampioneCollocato dentro = riporta(c, intervallo, sequenza);
  std::vector<Variante> differenze;
  differenzeCollocate(sequenza, riferimento, dentro, differenze);
  for (const Variante& v : differenze)
    if (!nellIntervallo(intervallo, v.posizione) || !nellIntervallo(dentro.coperto, v.posizione))
      std::abort();
  return 0;
}
