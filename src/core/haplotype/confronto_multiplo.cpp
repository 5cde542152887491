#include "haplotype/confronto_multiplo.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <system_error>

#include "app/errore.h"
#include "haplotype/report_multiplo.h"
#include "io/memoria.h"
#include "sequence/campioni.h"
#include "sequence/pezzi.h"
#include "text/testo.h"

namespace vorlane {

namespace {
constexpr OpzioniCampioni kOpzioni{FormatoCampioni::fasta, true, false};

// What a piece of a large file yields: the blocks of its samples, dated by one reading of the
// clock, and their results, up to the error that ended it if one did.
struct BlocchiPezzo : LavoroPezzi::Uscita {
  // The sample, marks and search scratch the piece is compared with.
  CampioneMultiplo* campione = nullptr;
  std::tm giorno{};
  TestoGrande registro;
  RisultatiMultipli risultati;
  // The page's rows for the results, when the page is written during the run and the piece
  // ended well.
  ScrittoreTesto righePagina;
  bool righePronte = false;
  std::exception_ptr errore;
  bool letto = false;  // it held a record
};
}  // namespace

// Each piece in flight compares with a sample of its own. The pieces' blocks go to the log and
// their results to the list in file order.
class ConfrontoMultiplo::APezzi : public LavoroPezzi {
 public:
  explicit APezzi(ConfrontoMultiplo& confronto) : c_(confronto) {}

  // Room for a piece's blocks and results from the start (the blocks take about one and a half
  // times the piece's bytes, an HV1 piece holds some 3,700 samples): grown by doubling, they
  // would touch twice their size of fresh memory.
  std::unique_ptr<Uscita> nuova() override {
    auto b = std::make_unique<BlocchiPezzo>();
    campioni_.push_back(
        std::make_unique<CampioneMultiplo>(c_.regoleCampione_, c_.principale_->indice()));
    b->campione = campioni_.back().get();
    b->registro.reserve(4 << 20);
    b->risultati.reserve(1 << 12);
    return b;
  }

  // A piece's samples are compared within a few milliseconds: one reading dates them all, and the
  // readings follow the file, so a day's file never gets a block of the day after before one of
  // its own.
  void prepara(Uscita& uscita) override {
    auto& b = static_cast<BlocchiPezzo&>(uscita);
    b.giorno = c_.stato_.orologio();
    b.registro.clear();
    b.risultati.clear();
    b.righePagina.riportaA(0);
    b.righePronte = false;
    b.errore = nullptr;
    b.letto = false;
  }

  bool fai(LettoreCampioni& file, Uscita& uscita) override {
    auto& b = static_cast<BlocchiPezzo&>(uscita);
    CampioneMultiplo& campione = *b.campione;
    try {
      for (RecordCampione r; file.prossimo(r);) {
        b.letto = true;
        if (!campione.leggi(r)) continue;
        procedura(c_.tabella_.confrontoMultiplo, [&] {
          BloccoRegistro blocco(b.registro);
          b.risultati.push_back(campione.confronta(campione.identificativo(), blocco, b.giorno));
          blocco.chiudi();
        });
      }
      if (c_.pagina_) {
        PaginaMultiplo::righe(b.righePagina, b.risultati);
        b.righePronte = true;
      }
      return true;
    } catch (...) {
      b.errore = std::current_exception();
      return false;
    }
  }

  void consegna(Uscita& uscita) override {
    auto& b = static_cast<BlocchiPezzo&>(uscita);
    if (!b.registro.empty()) accodaRegistro(c_.stato_, b.registro, b.giorno);
    auto& risultati = c_.stato_.risultatiMultipli;
    if (b.righePronte)
      c_.pagina_->accoda(b.righePagina.testo(), risultati.size(), b.risultati.size());
    risultati.insert(risultati.end(), std::make_move_iterator(b.risultati.begin()),
                     std::make_move_iterator(b.risultati.end()));
    c_.stato_.campioniConfrontati += static_cast<double>(b.risultati.size());
    if (!b.risultati.empty()) {
      ultimo_ = b.campione;
      confrontati_ = true;
      dopoUltimo_ = false;
    } else if (b.letto) {
      dopoUltimo_ = true;
    }
  }

  // Leaves in the state the last sample compared, as a reading in one go does.
  void concludi() {
    if (!confrontati_) return;
    if (dopoUltimo_) ultimo_->svuota();
    ultimo_->consegnaA(c_.stato_);
    c_.stato_.lunghezzaCampione = kUltimaPosizione;
  }

