#include "mutation/controllo.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>

#include "align/collocazione.h"
#include "base/errore.h"
#include "log/registro.h"
#include "mutation/matrice.h"
#include "report/html.h"
#include "report/risultati.h"
#include "sequence/caricamento.h"
#include "sequence/differenze.h"
#include "sequence/lavoro_campioni.h"
#include "stato/messaggi.h"
#include "stato/parametri.h"
#include "text/date.h"
#include "text/testo.h"

namespace vorlane {
namespace {

struct Formato {
  const char* procedura;
  FormatoCampioni formato;
  const char* separatoreData;         // in the first log line
  msg::Messaggio messaggioNonValida;  // what follows the entry in the invalid-position text
};

constexpr Formato kFasta{"ControlloMutazioniFASTA", FormatoCampioni::fasta, " : ", msg::nonValida};
constexpr Formato kArlequin{"ControlloMutazioniARL", FormatoCampioni::arlequin, ": ",
                            msg::nonValidaOFuoriIntervallo};

// A listed position, ready for the per-record comparison.
struct PosizioneEsaminata {
  int posizione;
  std::size_t colonna;  // 0-based column of the sample text holding its base
};

// The outcome of checking listaPosizioni: the positions, or the entry that stops the run.
struct EsameLista {
  enum class Esito { valida, nonValida, fuoriIntervallo };
  Esito esito = Esito::valida;
  std::string voce;
  std::vector<PosizioneEsaminata> posizioni;
  // The reference under the sample's columns up to the last listed one, and its fold.
  std::string_view riferimento;
  std::string piega;
};

bool nelRiferimento(const StatoVorlane& stato, double posizione) {
  double p = arrotondaPari(posizione);
  return p >= 1 && p < static_cast<double>(stato.sequenzaRiferimento.size());
}

// Entries must be whole numbers written with at least five characters (00073 for 73) and lie in
// the analysis interval; the interval is also kept inside the reference, whatever the settings
// say.
EsameLista esaminaLista(const StatoVorlane& stato) {
  EsameLista esame;
  double inizio = numeroIniziale(stato.impostazioni.InizioSequenza);
  double fine = numeroIniziale(stato.impostazioni.FineSequenza);
  // Across the origin the interval is the start to 16569 and 1 to the end.
  auto fuori = [&](double p) {
    return fine < inizio ? p < inizio && p > fine : p < inizio || p > fine;
  };
  for (const std::string& voce : stato.listaPosizioni) {
    std::optional<double> p = interoRigoroso(voce);
    EsameLista::Esito errore = EsameLista::Esito::valida;
    if (!p || voce.size() < 5)
      errore = EsameLista::Esito::nonValida;
    else if (fuori(*p) || !nelRiferimento(stato, *p))
      errore = EsameLista::Esito::fuoriIntervallo;
    if (errore != EsameLista::Esito::valida) {
      esame.esito = errore;
      esame.voce = voce;
      esame.posizioni.clear();
      return esame;
    }
    auto indice = static_cast<std::size_t>(arrotondaPari(*p));
    double colonna = arrotondaPari(*p - inizio + 1);
    esame.posizioni.push_back(
        {static_cast<int>(indice), static_cast<std::size_t>(colonna < 1 ? 0 : colonna - 1)});
  }
  // The interval starts at a whole position, so every column lies the same way over the
  // reference.
  std::size_t colonne = 0;
  for (const PosizioneEsaminata& p : esame.posizioni) colonne = std::max(colonne, p.colonna + 1);
  if (!esame.posizioni.empty()) {
    const PosizioneEsaminata& primo = esame.posizioni.front();
    esame.riferimento =
        std::string_view(stato.sequenzaRiferimento)
            .substr(static_cast<std::size_t>(primo.posizione) - primo.colonna, colonne);
    esame.piega = piegaDi(esame.riferimento);
  }
  return esame;
}

// What a character other than the reference's letter is at a listed position: another base, a
// deletion or a heteroplasmy is a mutation; N, "?" and any other sign are missing data.
Marca marcaDiversa(char c) {
  return eBase(minuscola(c)) || c == '-' || codiceAmbiguo(c) ? kMutata : kMancante;
}

// A listed column differs where the sample's character is not the reference's letter in either
// case; a text too short to reach a column is missing there.
void marcaCampione(const EsameLista& esame, std::string_view sequenza, std::uint8_t* marche,
                   std::vector<std::uint64_t>& diverse) {
  const std::size_t n = std::min(sequenza.size(), esame.riferimento.size());
  diverse.assign((n + 63) / 64, 0);
  perOgniDifferenza(sequenza.data(), esame.riferimento.data(), esame.piega.data(), n,
                    [&](std::size_t k) { diverse[k / 64] |= std::uint64_t{1} << (k % 64); });
  for (std::size_t j = 0; j < esame.posizioni.size(); ++j) {
    const std::size_t k = esame.posizioni[j].colonna;
    if (k >= n)
      marche[j] = kMancante;
    else
      marche[j] = (diverse[k / 64] >> (k % 64) & 1) != 0 ? marcaDiversa(sequenza[k]) : kUguale;
  }
}

// The same for a sample placed on the reference (in `sequenza`, entry p for position p): a
// listed position it does not cover is missing.
void marcaCollocato(const EsameLista& esame, const StatoVorlane& stato,
                    const CampioneCollocato& campione, const std::string& sequenza,
                    std::uint8_t* marche) {
  for (std::size_t j = 0; j < esame.posizioni.size(); ++j) {
    const auto p = static_cast<std::size_t>(esame.posizioni[j].posizione);
    const char c = sequenza[p];
    if (!campione.coperto.contiene(esame.posizioni[j].posizione))
      marche[j] = kMancante;
    else
      marche[j] = minuscola(c) == stato.sequenzaRiferimento[p] ? kUguale : marcaDiversa(c);
  }
}

void scriviIntestazione(StatoVorlane& stato, const Caselle& caselle, const Formato& v,
                        const std::tm& giorno) {
  const auto& m = stato.messaggi;
  const Impostazioni& imp = stato.impostazioni;
  stato.registro.ScriviLogOperazioni("*--- " + m[msg::analisiVorlane] + v.separatoreData +
                                         dataOraGenerale(giorno) + " -----------*",
                                     giorno);
  stato.registro.ScriviLogOperazioni(
      m[msg::sequenzaRiferimento] + std::string(10, ' ') + ": " + stato.citazioneRiferimento,
      giorno);
  stato.registro.ScriviLogOperazioni(m[msg::fileSequenzeAnalizzato] + std::string(6, ' ') + ": " +
                                         inUnaRiga(testoPercorso(stato.fileCampione)),
                                     giorno);
  stato.registro.ScriviLogOperazioni(m[msg::intervalloMutazioni] + std::string(10, ' ') + ": " +
                                         m[msg::da] + " " + inUnaRiga(imp.NumeroMutazioniDa) + " " +
                                         m[msg::a] + " " + inUnaRiga(imp.NumeroMutazioniA),
                                     giorno);
  stato.registro.ScriviLogOperazioni(
      m[msg::listaPosizioniMutazione] + std::string(5, ' ') + ": " + inUnaRiga(caselle.posizioni),
      giorno);
}

void avvisoLista(const StatoVorlane& stato, Porta& porta, const Formato& v,
                 const EsameLista& esame) {
  const auto& m = stato.messaggi;
  const Impostazioni& imp = stato.impostazioni;
  std::string testo = m[msg::laPosizione] + " " + esame.voce + " ";
  if (esame.esito == EsameLista::Esito::nonValida)
    testo += m[v.messaggioNonValida] + "\r\n" + m[msg::scrivereCinqueCifre];
  else
    testo += m[msg::nonValidaOFuoriIntervallo] + "\r\n" + m[msg::intervalloAnalisiImpostato] + " " +
             imp.InizioSequenza + "-" + imp.FineSequenza;
  porta.messaggio(testo, m[msg::posizioniNonAccettate], Icona::informazione);
}

void avvisoSenzaTab(const StatoVorlane& stato, Porta& porta) {
  const auto& m = stato.messaggi;
  porta.messaggio(m[msg::rigaSenzaTabulazioni] + " \r\n" + testoPercorso(stato.fileCampione) +
                      "\r\n" + m[msg::campiSeparatiDaTab] + "\r\n" +
                      m[msg::togliereIntestazioniArlequin],
                  m[msg::vorlane], Icona::informazione);
}

// Each sample marked at the listed positions, on the engine's threads, into its batch's matrix,
// with its lines for the log; batches join the run's matrix and lines in file order. The lines
// reach the log only once every sample has been read: a run that stops leaves none.
class MarcheCampioni {
 public:
  struct Appunti {
    MatriceMutazioni matrice;
    std::string righe;
    std::unique_ptr<ScrittoreTesto> risultati = std::make_unique<ScrittoreTesto>();
    double mutati = 0;
    std::string nome, mutazioni, spazio;
    std::vector<Variante> varianti;
    RigaRisultati riga;
    std::vector<std::uint64_t> diverse;  // the sample's columns that differ, bit by bit
    // A placed sample, entry p for position p, and what was left out of the run.
    std::unique_ptr<Collocatore> collocatore;
    std::string sequenza = std::string(kUltimaPosizione + 1, ' ');
    std::string ultima;  // its characters at the listed positions
    CampioniEsclusi esclusi;
  };

