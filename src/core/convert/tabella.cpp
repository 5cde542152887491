#include "convert/tabella.h"

#include <string_view>

#include "app/errore.h"
#include "text/testo.h"

namespace vorlane {
namespace {
double posizioneImpostata(const std::string& valore) {
  return arrotondaPari(numeroIniziale(valore));
}
}  // namespace

Intervallo intervalloAnalisi(const StatoVorlane& stato, bool fineOltreRiferimento) {
  double inizio = posizioneImpostata(stato.impostazioni.InizioSequenza);
  double fine = posizioneImpostata(stato.impostazioni.FineSequenza);
  if (inizio < 1 || (fine > kUltimaPosizione && !fineOltreRiferimento))
    throw ErroreVorlane("l'intervallo di analisi " + testoNumero(inizio) + "-" + testoNumero(fine) +
                        " esce dalla sequenza di riferimento (1-16569)");
  if (inizio > kUltimaPosizione) inizio = kUltimaPosizione + 1;
  if (fine > kUltimaPosizione) fine = kUltimaPosizione;
  if (fine < 0) fine = 0;
  return {static_cast<int>(inizio), static_cast<int>(fine)};
}

NomeBase nomeBase(const std::filesystem::path& file, std::size_t taglio) {
  const std::string nativo = file.filename().native();
  std::string testo = testoPercorso(file.filename());
  if (testo.size() < taglio)
    throw ErroreVorlane("il nome del file '" + testoPercorso(file) + "' ha meno di " +
                        std::to_string(taglio) + " caratteri: non se ne ricava il nome di base");
  // The cut is in characters; a native name whose tail is plain ASCII is cut as it stands, so
  // that a name in another encoding still names the file beside it.
  std::string_view coda =
      std::string_view(nativo).substr(nativo.size() - std::min(taglio, nativo.size()));
  if (nativo.size() >= taglio && soloAscii(coda)) {
    std::string base = nativo.substr(0, nativo.size() - taglio);
    return {testoPercorso(base), base};
  }
  testo.resize(testo.size() - taglio);
  return {testo, percorsoDaTesto(testo).native()};
}

char partnerTransizione(char base) {
  switch (base) {
    case 'A':
      return 'G';
    case 'G':
      return 'A';
    case 'C':
      return 'T';
    case 'T':
      return 'C';
    default:
      return 0;
  }
}

}  // namespace vorlane
