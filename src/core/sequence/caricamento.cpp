#include "sequence/caricamento.h"

#include <algorithm>
#include <cmath>

#include "base/errore.h"
#include "sequence/campioni.h"
#include "stato/parametri.h"
#include "text/testo.h"

namespace vorlane {

bool CarattereValido(const StatoVorlane& stato, char carattere) {
  return carattereAmmesso(stato.caratteriValidi, carattere);
}

char carattereCampione(const StatoVorlane& stato, char carattere) {
  return CarattereValido(stato, carattere) ? minuscola(carattere) : '?';
}

TabellaCaratteri tabellaCaratteri(const StatoVorlane& stato) {
  return tabellaCaratteri(stato.caratteriValidi);
}

namespace {
char daTabella(const TabellaCaratteri& caratteri, char c) {
  return caratteri[static_cast<unsigned char>(c)];
}

// How many characters a store from `da` to `a` takes when it starts on a whole position and
// stays inside the sequence; 0 when the careful per-character path is needed.
std::size_t quantiInteri(std::string_view testo, double da, double a) {
  if (da != std::floor(da) || da < 0 || a < da) return 0;
  double quanti = std::min(static_cast<double>(testo.size()), std::floor(a - da) + 1);
  return da + quanti - 1 <= kUltimaPosizione ? static_cast<std::size_t>(quanti) : 0;
}
}  // namespace

double memorizzaSequenza(std::string& sequenza, const TabellaCaratteri& caratteri,
                         std::string_view testo, double da, double a) {
  if (std::size_t n = quantiInteri(testo, da, a)) {
    char* destinazione = sequenza.data() + static_cast<std::size_t>(da);
    for (std::size_t i = 0; i < n; ++i) destinazione[i] = daTabella(caratteri, testo[i]);
    return da + static_cast<double>(n);
  }
  double p = da;
  for (char c : testo) {
    if (a < p) break;
    if (p < 0 || p > kUltimaPosizione)
      throw ErroreVorlane("posizione " + testoNumero(p) + " fuori dalla sequenza (1-16569)");
    sequenza[static_cast<std::size_t>(arrotondaPari(p))] = daTabella(caratteri, c);
    p += 1;
  }
  return p;
}

CampioneCaricato CaricaSequenzaDati(StatoVorlane& stato, const Caselle& caselle, Campione& letto) {
  CampioneCaricato caricato;
  procedura("CaricaSequenzaDati", [&] {
    letto = {};
    LettoreCampioni file(stato.fileCampione, {.formato = FormatoCampioni::fasta,
                                              .regolaTab = true,
                                              .saltaVuote = true,
                                              .unisciRighe = true});
    if (file.prossimo(letto) != Lettura::campione) letto = {};
    caricato.nome = letto.nome;
    caricato.frequenza = letto.frequenza;
    caricato.lunghezzaCampione = kUltimaPosizione;
    // An interval that is not valid loads nothing: the comparison that follows says why.
    std::string errore;
    const Intervallo intervallo = leggiIntervallo(caselle.da, caselle.a, false, errore);
    if (!errore.empty()) return;
    memorizzaSequenza(caricato.sequenzaCampione, tabellaCaratteri(stato), letto.sequenza,
                      intervallo.inizio, intervallo.fine);
  });
  return caricato;
}

void AggiornaMAT_BASI(StatoVorlane& stato, const Caselle& caselle) {
  if (!stato.posizioniDaRileggere) return;
  stato.listaPosizioni.clear();
  if (!caselle.posizioni.empty()) stato.listaPosizioni = dividi(caselle.posizioni, ',');
  stato.posizioniDaRileggere = false;
}

}  // namespace vorlane