  MarcheCampioni(const StatoVorlane& stato, const EsameLista& lista, MatriceMutazioni& matrice,
                 TabellaRisultati& risultati)
      : stato_(stato),
        lista_(lista),
        matrice_(matrice),
        risultati_(risultati),
        file_(stato.fileCampione),
        intervallo_(
            testoIntervallo(stato.impostazioni.InizioSequenza, stato.impostazioni.FineSequenza)),
        etichettaCampione_(stato.messaggi[msg::campioneControllo] + std::string(22, ' ') + ": "),
        etichettaMutazioni_(stato.messaggi[msg::mutazioni] + std::string(21, ' ') + ": "),
        analisi_{static_cast<int>(numeroIniziale(stato.impostazioni.InizioSequenza)),
                 static_cast<int>(numeroIniziale(stato.impostazioni.FineSequenza))},
        collocaCampioni_(collocaCampioni(stato.allinea, analisi_)),
        caratteri_(tabellaCaratteri(stato)) {}

  Appunti appunti() {
    Appunti a;
    a.collocatore = std::make_unique<Collocatore>(stato_.allinea, analisi_, caratteri_);
    return a;
  }
  void inizia(Appunti& a) {
    a.matrice = MatriceMutazioni();
    a.matrice.impostaPosizioni(matrice_.posizioni());
    a.righe.clear();
    a.risultati->riportaA(0);
    a.mutati = 0;
    a.esclusi.svuota();
  }
  void fai(const Campione& c, Appunti& a) const;
  void consegna(Appunti& a) {
    matrice_.accoda(a.matrice);
    righe_.append(a.righe);
    risultati_.testo().accoda(a.risultati->testo());
    mutati_ += a.mutati;
    esclusi_.accoda(a.esclusi);
  }