 private:
  ConfrontoMultiplo& c_;
  // The pieces' samples, kept past the work for concludi; new ones are made one at a time.
  std::vector<std::unique_ptr<CampioneMultiplo>> campioni_;
  // The sample that compared the last sample handed on, and whether records came after it.
  CampioneMultiplo* ultimo_ = nullptr;
  bool confrontati_ = false, dopoUltimo_ = false;
};

std::uintmax_t ConfrontoMultiplo::aPezzi() {
  APezzi lavoro(*this);
  EsitoPezzi esito = lavoraAPezzi(stato_.fileCampione, kOpzioni, '>', lavoro);
  if (esito.incompleta) {
    // The blocks and results before the error, then the error: what a reading in one go gives.
    auto& b = static_cast<BlocchiPezzo&>(*esito.incompleta);
    lavoro.consegna(b);
    if (b.errore) std::rethrow_exception(b.errore);
  }
  lavoro.concludi();
  return esito.completo ? UINTMAX_MAX : esito.daQui;
}

ConfrontoMultiplo::ConfrontoMultiplo(StatoVorlane& stato, Porta& porta,
                                     const TabellaAplotipi& tabella, PaginaMultiplo* pagina)
    : stato_(stato),
      pagina_(pagina),
      tabella_(tabella),
      regole_(regoleConfronto(stato, porta)),
      memoria_(stato, regole_.da, regole_.a),
      fisse_(stato, porta),
      regoleCampione_{stato, regole_, memoria_, fisse_},
      principale_(std::make_unique<CampioneMultiplo>(
          regoleCampione_, IndiceAplotipi(stato.*tabella.griglia), stato)) {}

ConfrontoMultiplo::~ConfrontoMultiplo() = default;

// Room for the results of the whole file at once, guessed from its size at one sample per
// interval's length of text (and a line end): the list of a hundred thousand samples would
// otherwise be moved a dozen times as it doubles. A wrong guess costs a later doubling, or room
// left unused; the cap keeps a file of very short lines from asking for too much.
void ConfrontoMultiplo::riservaRisultati(std::uintmax_t dimensione) {
  constexpr std::uintmax_t kMassimo = 1 << 20;
  if (!(regole_.a >= regole_.da)) return;
  double lunghezza = std::min(regole_.a - regole_.da, static_cast<double>(kUltimaPosizione));
  auto perCampione = static_cast<std::uintmax_t>(lunghezza) + 3;
  auto& risultati = stato_.risultatiMultipli;
  risultati.reserve(risultati.size() +
                    static_cast<std::size_t>(std::min(dimensione / perCampione, kMassimo)));
}

void ConfrontoMultiplo::CaricaSequenzaDatiMultipli() {
  procedura(tabella_.caricaMultipli, [&] {
    std::error_code errore;
    std::uintmax_t dimensione = std::filesystem::file_size(stato_.fileCampione, errore);
    if (errore) dimensione = 0;
    riservaRisultati(dimensione);
    leggiInUnaVolta(daTagliare(dimensione) ? aPezzi() : 0);
  });
}

void ConfrontoMultiplo::leggiInUnaVolta(std::uintmax_t da) {
  if (da == UINTMAX_MAX) return;
  LettoreCampioni file(stato_.fileCampione, kOpzioni, TrattoFile{da});
  RecordCampione r;
  while (file.prossimo(r)) {
    if (!principale_->leggi(r)) continue;
    stato_.lunghezzaCampione = kUltimaPosizione;
    ConfrontaCampionamentoMultiplo(principale_->identificativo());
  }
}

void ConfrontoMultiplo::ConfrontaCampionamentoMultiplo(std::string_view identificativo) {
  procedura(tabella_.confrontoMultiplo, [&] {
    // One clock reading dates the block and picks the day's file it goes to.
    std::tm adesso = stato_.orologio();
    BloccoRegistro blocco(stato_, adesso);
    RisultatoCampione risultato = principale_->confronta(identificativo, blocco, adesso);
    blocco.scrivi(stato_);
    stato_.risultatiMultipli.push_back(std::move(risultato));
    stato_.campioniConfrontati += 1;
  });
}

namespace {
void caricaMultipli(StatoVorlane& stato, Porta& porta, const TabellaAplotipi& tabella,
                    PaginaMultiplo* pagina = nullptr) {
  procedura(tabella.caricaMultipli, [&] {
    ConfrontoMultiplo confronto(stato, porta, tabella, pagina);
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
  // The page is written as the samples are compared. One that cannot be created is reported
  // where it always is, after the run, by a page written at the end.
  std::optional<PaginaMultiplo> pagina;
  try {
    pagina.emplace(stato, porta);
  } catch (const ErroreVorlane&) {
    // Left to the page written at the end.
  }
  caricaMultipli(stato, porta, tabella, pagina ? &*pagina : nullptr);
  // The page's message says the work is done: the log must be written before it.
  SvuotaRegistro(stato);
  if (pagina)
    procedura("ScriviHTMLMultiplo", [&] { pagina->concludi(stato, porta); });
  else
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
