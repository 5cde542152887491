#include "haplotype/confronto_multiplo.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "app/errore.h"
#include "haplotype/report_multiplo.h"
#include "sequence/campioni.h"
#include "text/testo.h"

namespace vorlane {

ConfrontoMultiplo::ConfrontoMultiplo(StatoVorlane& stato, Porta& porta,
                                     const TabellaAplotipi& tabella)
    : stato_(stato),
      porta_(porta),
      tabella_(tabella),
      regole_(regoleConfronto(stato, porta)),
      indice_(stato.*tabella.griglia),
      memoria_(stato, regole_.da, regole_.a) {
  preparaRigheFisse();
  azzeraSequenzaCampione(stato_);
  azzeraMarche(stato_);
}

void ConfrontoMultiplo::preparaRigheFisse() {
  const auto& m = stato_.messaggi;
  const Impostazioni& imp = stato_.impostazioni;
  std::string intervalloMutazioni = m[27] + "          : " + m[14] + " " + imp.NumeroMutazioniDa +
                                    " " + m[15] + " " + imp.NumeroMutazioniA;
  fileERiferimento_ = "\r\n" + m[22] + "          : " + stato_.citazioneRiferimento + "\r\n" +
                      m[23] + "      : " + testoPercorso(stato_.fileCampione) + "\r\n" + m[26] +
                      "                      : ";
  mezzo_ = "\r\n" + intervalloMutazioni + "\r\n" + m[28] + "     : " +
           porta_.testo(Controllo::Text_posMutazione) + "\r\n" + m[24] + "       : ";
  coda_ = "\r\n" + intervalloMutazioni + "\r\n" + m[29] + "          : " + m[14] + " " +
          porta_.testo(Controllo::Text_PosizioneMutazioneDa) + " " + m[15] + "  " +
          porta_.testo(Controllo::Text_PosizioneMutazioneA) + "\r\n" + m[30] + "        : " +
          m[14] + " " + imp.PercentoDa + " " + m[15] + " " + imp.PercentoA;
}

void ConfrontoMultiplo::svuotaCampione() {
  if (primoCampione_ > ultimoCampione_) return;
  std::fill(stato_.sequenzaCampione.begin() + primoCampione_,
            stato_.sequenzaCampione.begin() + ultimoCampione_ + 1, ' ');
  primoCampione_ = 0;
  ultimoCampione_ = -1;
}

// Stores a line's sequence over the interval; returns how many characters it stored.
double ConfrontoMultiplo::memorizza(std::string_view sequenza) {
  double fine = memoria_.memorizza(stato_.sequenzaCampione, sequenza);
  if (fine > regole_.da) {
    primoCampione_ = static_cast<long>(arrotondaPari(regole_.da));
    ultimoCampione_ = static_cast<long>(arrotondaPari(fine - 1));
  }
  return fine - regole_.da;
}

// Room for the results of the whole file at once, guessed from its size at one sample per
// interval's length of text (and a line end): the list of a hundred thousand samples would
// otherwise be moved a dozen times as it doubles. A wrong guess costs a later doubling, or room
// left unused; the cap keeps a file of very short lines from asking for too much.
void ConfrontoMultiplo::riservaRisultati() {
  constexpr std::uintmax_t kMassimo = 1 << 20;
  std::error_code errore;
  std::uintmax_t dimensione = std::filesystem::file_size(stato_.fileCampione, errore);
  if (errore || !(regole_.a >= regole_.da)) return;
  double lunghezza = std::min(regole_.a - regole_.da, static_cast<double>(kUltimaPosizione));
  auto perCampione = static_cast<std::uintmax_t>(lunghezza) + 3;
  auto& risultati = stato_.risultatiMultipli;
  risultati.reserve(risultati.size() +
                    static_cast<std::size_t>(std::min(dimensione / perCampione, kMassimo)));
}

void ConfrontoMultiplo::CaricaSequenzaDatiMultipli() {
  procedura(tabella_.caricaMultipli, [&] {
    LettoreCampioni file(stato_.fileCampione, {FormatoCampioni::fasta, true, false});
    riservaRisultati();
    RecordCampione r;
    while (file.prossimo(r)) {
      svuotaCampione();
      if (r.tipo == RecordCampione::Tipo::intestazione || r.conNome) identificativo_.assign(r.nome);
      if (r.tipo != RecordCampione::Tipo::sequenza || memorizza(r.sequenza) <= 1) continue;
      stato_.lunghezzaCampione = kUltimaPosizione;
      ConfrontaCampionamentoMultiplo(identificativo_);
    }
  });
}

// Only the positions the line stored can differ from the reference, and only the few the last
// comparison marked need clearing.
void ConfrontoMultiplo::segna() {
  for (int p : segnate_) stato_.marcaMutazioni[static_cast<std::size_t>(p)] = 0;
  stato_.numeroMutazioni = 0;
  segnate_.clear();
  primoMarche_ = primoCampione_;
  ultimoMarche_ = ultimoCampione_;
  if (primoMarche_ <= ultimoMarche_)
    segnaMutazioni(stato_, static_cast<std::size_t>(primoMarche_),
                   static_cast<std::size_t>(ultimoMarche_), segnate_);
}

// The block's first line changes only with the day.
const std::string& ConfrontoMultiplo::testa(const std::tm& oggi) {
  const std::tm& g = giornoTesta_;
  if (testa_.empty() || oggi.tm_mday != g.tm_mday || oggi.tm_mon != g.tm_mon ||
      oggi.tm_year != g.tm_year) {
    testa_ = rigaInizioBlocco(stato_, oggi) + fileERiferimento_;
    giornoTesta_ = oggi;
  }
  return testa_;
}

void ConfrontoMultiplo::scriviBlocco(std::string_view identificativo) {
  // One clock reading dates the block and picks the day's file it goes to.
  std::tm adesso = stato_.orologio();
  BloccoRegistro blocco(stato_, adesso);
  blocco.riga(testa(adesso), identificativo, mezzo_, testoNumero(stato_.numeroMutazioni), coda_);
  elenco_.azzera();
  if (regole_.elenca(stato_.numeroMutazioni) && primoMarche_ <= ultimoMarche_) {
    controllaIntervallo(regole_);
    elencaPosizioni(segnate_, elenco_, blocco);
  }
  stato_.aplotipoTrovato = indice_.nome(indice_.cerca(elenco_.numeri));
  blocco.riga("Aplotipo                      : ", stato_.aplotipoTrovato);
  if (!elenco_.parziale().empty()) blocco.riga(kRigaMutazioni, elenco_.parziale());
  if (stato_.numeroMutazioni > 0)
    blocco.riga("Percentuale mutazioni         : ",
                percentualeMutazioni(elenco_.quante, stato_.numeroMutazioni));
  blocco.scrivi(stato_);
}

void ConfrontoMultiplo::ConfrontaCampionamentoMultiplo(std::string_view identificativo) {
  procedura(tabella_.confrontoMultiplo, [&] {
    segna();
    scriviBlocco(identificativo);
    stato_.risultatiMultipli.push_back(
        {std::string(identificativo), stato_.aplotipoTrovato, stato_.numeroMutazioni});
    stato_.campioniConfrontati += 1;
  });
}

namespace {
void caricaMultipli(StatoVorlane& stato, Porta& porta, const TabellaAplotipi& tabella) {
  procedura(tabella.caricaMultipli, [&] {
    ConfrontoMultiplo confronto(stato, porta, tabella);
    confronto.CaricaSequenzaDatiMultipli();
  });
}
}  // namespace

void CaricaSequenzaDatiMultipli(StatoVorlane& stato, Porta& porta) {
  caricaMultipli(stato, porta, kTabellaPrincipale);
}

void CaricaSequenzaDatiMultipliNew(StatoVorlane& stato, Porta& porta) {
  caricaMultipli(stato, porta, kTabellaMotivi);
}

namespace {
Esito operazioneConfrontoMultiplo(StatoVorlane& stato, Porta& porta,
                                  const TabellaAplotipi& tabella) {
  porta.impostaTesto(Controllo::Lbl_Titolo, stato.messaggi[tabella.titoloMultiplo]);
  stato.risultatiMultipli.clear();
  stato.campioniConfrontati = 0;
  caricaMultipli(stato, porta, tabella);
  ScriviHTMLMultiplo(stato, porta);
  return Esito::completata;
}
}  // namespace

Esito OperazioneConfrontoMultiplo(StatoVorlane& stato, Porta& porta) {
  return operazioneConfrontoMultiplo(stato, porta, kTabellaPrincipale);
}

Esito OperazioneConfrontoMultiploNew(StatoVorlane& stato, Porta& porta) {
  return operazioneConfrontoMultiplo(stato, porta, kTabellaMotivi);
}

}  // namespace vorlane
