#include "stato/messaggi.h"

#include <utility>

#include "base/errore.h"
#include "io/righe.h"
#include "text/testo.h"

namespace vorlane {
namespace {
ErroreVorlane erroreRiga(const LettoreRighe& file, const std::string& cosa) {
  return ErroreVorlane(testoPercorso(file.percorso()) + ", riga " +
                       std::to_string(file.numeroRiga()) + ": " + cosa);
}

// Messages added after the first working folders were made: a messages file copied there
// before them, which the program never replaces, still gets their text.
constexpr std::pair<msg::Messaggio, const char*> kMessaggiAggiunti[] = {
    {msg::aplogruppoPhyloTree, "Aplogruppo PhyloTree"},
    {msg::qualita, "qualit\xE0"},
    {msg::margine, "margine"},
    {msg::incerto, "incerto"},
    {msg::variantiAtteseAssenti, "Varianti attese assenti"},
    {msg::variantiNonAttese, "Varianti non attese"},
};
}  // namespace

void caricaMessaggiDa(const std::filesystem::path& percorso, StatoVorlane& stato) {
  for (const auto& [indice, testo] : kMessaggiAggiunti) stato.messaggi[indice] = testo;
  LettoreRighe file(percorso);
  std::string_view riga;
  while (file.leggi(riga)) {
    if (riga.empty() || riga.front() == '/' || senzaSpazi(riga).empty()) continue;
    std::size_t pv = riga.find(';');
    if (pv == std::string_view::npos)
      throw erroreRiga(file, "manca il separatore \";\" tra indice e testo");
    std::optional<double> indice = numeroRigoroso(riga.substr(0, pv));
    if (!indice) throw erroreRiga(file, "l'indice del messaggio non \xE8 un numero");
    double n = arrotondaPari(*indice);
    if (n < 0 || n > kUltimoMessaggio)
      throw erroreRiga(file, "indice del messaggio fuori dall'intervallo 0-200");
    std::string_view testo = riga.substr(pv + 1);
    stato.messaggi[static_cast<std::size_t>(n)] = std::string(testo.substr(0, testo.find(';')));
  }
}

void CaricaMessaggi(StatoVorlane& stato) {
  procedura("CaricaMessaggi",
            [&] { caricaMessaggiDa(stato.cartellaCorrente / kFileMessaggi, stato); });
}

}  // namespace vorlane
