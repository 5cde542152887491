#include "mutation/controllo.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>

#include "app/errore.h"
#include "app/parametri.h"
#include "io/in_ordine.h"
#include "log/registro.h"
#include "mutation/matrice.h"
#include "sequence/campioni.h"
#include "sequence/caricamento.h"
#include "sequence/pezzi.h"
#include "text/date.h"
#include "text/testo.h"

namespace vorlane {
namespace {

struct Variante {
  const char* procedura;
  FormatoCampioni formato;
  const char* separatoreData;  // in the first log line
  int messaggioNonValida;      // second part of the invalid-position text
};

constexpr Variante kFasta{"ControlloMutazioniFASTA", FormatoCampioni::fasta, " : ", 36};
constexpr Variante kArlequin{"ControlloMutazioniARL", FormatoCampioni::arlequin, ": ", 39};

// A listed position, ready for the per-record comparison.
struct PosizioneEsaminata {
  std::size_t colonna;  // 0-based column of the sample text holding its base
  // By character: whether it differs from the reference base. Any character does unless it is
  // the reference's letter in either case; a table spares a case conversion per mark.
  std::array<bool, 256> differisce;
};

PosizioneEsaminata posizioneEsaminata(std::size_t colonna, char riferimento) {
  PosizioneEsaminata p{colonna, {}};
  for (int c = 0; c < 256; ++c)
    p.differisce[static_cast<std::size_t>(c)] =
        maiuscola(static_cast<char>(c)) != maiuscola(riferimento);
  return p;
}

// The outcome of checking listaPosizioni: the positions, or the entry that stops the run.
struct EsameLista {
  enum class Esito { valida, nonValida, fuoriIntervallo };
  Esito esito = Esito::valida;
  std::string voce;
  std::vector<PosizioneEsaminata> posizioni;
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
  for (const std::string& voce : stato.listaPosizioni) {
    std::optional<double> p = interoRigoroso(voce);
    EsameLista::Esito errore = EsameLista::Esito::valida;
    if (!p || voce.size() < 5)
      errore = EsameLista::Esito::nonValida;
    else if (*p < inizio || *p > fine || !nelRiferimento(stato, *p))
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
        posizioneEsaminata(static_cast<std::size_t>(colonna < 1 ? 0 : colonna - 1),
                           stato.sequenzaRiferimento[indice]));
  }
  return esame;
}

// A text too short to reach a column differs there as well.
void marcaCampione(const std::vector<PosizioneEsaminata>& posizioni, std::string_view sequenza,
                   std::uint8_t* marche) {
  for (std::size_t j = 0; j < posizioni.size(); ++j) {
    const PosizioneEsaminata& p = posizioni[j];
    marche[j] = p.colonna >= sequenza.size() ||
                p.differisce[static_cast<unsigned char>(sequenza[p.colonna])];
  }
}

void scriviIntestazione(StatoVorlane& stato, const Porta& porta, const Variante& v) {
  const auto& m = stato.messaggi;
  const Impostazioni& imp = stato.impostazioni;
  ScriviLogOperazioni(stato, "*--- " + m[21] + v.separatoreData +
                                 dataOraGenerale(stato.orologio()) + " -----------*");
  ScriviLogOperazioni(stato, m[22] + std::string(10, ' ') + ": " + stato.citazioneRiferimento);
  ScriviLogOperazioni(
      stato, m[23] + std::string(6, ' ') + ": " + inUnaRiga(testoPercorso(stato.fileCampione)));
  ScriviLogOperazioni(stato, m[27] + std::string(10, ' ') + ": " + m[14] + " " +
                                 inUnaRiga(imp.NumeroMutazioniDa) + " " + m[15] + " " +
                                 inUnaRiga(imp.NumeroMutazioniA));
  ScriviLogOperazioni(stato, m[28] + std::string(5, ' ') + ": " +
                                 inUnaRiga(porta.testo(Controllo::Text_posMutazione)));
}

void avvisoLista(const StatoVorlane& stato, Porta& porta, const Variante& v,
                 const EsameLista& esame) {
  const auto& m = stato.messaggi;
  const Impostazioni& imp = stato.impostazioni;
  std::string testo = m[35] + " " + esame.voce + " ";
  if (esame.esito == EsameLista::Esito::nonValida)
    testo += m[v.messaggioNonValida] + "\r\n" + m[37];
  else
    testo += m[39] + "\r\n" + m[40] + " " + imp.InizioSequenza + "-" + imp.FineSequenza;
  porta.messaggio(testo, m[38], Icona::informazione);
}

void avvisoSenzaTab(const StatoVorlane& stato, Porta& porta) {
  const auto& m = stato.messaggi;
  porta.messaggio(
      m[32] + " \r\n" + testoPercorso(stato.fileCampione) + "\r\n" + m[33] + "\r\n" + m[34], m[48],
      Icona::informazione);
}

// The record's name in the matrix, put in `nome` (one text reused from record to record).
void nomeRecord(const RecordCampione& r, const std::string& intestazione, std::string& nome) {
  if (r.tipo == RecordCampione::Tipo::sequenza && r.conNome)
    nome.assign(r.nome).append("(freq: ").append(r.frequenza).append(")");
  else
    nome.assign(intestazione);
}

}  // namespace

