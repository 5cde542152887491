#include "sequence/caricamento.h"

#include "app/errore.h"
#include "sequence/campioni.h"
#include "text/testo.h"

namespace vorlane {

bool CarattereValido(const StatoVorlane& stato, char carattere) {
  char c = minuscola(carattere);
  for (const std::string& voce : stato.caratteriValidi)
    if (voce.size() == 1 && minuscola(voce[0]) == c) return true;
  return false;
}

char carattereCampione(const StatoVorlane& stato, char carattere) {
  return CarattereValido(stato, carattere) ? minuscola(carattere) : '?';
}

void azzeraSequenzaCampione(StatoVorlane& stato) {
  stato.sequenzaCampione.assign(kUltimaPosizione + 1, ' ');
}

double memorizzaSequenza(StatoVorlane& stato, std::string_view testo, double da, double a) {
  double p = da;
  for (char c : testo) {
    if (a < p) break;
    if (p < 0 || p > kUltimaPosizione)
      throw ErroreVorlane("posizione " + testoNumero(p) + " fuori dalla sequenza (1-16569)");
    stato.sequenzaCampione[static_cast<std::size_t>(arrotondaPari(p))] =
        carattereCampione(stato, c);
    p += 1;
  }
  return p;
}

void CaricaSequenzaDati(StatoVorlane& stato, Porta& porta) {
  procedura("CaricaSequenzaDati", [&] {
    stato.fileCampione = stato.nomeFileScelto;
    azzeraSequenzaCampione(stato);
    double p = numeroIniziale(porta.testo(Controllo::Text_PosizioneMutazioneDa));
    double fine = numeroIniziale(porta.testo(Controllo::Text_PosizioneMutazioneA));
    LettoreCampioni file(stato.fileCampione, {FormatoCampioni::fasta, true, true});
    RecordCampione r;
    while (p <= fine && file.prossimo(r))
      if (r.tipo == RecordCampione::Tipo::sequenza)
        p = memorizzaSequenza(stato, r.sequenza, p, fine);
    stato.lunghezzaCampione = kUltimaPosizione;
  });
}

void AggiornaMAT_BASI(StatoVorlane& stato, const Porta& porta) {
  if (!stato.posizioniDaRileggere) return;
  std::string testo = porta.testo(Controllo::Text_posMutazione);
  stato.listaPosizioni.clear();
  if (!testo.empty()) stato.listaPosizioni = dividi(testo, ',');
  stato.posizioniDaRileggere = false;
}

}  // namespace vorlane