  std::string prendiRighe() { return std::move(righe_); }
  double mutati() const { return mutati_; }
  const CampioniEsclusi& esclusi() const { return esclusi_; }

 private:
  bool marca(const Campione& c, Appunti& a, std::uint8_t*& marche) const;
  void righeMarche(const std::string& etichetta, const std::uint8_t* marche, Marca quale,
                   Appunti& a, BloccoRegistro& righe) const;
  void rigaRisultati(const Campione& c, const std::uint8_t* marche, Appunti& a) const;

  const StatoVorlane& stato_;
  const EsameLista& lista_;
  MatriceMutazioni& matrice_;
  TabellaRisultati& risultati_;
  const std::filesystem::path& file_;
  const std::string intervallo_;
  const std::string etichettaCampione_, etichettaMutazioni_;
  const std::string etichettaMancanti_ = "Dati mancanti" + std::string(17, ' ') + ": ";
  const Intervallo analisi_;  // the settings' interval, checked when the run started
  const bool collocaCampioni_;
  const TabellaCaratteri caratteri_;
  std::string righe_;
  double mutati_ = 0;
  CampioniEsclusi esclusi_;
};

// The sample's marks in a new row of the batch's matrix; false, with the sample among those
// left out, when it could not be placed.
bool MarcheCampioni::marca(const Campione& c, Appunti& a, std::uint8_t*& marche) const {
  if (!collocaCampioni_ && !c.conProfilo) {
    marche = a.matrice.aggiungiCampione(a.nome);
    marcaCampione(lista_, c.sequenza, marche, a.diverse);
    return true;
  }
  if (auto motivo = a.collocatore->colloca(c, a.sequenza)) {
    a.esclusi.aggiungi(c.nome, *motivo);
    return false;
  }
  const CampioneCollocato& dentro = a.collocatore->dentro();
  marche = a.matrice.aggiungiCampione(a.nome);
  marcaCollocato(lista_, stato_, dentro, a.sequenza, marche);
  a.ultima.clear();
  for (const PosizioneEsaminata& e : lista_.posizioni)
    a.ultima.push_back(a.sequenza[static_cast<std::size_t>(e.posizione)]);
  return true;
}

// A log line listing the positions marked `quale`, " - " between them; none when there are none.
void MarcheCampioni::righeMarche(const std::string& etichetta, const std::uint8_t* marche,
                                 Marca quale, Appunti& a, BloccoRegistro& righe) const {
  a.mutazioni.clear();
  for (std::size_t p = 0; p < lista_.posizioni.size(); ++p) {
    if (marche[p] != quale) continue;
    if (!a.mutazioni.empty()) a.mutazioni += " - ";
    a.mutazioni += matrice_.posizioni()[p];
  }
  if (!a.mutazioni.empty()) righe.riga(etichetta, a.mutazioni);
}

// A FASTA header without sequence lines is no sample to mark.
void MarcheCampioni::fai(const Campione& c, Appunti& a) const {
  if (!c.conSequenza) return;
  a.nome.assign(c.nome);
  if (c.conNome) a.nome.append("(freq: ").append(c.frequenza).append(")");
  std::uint8_t* marche = nullptr;
  if (!marca(c, a, marche)) return;
  BloccoRegistro righe(a.righe);
  righe.riga(etichettaCampione_, inUnaRiga(a.nome, a.spazio));
  righeMarche(etichettaMutazioni_, marche, kMutata, a, righe);
  if (!a.mutazioni.empty()) a.mutati += 1;
  righeMarche(etichettaMancanti_, marche, kMancante, a, righe);
  righe.chiudi();
  rigaRisultati(c, marche, a);
}

// The mutations at the listed positions in the field's notation: the sample's base, a deletion
// for "-", a heteroplasmy's IUPAC code; each position's column 1 for a mutation, 0 for the
// reference's base and NA for missing data.
void MarcheCampioni::rigaRisultati(const Campione& c, const std::uint8_t* marche,
                                   Appunti& a) const {
  a.varianti.clear();
  for (std::size_t p = 0; p < lista_.posizioni.size(); ++p) {
    if (marche[p] != kMutata) continue;
    const PosizioneEsaminata& e = lista_.posizioni[p];
    const char base = collocaCampioni_ || c.conProfilo ? a.ultima[p] : c.sequenza[e.colonna];
    a.varianti.push_back({e.posizione, 0, base == '-' ? Variante::kDelezione : maiuscola(base)});
  }
  a.riga.campione(file_, c.nome, c.frequenza, intervallo_, a.varianti);
  for (std::size_t p = 0; p < lista_.posizioni.size(); ++p) {
    if (marche[p] == kMancante)
      a.riga.testo("NA");
    else
      a.riga.numero(marche[p] == kMutata ? 1 : 0);
  }
  a.riga.fine(*a.risultati);
}

// A list that stops the run does so at the file's first sample, and a line without TAB before
// it stops it first; a file without samples has nothing to stop.
bool fermaAlPrimo(const StatoVorlane& stato, Porta& porta, const Formato& v, LettoreCampioni& file,
                  const EsameLista& esame) {
  Campione c;
  Lettura l;
  while ((l = file.prossimo(c)) == Lettura::campione && !c.conSequenza) {
  }
  if (l == Lettura::senzaTab) avvisoSenzaTab(stato, porta);
  if (l == Lettura::campione) avvisoLista(stato, porta, v, esame);
  return l == Lettura::fine;
}

// Reads every sample and marks it, its lines in `righe`; false when the run stopped in an
// orderly way (the user has been told why).
bool leggiCampioni(StatoVorlane& stato, Porta& porta, const Caselle& caselle, const Formato& v,
                   MatriceMutazioni& matrice, std::string& righe, double& mutati,
                   std::optional<TabellaRisultati>& tabella) {
  OpzioniCampioni opzioni;
  opzioni.formato = v.formato;
  // Read now, not at the first sample: the page of a file without samples shows the list of
  // this run, not the one an earlier run read.
  AggiornaMAT_BASI(stato, caselle);
  opzioni.dueCampi = stato.listaPosizioni.empty();
  LettoreCampioni file(stato.fileCampione, opzioni);
  matrice.impostaPosizioni(stato.listaPosizioni);
  // The list cannot change during a run: one examination serves every sample.
  const EsameLista esame = esaminaLista(stato);
  if (esame.esito != EsameLista::Esito::valida) return fermaAlPrimo(stato, porta, v, file, esame);
  std::vector<std::string> colonne;
  for (const PosizioneEsaminata& p : esame.posizioni)
    colonne.push_back(std::to_string(p.posizione));
  tabella.emplace(stato, "ControlloMutazioni_" + nomeBaseReport(stato.fileCampione),
                  std::initializer_list<std::span<const std::string_view>>{kColonneCampione},
                  colonne);
  MarcheCampioni marche(stato, esame, matrice, *tabella);
  const bool finito = lavoraCampioni(file, marche);
  if (!marche.esclusi().vuoto())
    porta.messaggio(marche.esclusi().testo(), kTitoloApplicazione, Icona::esclamazione);
  if (!finito) {
    avvisoSenzaTab(stato, porta);
    return false;
  }
  righe = marche.prendiRighe();
  mutati = marche.mutati();
  return true;
}

// Per-sample lines and the summary.
void scriviRisultati(StatoVorlane& stato, const std::string& righe, double mutati,
                     const std::tm& giorno) {
  if (!righe.empty()) stato.registro.accoda(righe, giorno);
  stato.registro.ScriviLogOperazioni(
      stato.messaggi[msg::numeroCampioniMutati] + std::string(4, ' ') + ": " + testoNumero(mutati),
      giorno);
}

Esito controlloMutazioni(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                         const Formato& v) {
  return procedura(v.procedura, [&] {
    const auto& m = stato.messaggi;
    intervalloImpostato(stato.impostazioni.InizioSequenza, stato.impostazioni.FineSequenza, true);
    // A run's block goes to the day's file it started in, however long it takes.
    const std::tm giorno = stato.registro.adesso();
    scriviIntestazione(stato, caselle, v, giorno);
    MatriceMutazioni matrice;
    std::string righe;
    double campioniMutati = 0;
    std::optional<TabellaRisultati> tabella;
    if (!leggiCampioni(stato, porta, caselle, v, matrice, righe, campioniMutati, tabella))
      return Esito::interrotta;
    scriviRisultati(stato, righe, campioniMutati, giorno);
    if (tabella) tabella->concludi(stato);
    // The summary says the work is done: the log and the page are written before it.
    stato.registro.svuota();
    std::filesystem::path pagina = scriviPaginaMatrice(stato, caselle, matrice);
    porta.messaggio(m[msg::controlloEseguitoSulFile] + "\r\n" + testoPercorso(stato.fileCampione) +
                        "\r\n" + m[msg::elaborazioneCompletata] + "\r\n" +
                        m[msg::campioniConMutazione] + ": " + testoNumero(campioniMutati) + "\r\n" +
                        m[msg::dettaglioNelRegistro] + " ",
                    m[msg::vorlane], Icona::informazione);
    stato.registro.VisualizzaLogOperazioni(porta);
    messaggioPaginaMatrice(stato, porta, pagina);
    return Esito::completata;
  });
}

}  // namespace

Esito ControlloMutazioniFASTA(StatoVorlane& stato, Porta& porta, const Caselle& caselle) {
  return controlloMutazioni(stato, porta, caselle, kFasta);
}

Esito ControlloMutazioniARL(StatoVorlane& stato, Porta& porta, const Caselle& caselle) {
  return controlloMutazioni(stato, porta, caselle, kArlequin);
}

}  // namespace vorlane