// Room for the whole file's matrix, from what the first piece held and the share of the file it
// covered, so that the matrix is not moved to fresh memory each time it doubles. Names cannot
// take more than the file holds.
RiservaMatrice riservaMatrice(std::size_t campioni, std::size_t byteNomi, std::uintmax_t letti,
                              std::uintmax_t dimensione) {
  if (letti == 0 || dimensione <= letti) return {campioni, byteNomi};
  double volte = static_cast<double>(dimensione) / static_cast<double>(letti) * 1.1;
  double nomi = std::min(static_cast<double>(byteNomi) * volte, static_cast<double>(dimensione));
  double quanti = std::min(static_cast<double>(campioni) * volte, static_cast<double>(dimensione));
  return {static_cast<std::size_t>(quanti), static_cast<std::size_t>(nomi)};
}

namespace {

// A large file's records marked on the engine's threads, a piece at a time, into a matrix per
// piece that joins the whole in file order.
class MarcheAPezzi : public LavoroPezzi {
 public:
  MarcheAPezzi(const EsameLista& lista, const std::vector<std::string>& posizioni,
               MatriceMutazioni& matrice, std::uintmax_t dimensione)
      : lista_(lista), posizioni_(posizioni), matrice_(matrice), dimensione_(dimensione) {}

  std::unique_ptr<Uscita> nuova() override { return std::make_unique<Parziale>(); }
  void prepara(Uscita& uscita) override {
    static_cast<Parziale&>(uscita).matrice.impostaPosizioni(posizioni_);
  }
  // False at a line without TAB: the stop and its message are those of a reading in one go.
  bool fai(LettoreCampioni& file, Uscita& uscita) override {
    MatriceMutazioni& matrice = static_cast<Parziale&>(uscita).matrice;
    std::string intestazione, nome;
    for (RecordCampione r; file.prossimo(r);) {
      if (r.tipo == RecordCampione::Tipo::intestazione) {
        intestazione = r.nome;
      } else if (r.tipo == RecordCampione::Tipo::senzaTab) {
        return false;
      } else {
        nomeRecord(r, intestazione, nome);
        marcaCampione(lista_.posizioni, r.sequenza, matrice.aggiungiCampione(nome));
      }
    }
    return true;
  }
  void consegna(Uscita& uscita) override {
    const auto& parziale = static_cast<Parziale&>(uscita);
    if (matrice_.campioni() == 0) {
      RiservaMatrice r = riservaMatrice(parziale.matrice.campioni(), parziale.matrice.byteNomi(),
                                        std::min(finePrimo(), dimensione_), dimensione_);
      try {
        matrice_.riserva(r.campioni, r.byteNomi);
      } catch (const std::bad_alloc&) {
        // Only a guess: the matrix grows as it needs to.
      }
    }
    matrice_.accoda(parziale.matrice);
  }

