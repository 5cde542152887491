#include "convert/conversione.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "align/collocazione.h"
#include "base/errore.h"
#include "io/scrittura.h"
#include "report/risultati.h"
#include "sequence/differenze.h"
#include "sequence/lavoro_campioni.h"
#include "stato/messaggi.h"
#include "text/blocchi.h"
#include "text/testo.h"

namespace vorlane {
using namespace std::literals;
namespace {

// What tells the two conversions apart beyond the reading of their lines.
struct FormatoConversione {
  const char* etichetta;
  FormatoCampioni formato;
  std::size_t taglio;  // characters of the extension
  msg::Messaggio titoloDomanda;
  msg::Messaggio testoFine, titoloFine;
};
constexpr FormatoConversione kFasta{
    "ConvertiFASTAinTabella",   FormatoCampioni::fasta,         6,
    msg::fastaTabellaEsistente, msg::elaborazioneFastaEseguita, msg::elaborazioneFasta};
constexpr FormatoConversione kArlequin{
    "ConvertiARLinTabella",        FormatoCampioni::arlequin, 4,
    msg::arlequinTabellaEsistente, msg::tabellaDaArlequin,    msg::conversioneArlequin};

constexpr std::size_t kTaglioProfili = 4;  // ".hsd"

// False when the user keeps the table already there.
bool sovrascritturaConsentita(const Contesto& stato, Porta& porta, const FormatoConversione& f,
                              const NomeBase& base, const std::filesystem::path& tabella) {
  const auto& m = stato.messaggi;
  return sostituzioneConsentita(porta, tabella,
                                m[msg::tabellaGiaEsistente] + " " + base.testo + ".txt\r\n" +
                                    m[msg::contenutoAndraPerso] + "\r\n" +
                                    m[msg::sovrascrivereTabella],
                                m[f.titoloDomanda]);
}

// Rows are built in place in the table's buffer: base and name, frequency, then each token
// followed by "-". `inizio` is the base and the blank after it, joined once per file.
void iniziaRiga(ScrittoreTesto& tabella, std::string_view inizio, std::string_view nome,
                std::string_view frequenza) {
  tabella.aggiungi(inizio, nome, "\t"sv, frequenza, "\t"sv);
}

// A FASTA row's name, with the frequency columns every FASTA row has.
void iniziaRigaFasta(ScrittoreTesto& tabella, std::string_view inizio, std::string_view nome) {
  tabella.aggiungi(inizio, nome, "\t1\t"sv);
}

void aggiungiMutazioni(ScrittoreTesto& tabella, const ConfrontoRiferimento& confronto,
                       std::string_view sequenza) {
  char* p = tabella.spazio(confronto.spazioMassimo(sequenza.size()));
  tabella.avanza(confronto.scriviMutazioni(p, sequenza));
}

// The last character of a row under construction is the "-" after its last token, or the TAB
// after the frequency when it has none; neither belongs in the table.
void chiudiRiga(ScrittoreTesto& tabella) {
  tabella.ritira(1);
  tabella.fineRiga();
}

// What the results table's rows are made against: the file, the interval, the reference over it.
struct RiferimentoRisultati {
  TabellaRisultati& tabella;
  TabellaRisultati& profili;
  const std::filesystem::path& file;
  std::string intervallo;
  std::string_view testo;
  int inizio;
  std::string piega = piegaDi(testo);
};

// How samples are placed: from the interval's start, or through a Collocatore (aligned, or
// across the origin), against the whole reference (entry p for position p).
struct Collocamento {
  bool collocaCampioni;
  bool allinea;
  Intervallo intervallo;
  const std::string& riferimento;
  TabellaCaratteri caratteri;
};

// One row per sample, made on the engine's threads into its batch's text and added to the table
// in file order. A FASTA header without sequence lines still gets its row; sequence before any
// header gets the name and frequency columns too, named by the base alone: a row of bare tokens
// could not be read back.
class RigheConversione {
 public:
  struct Appunti {
    std::unique_ptr<ScrittoreTesto> righe = std::make_unique<ScrittoreTesto>();
    std::unique_ptr<ScrittoreTesto> risultati = std::make_unique<ScrittoreTesto>();
    std::unique_ptr<ScrittoreTesto> profili = std::make_unique<ScrittoreTesto>();
    RigaRisultati riga;
    std::vector<Variante> varianti;
    std::vector<Intervallo> tratti;
    std::vector<int> mancanti;
    std::unique_ptr<Collocatore> collocatore;
    std::string sequenza = std::string(kUltimaPosizione + 1, ' ');
    std::string token;
    CampioniEsclusi esclusi;
    CampioniEsclusi sospetti{true};
    std::vector<int> posizioni;
  };
  RigheConversione(ScrittoreTesto& tabella, const NomeBase& base,
                   const ConfrontoRiferimento& confronto, FormatoCampioni formato,
                   const RiferimentoRisultati& riferimento, const Collocamento& collocamento)
      : tabella_(tabella),
        inizio_(base.testo + " "),
        confronto_(confronto),
        fasta_(formato == FormatoCampioni::fasta),
        r_(riferimento),
        c_(collocamento) {}

