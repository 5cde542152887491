#include "haplotype/confronto_multiplo.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <optional>
#include <system_error>

#include "base/errore.h"
#include "haplotype/report_multiplo.h"
#include "log/registro.h"
#include "report/html.h"
#include "sequence/caricamento.h"
#include "sequence/lavoro_campioni.h"
#include "text/testo.h"

namespace vorlane {

namespace {
constexpr OpzioniCampioni kOpzioni{FormatoCampioni::fasta, true, false};
// The log is appended to in steps of a few megabytes, not once per batch.
constexpr std::size_t kPassoRegistro = 4 << 20;

bool stessoGiorno(const std::tm& a, const std::tm& b) {
  return a.tm_mday == b.tm_mday && a.tm_mon == b.tm_mon && a.tm_year == b.tm_year;
}
}  // namespace

ConfrontoMultiplo::ConfrontoMultiplo(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                                     const TabellaAplotipi& tabella,
                                     RisultatiMultipli& risultatiMultipli, PaginaMultiplo* pagina,
                                     TabellaRisultati* risultati, TabellaRisultati* profili)
    : stato_(stato),
      porta_(porta),
      risultatiMultipli_(risultatiMultipli),
      pagina_(pagina),
      risultati_(risultati),
      profili_(profili),
      intervallo_(testoIntervallo(caselle.da, caselle.a)),
      tabella_(tabella),
      regole_(regoleConfronto(stato, caselle)),
      memoria_(stato, regole_.intervallo.inizio, regole_.intervallo.fine),
      fisse_(stato, caselle),
      regoleCampione_{stato, regole_, memoria_, fisse_, albero_} {}

ConfrontoMultiplo::Appunti ConfrontoMultiplo::appunti() {
  Appunti a;
  a.campione = std::make_unique<CampioneMultiplo>(regoleCampione_, stato_.*tabella_.indice);
  return a;
}

// A batch's samples are compared within a few milliseconds: one reading dates them all, and the
// readings follow the file, so a day's file never gets a block of the day after before one of
// its own.
void ConfrontoMultiplo::inizia(Appunti& a) {
  a.giorno = stato_.registro.adesso();
  a.registro.clear();
  a.risultati.clear();
  a.righePagina->riportaA(0);
  a.righeRisultati->riportaA(0);
  a.righeProfili->riportaA(0);
  a.esclusi.svuota();
  a.sospetti.svuota();
}

void ConfrontoMultiplo::ConfrontaCampionamentoMultiplo(const Campione& c, Appunti& a) const {
  CampioneMultiplo& campione = *a.campione;
  if (!campione.leggi(c)) {
    if (campione.escluso()) a.esclusi.aggiungi(c.nome, *campione.escluso());
    return;
  }
  procedura(tabella_.confrontoMultiplo, [&] {
    BloccoRegistro blocco(a.registro);
    a.risultati.push_back(campione.confronta(campione.identificativo(), blocco, a.giorno));
    blocco.chiudi();
  });
  if (campione.sospetto()) a.sospetti.aggiungi(c.nome, *campione.sospetto());
  if (pagina_) PaginaMultiplo::righe(*a.righePagina, {&a.risultati.back(), 1});
  if (risultati_) {
    campione.rigaRisultati(a.riga, c, intervallo_);
    a.riga.fine(*a.righeRisultati);
  }
  if (profili_ && campione.rigaProfilo(a.riga)) a.riga.fine(*a.righeProfili);
}

void ConfrontoMultiplo::scriviRegistro(bool tutto) {
  if (registro_.empty() || (!tutto && registro_.size() < kPassoRegistro)) return;
  stato_.registro.accoda(registro_, giornoRegistro_);
  registro_.clear();
}

void ConfrontoMultiplo::consegna(Appunti& a) {
  esclusi_.accoda(a.esclusi);
  sospetti_.accoda(a.sospetti);
  if (!a.registro.empty()) {
    if (!registro_.empty() && !stessoGiorno(a.giorno, giornoRegistro_)) scriviRegistro(true);
    giornoRegistro_ = a.giorno;
    registro_.append(a.registro);
    scriviRegistro(false);
  }
  if (pagina_)
    pagina_->accoda(a.righePagina->testo(), risultatiMultipli_.size(), a.risultati.size());
  if (risultati_) risultati_->testo().accoda(a.righeRisultati->testo());
  if (profili_) profili_->testo().accoda(a.righeProfili->testo());
  risultatiMultipli_.insert(risultatiMultipli_.end(), std::make_move_iterator(a.risultati.begin()),
                            std::make_move_iterator(a.risultati.end()));
}

// Room for the results of the whole file at once, guessed from its size at one sample per
// interval's length of text (and a line end): the list of a hundred thousand samples would
// otherwise be moved a dozen times as it doubles. A wrong guess costs a later doubling, or room
// left unused; the cap keeps a file of very short lines from asking for too much.
void ConfrontoMultiplo::riservaRisultati() {
  constexpr std::uintmax_t kMassimo = 1 << 20;
  std::error_code errore;
  std::uintmax_t dimensione = std::filesystem::file_size(stato_.fileCampione, errore);
  if (errore || regole_.intervallo.attraversaOrigine()) return;
  auto perCampione =
      static_cast<std::uintmax_t>(regole_.intervallo.fine - regole_.intervallo.inizio) + 3;
  risultatiMultipli_.reserve(risultatiMultipli_.size() + static_cast<std::size_t>(std::min(
                                                             dimensione / perCampione, kMassimo)));
}

// Blocks handed on before an error reach the log before the error is reported.
void ConfrontoMultiplo::CaricaSequenzaDatiMultipli() {
  procedura(tabella_.caricaMultipli, [&] {
    riservaRisultati();
    LettoreCampioni file(stato_.fileCampione, kOpzioni);
    try {
      lavoraCampioni(file, *this);
    } catch (...) {
      scriviRegistro(true);
      throw;
    }
    scriviRegistro(true);
  });
}

void ConfrontoMultiplo::avvisaEsclusi() {
  for (const CampioniEsclusi* e : {&esclusi_, &sospetti_})
    if (!e->vuoto()) porta_.messaggio(e->testo(), kTitoloApplicazione, Icona::esclamazione);
}

namespace {
Esito operazioneConfrontoMultiplo(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                                  const TabellaAplotipi& tabella) {
  porta.impostaTesto(Controllo::Lbl_Titolo, stato.messaggi[tabella.titoloMultiplo]);
  RisultatiMultipli risultatiMultipli;
  // The page is written as the samples are compared. One that cannot be created is reported
  // where it always is, after the run, by a page written at the end.
  std::optional<PaginaMultiplo> pagina;
  try {
    pagina.emplace(stato, caselle);
  } catch (const ErroreVorlane&) {
    // Left to the page written at the end.
  }
  std::optional<TabellaRisultati> risultati, profili;
  procedura(tabella.caricaMultipli, [&] {
    const std::string nome = "ConfrontoMultiplo_" + nomeBaseReport(stato.fileCampione);
    risultati.emplace(stato, nome,
                      std::initializer_list<std::span<const std::string_view>>{kColonneCampione,
                                                                               kColonneConfronto});
    profili.emplace(stato, nome, TabellaRisultati::Profili{});
    ConfrontoMultiplo confronto(stato, porta, caselle, tabella, risultatiMultipli,
                                pagina ? &*pagina : nullptr, &*risultati, &*profili);
    confronto.CaricaSequenzaDatiMultipli();
    risultati->concludi(stato);
    profili->concludi(stato);
    confronto.avvisaEsclusi();
  });
  // The page's message says the work is done: the log must be written before it.
  stato.registro.svuota();
  if (pagina)
    procedura("ScriviHTMLMultiplo", [&] { pagina->concludi(stato, porta, risultatiMultipli); });
  else
    ScriviHTMLMultiplo(stato, porta, caselle, risultatiMultipli);
  return Esito::completata;
}
}  // namespace

Esito OperazioneConfrontoMultiplo(StatoVorlane& stato, Porta& porta, const Caselle& caselle) {
  return operazioneConfrontoMultiplo(stato, porta, caselle, kTabellaPrincipale);
}

Esito OperazioneConfrontoMultiploNew(StatoVorlane& stato, Porta& porta, const Caselle& caselle) {
  return operazioneConfrontoMultiplo(stato, porta, caselle, kTabellaMotivi);
}

}  // namespace vorlane