 private:
  struct Parziale : Uscita {
    MatriceMutazioni matrice;
  };
  const EsameLista& lista_;
  const std::vector<std::string>& posizioni_;
  MatriceMutazioni& matrice_;
  std::uintmax_t dimensione_;
};

// leggiCampioni for a large file whose records are all marked: true when it read them. A
// reading in one go does the rest, from the start: a file that stops, fails, holds no record to
// mark or meets a list that stops the run, with the message its first record gives.
bool marcaAPezzi(StatoVorlane& stato, const Porta& porta, OpzioniCampioni opzioni,
                 std::uintmax_t dimensione, MatriceMutazioni& matrice) {
  // The list is read and examined as the first record would, and put back if nothing is marked.
  const std::vector<std::string> lista = stato.listaPosizioni;
  const bool daRileggere = stato.posizioniDaRileggere;
  AggiornaMAT_BASI(stato, porta);
  EsameLista esame = esaminaLista(stato);
  if (esame.esito == EsameLista::Esito::valida) {
    matrice.impostaPosizioni(stato.listaPosizioni);
    MarcheAPezzi lavoro(esame, stato.listaPosizioni, matrice, dimensione);
    char iniziale = opzioni.formato == FormatoCampioni::fasta ? '>' : 0;
    if (lavoraAPezzi(stato.fileCampione, opzioni, iniziale, lavoro).completo &&
        matrice.campioni() > 0)
      return true;
  }
  stato.listaPosizioni = lista;
  stato.posizioniDaRileggere = daRileggere;
  matrice = MatriceMutazioni();
  return false;
}

// Reads every record and marks it; false when the run stopped in an orderly way (the user has
// been told why).
bool leggiCampioni(StatoVorlane& stato, Porta& porta, const Variante& v,
                   MatriceMutazioni& matrice) {
  OpzioniCampioni opzioni;
  opzioni.formato = v.formato;
  // Read now, not at the first record: the page of a file without records shows the list of
  // this run, not the one an earlier run read.
  AggiornaMAT_BASI(stato, porta);
  opzioni.dueCampi = stato.listaPosizioni.empty();
  std::error_code errore;
  std::uintmax_t dimensione = std::filesystem::file_size(stato.fileCampione, errore);
  if (!errore && daTagliare(dimensione) && marcaAPezzi(stato, porta, opzioni, dimensione, matrice))
    return true;
  LettoreCampioni file(stato.fileCampione, opzioni);
  std::optional<EsameLista> lista;
  std::string intestazione, nome;
  RecordCampione r;
  while (file.prossimo(r)) {
    if (r.tipo == RecordCampione::Tipo::intestazione) {
      intestazione = r.nome;
      continue;
    }
    if (r.tipo == RecordCampione::Tipo::senzaTab) {
      avvisoSenzaTab(stato, porta);
      return false;
    }
    AggiornaMAT_BASI(stato, porta);
    // The list cannot change during a run: one examination serves every record.
    if (!lista) {
      lista = esaminaLista(stato);
      if (lista->esito != EsameLista::Esito::valida) {
        avvisoLista(stato, porta, v, *lista);
        return false;
      }
      matrice.impostaPosizioni(stato.listaPosizioni);
    }
    nomeRecord(r, intestazione, nome);
    marcaCampione(lista->posizioni, r.sequenza, matrice.aggiungiCampione(nome));
  }
  if (!lista) matrice.impostaPosizioni(stato.listaPosizioni);
  return true;
}

// The per-sample lines, made a few thousand samples at a time on the engine's threads and handed to
// the log in order, each piece with one reading of the clock.
class RigheRisultati : public LavoroInOrdine {
 public:
  RigheRisultati(StatoVorlane& stato, const MatriceMutazioni& matrice)
      : stato_(stato),
        matrice_(matrice),
        voci_{matrice.campioni(), 4096},
        etichettaCampione_(stato.messaggi[41] + std::string(22, ' ') + ": "),
        etichettaMutazioni_(stato.messaggi[42] + std::string(21, ' ') + ": ") {}