  Appunti appunti() {
    Appunti a;
    a.collocatore = std::make_unique<Collocatore>(c_.allinea, c_.intervallo, c_.caratteri);
    return a;
  }
  void inizia(Appunti& a) {
    a.righe->riportaA(0);
    a.risultati->riportaA(0);
    a.profili->riportaA(0);
    a.esclusi.svuota();
    a.sospetti.svuota();
  }
  void fai(const Campione& c, Appunti& a) const;
  void consegna(Appunti& a) {
    tabella_.accoda(a.righe->testo());
    r_.tabella.testo().accoda(a.risultati->testo());
    r_.profili.testo().accoda(a.profili->testo());
    esclusi_.accoda(a.esclusi);
    sospetti_.accoda(a.sospetti);
  }
  const CampioniEsclusi& esclusi() const { return esclusi_; }
  const CampioniEsclusi& sospetti() const { return sospetti_; }

 private:
  void iniziaRigaCampione(ScrittoreTesto& righe, const Campione& c) const {
    if (fasta_)
      iniziaRigaFasta(righe, inizio_, c.nome);
    else
      iniziaRiga(righe, inizio_, c.nome, c.frequenza);
  }
  void faiCollocato(const Campione& c, Appunti& a) const;
  void rigaProfilo(const Campione& c, Appunti& a) const;

