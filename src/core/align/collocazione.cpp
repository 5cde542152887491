#include "align/collocazione.h"

#include "sequence/alfabeto.h"

namespace vorlane {

bool nellIntervallo(const Intervallo& intervallo, int p) {
  if (intervallo.attraversaOrigine()) return p >= intervallo.inizio || p <= intervallo.fine;
  return intervallo.inizio <= p && p <= intervallo.fine;
}

CampioneCollocato riporta(const Collocazione& collocazione, const Intervallo& intervallo,
                          std::string& sequenza) {
  CampioneCollocato c;
  if (collocazione.esito != EsitoCollocazione::collocato) return c;
  std::size_t prima = 0, ultima = 0;
  bool trovata = false;
  for (std::size_t k = 0; k < collocazione.basi.size(); ++k) {
    const int p = collocazione.posizione(k);
    if (!nellIntervallo(intervallo, p)) {
      // The sample leaves the interval: what it covers of it is one stretch, the first.
      if (trovata) break;
      continue;
    }
    if (!trovata) prima = k;
    trovata = true;
    ultima = k;
    sequenza[static_cast<std::size_t>(p)] = collocazione.basi[k];
  }
  if (!trovata) return c;
  c.coperto = {collocazione.posizione(prima), collocazione.posizione(ultima)};
  for (const Inserzione& i : collocazione.inserzioni)
    if (nellIntervallo(c.coperto, i.dopo) && i.dopo != c.coperto.fine) c.inserzioni.push_back(i);
  return c;
}

void differenzeCollocate(std::string_view sequenza, std::string_view riferimento,
                         const CampioneCollocato& campione, std::vector<Variante>& differenze) {
  differenze.clear();
  auto inserzione = campione.inserzioni.begin();
  perOgniPosizione(campione.coperto, [&](int p) {
    const char c = sequenza[static_cast<std::size_t>(p)];
    const char r = riferimento[static_cast<std::size_t>(p)];
    if ((eBase(c) && c != r) || codiceAmbiguo(c))
      differenze.push_back({p, 0, static_cast<char>(c & ~0x20)});
    else if (c == '-')
      differenze.push_back({p, 0, Variante::kDelezione});
    for (; inserzione != campione.inserzioni.end() && inserzione->dopo == p; ++inserzione)
      for (std::size_t k = 0; k < inserzione->basi.size(); ++k)
        if (k < 63) differenze.push_back({p, static_cast<int>(k) + 1, inserzione->basi[k]});
  });
}

const char* motivoNonCollocato(EsitoCollocazione esito) {
  switch (esito) {
    case EsitoCollocazione::troppoCorto:
      return "troppo corto per essere allineato al riferimento";
    case EsitoCollocazione::troppiMancanti:
      return "più dati mancanti (N, ?) che basi";
    case EsitoCollocazione::nonRiconosciuto:
      return "nessun tratto del riferimento gli somiglia (non è DNA mitocondriale umano?)";
    case EsitoCollocazione::collocato:
      break;
  }
  return "";
}

}  // namespace vorlane