  std::unique_ptr<Uscita> nuova() override { return std::make_unique<Righe>(); }
  bool presa(std::size_t, Uscita& uscita) override {
    auto& r = static_cast<Righe&>(uscita);
    r.testo.clear();
    r.mutati = 0;
    return true;
  }
  bool faiPezzo(std::size_t pezzo, Uscita& uscita) override {
    auto& r = static_cast<Righe&>(uscita);
    BloccoRegistro righe(r.testo);
    std::string mutazioni, nome;
    for (std::size_t s = voci_.inizio(pezzo); s < voci_.fine(pezzo); ++s) {
      righe.riga(etichettaCampione_, inUnaRiga(matrice_.nome(s), nome));
      mutazioni.clear();
      for (std::size_t p = 0; p < matrice_.posizioni().size(); ++p) {
        if (!matrice_.marcata(s, p)) continue;
        if (!mutazioni.empty()) mutazioni += " - ";
        mutazioni += matrice_.posizioni()[p];
      }
      if (!mutazioni.empty()) {
        righe.riga(etichettaMutazioni_, mutazioni);
        r.mutati += 1;
      }
    }
    righe.chiudi();
    return true;
  }
  void consegna(Uscita& uscita) override {
    auto& r = static_cast<Righe&>(uscita);
    if (!r.testo.empty()) accodaRegistro(stato_, r.testo, stato_.orologio());
    mutati_ += r.mutati;
  }
  double mutati() const { return mutati_; }
  std::size_t pezzi() const { return voci_.pezzi(); }

 private:
  struct Righe : Uscita {
    TestoGrande testo;
    double mutati = 0;
  };
  StatoVorlane& stato_;
  const MatriceMutazioni& matrice_;
  const VociAPezzi voci_;
  const std::string etichettaCampione_, etichettaMutazioni_;
  double mutati_ = 0;
};

// Per-sample lines and the summary; returns the number of samples with a mark.
double scriviRisultati(StatoVorlane& stato, const MatriceMutazioni& matrice) {
  RigheRisultati righe(stato, matrice);
  EsitoInOrdine esito = lavoraInOrdine(righe, righe.pezzi());
  if (!esito.completo) throw std::bad_alloc();  // a piece of lines can fail only for memory
  ScriviLogOperazioni(
      stato, stato.messaggi[43] + std::string(4, ' ') + ": " + testoNumero(righe.mutati()));
  return righe.mutati();
}

Esito controlloMutazioni(StatoVorlane& stato, Porta& porta, const Variante& v) {
  return procedura(v.procedura, [&] {
    const auto& m = stato.messaggi;
    stato.fileCampione = stato.nomeFileScelto;
    intervalloImpostato(stato.impostazioni.InizioSequenza, stato.impostazioni.FineSequenza);
    scriviIntestazione(stato, porta, v);
    MatriceMutazioni matrice;
    if (!leggiCampioni(stato, porta, v, matrice)) return Esito::interrotta;
    double campioniMutati = scriviRisultati(stato, matrice);
    // The summary says the work is done: the log and the page are written before it.
    SvuotaRegistro(stato);
    std::filesystem::path pagina = scriviPaginaMatrice(stato, porta, matrice);
    porta.messaggio(m[44] + "\r\n" + testoPercorso(stato.fileCampione) + "\r\n" + m[45] + "\r\n" +
                        m[46] + ": " + testoNumero(campioniMutati) + "\r\n" + m[47] + " ",
                    m[48], Icona::informazione);
    VisualizzaLogOperazioni(stato, porta);
    messaggioPaginaMatrice(stato, porta, pagina);
    return Esito::completata;
  });
}

}  // namespace

Esito ControlloMutazioniFASTA(StatoVorlane& stato, Porta& porta) {
  return controlloMutazioni(stato, porta, kFasta);
}

Esito ControlloMutazioniARL(StatoVorlane& stato, Porta& porta) {
  return controlloMutazioni(stato, porta, kArlequin);
}

}  // namespace vorlane