  ScrittoreTesto& tabella_;
  const std::string inizio_;
  const ConfrontoRiferimento& confronto_;
  const bool fasta_;
  const RiferimentoRisultati& r_;
  const Collocamento& c_;
  CampioniEsclusi esclusi_;
  CampioniEsclusi sospetti_{true};
};

void RigheConversione::fai(const Campione& c, Appunti& a) const {
  if ((c_.collocaCampioni || c.conProfilo) && c.conSequenza) return faiCollocato(c, a);
  ScrittoreTesto& righe = *a.righe;
  iniziaRigaCampione(righe, c);
  aggiungiMutazioni(righe, confronto_, c.sequenza);
  chiudiRiga(righe);
  differenzeTesto(c.sequenza, r_.testo, r_.piega, r_.inizio, 'N', a.varianti, &a.mancanti);
  a.riga.campione(r_.file, c.nome, c.frequenza, r_.intervallo, a.varianti);
  a.riga.fine(*a.risultati);
  // The text's characters from the interval's start.
  const int coperte = static_cast<int>(std::min(c.sequenza.size(), r_.testo.size()));
  a.tratti.clear();
  if (coperte > 0) trattiSenza({r_.inizio, r_.inizio + coperte - 1}, a.mancanti, a.tratti);
  rigaProfilo(c, a);
  a.posizioni.clear();
  for (const Variante& v : a.varianti) a.posizioni.push_back(v.posizione);
  if (auto motivo = collocazioneSospetta(c.sequenza.size(), r_.testo.size(), a.posizioni))
    a.sospetti.aggiungi(c.nome, *motivo);
}

// A placed sample's row: its differences as tokens. One that has no place gets no row, which
// the normalisation would rebuild as the reference.
void RigheConversione::faiCollocato(const Campione& c, Appunti& a) const {
  if (auto motivo = a.collocatore->colloca(c, a.sequenza)) {
    a.esclusi.aggiungi(c.nome, *motivo);
    return;
  }
  differenzeCollocate(a.sequenza, c_.riferimento, a.collocatore->dentro(), a.varianti);
  a.token.clear();
  for (const Variante& v : a.varianti)
    scriviToken(a.token, v, c_.riferimento[static_cast<std::size_t>(v.posizione)]);
  ScrittoreTesto& righe = *a.righe;
  iniziaRigaCampione(righe, c);
  righe.aggiungi(a.token);
  chiudiRiga(righe);
  a.riga.campione(r_.file, c.nome, c.frequenza, r_.intervallo, a.varianti);
  a.riga.fine(*a.risultati);
  trattiCollocati(a.sequenza, a.collocatore->dentro(), a.tratti);
  rigaProfilo(c, a);
}

// A profile's haplogroup goes on as its file gave it; a sample covering nothing has no profile.
void RigheConversione::rigaProfilo(const Campione& c, Appunti& a) const {
  if (a.tratti.empty()) return;
  a.riga.profilo(c.nome, a.tratti, c.conProfilo ? c.profilo.aplogruppo : "", a.varianti)
      .fine(*a.profili);
}

// All the rows of the file; false when a line without TAB stopped the conversion. An empty
// Arlequin line has no TAB and stops it like any other.
bool righeFile(const std::filesystem::path& campioni, ScrittoreTesto& tabella, const NomeBase& base,
               const ConfrontoRiferimento& confronto, FormatoCampioni formato,
               const RiferimentoRisultati& riferimento, const Collocamento& collocamento,
               CampioniEsclusi& esclusi, CampioniEsclusi& sospetti) {
  LettoreCampioni file(campioni, {formato, false, formato == FormatoCampioni::fasta});
  RigheConversione righe(tabella, base, confronto, formato, riferimento, collocamento);
  const bool finito = lavoraCampioni(file, righe);
  esclusi = righe.esclusi();
  sospetti = righe.sospetti();
  return finito;
}

std::string_view riferimentoSu(const Contesto& stato, Intervallo intervallo) {
  std::string_view r = stato.sequenzaRiferimento;
  auto inizio = static_cast<std::size_t>(std::max(intervallo.inizio, 0));
  if (inizio >= r.size()) return {};
  return r.substr(inizio, intervallo.lunghezza());
}

void avvisoRigaSenzaTab(const StatoVorlane& stato, Porta& porta) {
  const auto& m = stato.messaggi;
  porta.puntatoreOccupato(false);
  porta.messaggio(m[msg::rigaSenzaTabulazioni] + " \r\n" + testoPercorso(stato.fileCampione) +
                      "\r\n" + m[msg::campiSeparatiDaTab] + "\r\n" +
                      m[msg::togliereIntestazioniArlequin],
                  m[msg::vorlane], Icona::informazione);
}

void messaggioFine(const Contesto& stato, Porta& porta, const FormatoConversione& f,
                   const std::filesystem::path& tabella) {
  const auto& m = stato.messaggi;
  porta.puntatoreOccupato(false);
  porta.messaggio(
      m[f.testoFine] + " \r\n" + testoPercorso(tabella) + "\r\n" + m[msg::operazioneCompletata],
      m[f.titoloFine], Icona::informazione);
}

Esito converti(StatoVorlane& stato, Porta& porta, const FormatoConversione& f) {
  return procedura(f.etichetta, [&] {
    const Intervallo intervallo = intervalloAnalisi(stato);
    // A sample N is missing data, in either format.
    ConfrontoRiferimento confronto(stato.sequenzaRiferimento, intervallo, true);
    const Collocamento collocamento{collocaCampioni(stato.allinea, intervallo), stato.allinea,
                                    intervallo, stato.sequenzaRiferimento,
                                    tabellaCaratteri(stato.caratteriValidi)};
    CampioniEsclusi esclusi, sospetti(true);
    NomeBase base =
        nomeBase(stato.fileCampione, nomeDiProfili(stato.fileCampione) ? kTaglioProfili : f.taglio);
    std::filesystem::path tabella = stato.cartellaDati / (base.nativo + ".txt");
    if (!sovrascritturaConsentita(stato, porta, f, base, tabella)) return Esito::interrotta;

    ScrittoreTesto uscita(tabella);
    for (msg::Messaggio testata : {msg::testataTabellaMutazioni, msg::testataColonne,
                                   msg::testataCodici, msg::testataSeparatore})
      uscita.riga(stato.messaggi[testata]);
    TabellaRisultati risultati(stato, "Conversione_" + base.testo, {kColonneCampione});
    TabellaRisultati profili(stato, "Conversione_" + base.testo, TabellaRisultati::Profili{});
    const RiferimentoRisultati riferimento{
        risultati,
        profili,
        stato.fileCampione,
        testoIntervallo(stato.impostazioni.InizioSequenza, stato.impostazioni.FineSequenza),
        riferimentoSu(stato, intervallo),
        intervallo.inizio};
    const bool finito = righeFile(stato.fileCampione, uscita, base, confronto, f.formato,
                                  riferimento, collocamento, esclusi, sospetti);
    for (const CampioniEsclusi* e : {&esclusi, &sospetti})
      if (!e->vuoto()) porta.messaggio(e->testo(), kTitoloApplicazione, Icona::esclamazione);
    if (!finito) {
      // The user is told to clean the file and run again; the rows so far stay for reference.
      uscita.conferma();
      avvisoRigaSenzaTab(stato, porta);
      return Esito::interrotta;
    }
    uscita.conferma();
    risultati.concludi(stato);
    profili.concludi(stato);
    messaggioFine(stato, porta, f, tabella);
    return Esito::completata;
  });
}

}  // namespace

ConfrontoRiferimento::ConfrontoRiferimento(const std::string& riferimento, Intervallo intervallo,
                                           bool ignoraN, bool avx2)
    // maiuscola never gives a lower-case letter.
    : ignorato_(ignoraN ? 'N' : 'a'), avx2_(avx2 && avx2Disponibile()) {
  if (intervallo.inizio >= 1 && static_cast<std::size_t>(intervallo.inizio) < riferimento.size())
    minuscolo_ =
        riferimento.substr(static_cast<std::size_t>(intervallo.inizio), intervallo.lunghezza());
  piega_ = piegaDi(minuscolo_);
  posizioni_.resize(minuscolo_.size());
  for (std::size_t k = 0; k < posizioni_.size(); ++k)
    posizioni_[k] =
        TokenPosizione::di(static_cast<std::size_t>(intervallo.inizio) + k, minuscolo_[k]);
}

ConfrontoRiferimento::Tavole ConfrontoRiferimento::tavole() const {
  return {minuscolo_.data(), piega_.data(),
          reinterpret_cast<const char*>(dettaglio::kMaiuscole.maiuscole), posizioni_.data(),
          ignorato_};
}

void scriviToken(std::string& riga, const Variante& v, char riferimento) {
  if (v.inserzione == 0 && !v.delezione()) {
    char testo[sizeof(TokenPosizione) + 2];
    char* fine = TokenPosizione::di(static_cast<std::size_t>(v.posizione), riferimento)
                     .scrivi(testo, v.base);
    riga.append(testo, fine);
    return;
  }
  aggiungiVariante(riga, v);
  riga.push_back('-');
}

inline char* ConfrontoRiferimento::scriviToken(char* p, std::size_t k, char carattere,
                                               const Tavole& t) {
  const TokenPosizione& posizione = t.posizioni[k];
  char campione = t.maiuscole[static_cast<unsigned char>(carattere)];
  // The "x" at 3107 (no partner) has nothing to differ from.
  bool diverso =
      (campione != posizione.maiuscolo) & (campione != t.ignorato) & (posizione.partner != 0);
  char* fine = posizione.scrivi(p, campione);
  return diverso ? fine : p;
}

char* ConfrontoRiferimento::scriviMutazioni(char* p, std::string_view sequenza) const {
  const std::size_t n = std::min(sequenza.size(), posizioni_.size());
  const Tavole t = tavole();
  // Each character that differs from the reference even folded to lower case writes its token,
  // kept only when it really differs (an N, the reference's own base in upper case).
  perOgniDifferenza(
      sequenza.data(), t.minuscolo, t.piega, n,
      [&](std::size_t k) { p = scriviToken(p, k, sequenza[k], t); }, avx2_);
  return p;
}

void ConfrontoRiferimento::aggiungiMutazioni(std::string& riga, std::string_view sequenza) const {
  std::size_t usato = riga.size();
  riga.resize(usato + spazioMassimo(sequenza.size()));
  riga.resize(
      static_cast<std::size_t>(scriviMutazioni(riga.data() + usato, sequenza) - riga.data()));
}

Esito ConvertiFASTAinTabella(StatoVorlane& stato, Porta& porta, const Caselle&) {
  return converti(stato, porta, kFasta);
}

Esito ConvertiARLinTabella(StatoVorlane& stato, Porta& porta, const Caselle&) {
  return converti(stato, porta, kArlequin);
}

}  // namespace vorlane
