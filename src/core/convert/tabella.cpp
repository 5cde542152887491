#include "convert/tabella.h"

#include <string_view>

#include "base/errore.h"
#include "stato/parametri.h"
#include "text/testo.h"

namespace vorlane {
Intervallo intervalloAnalisi(const StatoVorlane& stato) {
  return intervalloImpostato(stato.impostazioni.InizioSequenza, stato.impostazioni.FineSequenza,
                             true);
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

namespace {
bool esisteNomeEsatto(const std::filesystem::path& cartella, const std::filesystem::path& nome) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(cartella, ec), fine; !ec && it != fine;
       it.increment(ec))
    if (it->path().filename() == nome) return true;
  return false;
}
}  // namespace

bool sostituzioneConsentita(Porta& porta, const std::filesystem::path& file,
                            const std::string& domanda, const std::string& titolo) {
  if (!esisteNomeEsatto(file.parent_path(), file.filename())) return true;
  if (porta.domandaSiNo(domanda, titolo)) return true;
  porta.puntatoreOccupato(false);
  return false;
}

}  // namespace vorlane
