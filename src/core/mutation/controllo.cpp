#include "mutation/controllo.h"

#include <array>
#include <optional>
#include <string_view>

#include "app/errore.h"
#include "log/registro.h"
#include "mutation/matrice.h"
#include "sequence/campioni.h"
#include "sequence/caricamento.h"
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

// Entries must be numbers written with at least five characters (00073 for 73) and lie in the
// analysis interval; the interval is also kept inside the reference, whatever the settings say.
EsameLista esaminaLista(const StatoVorlane& stato) {
  EsameLista esame;
  double inizio = numeroIniziale(stato.impostazioni.InizioSequenza);
  double fine = numeroIniziale(stato.impostazioni.FineSequenza);
  for (const std::string& voce : stato.listaPosizioni) {
    std::optional<double> p = numeroRigoroso(voce);
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
  ScriviLogOperazioni(stato,
                      m[23] + std::string(6, ' ') + ": " + testoPercorso(stato.fileCampione));
  ScriviLogOperazioni(stato, m[27] + std::string(10, ' ') + ": " + m[14] + " " +
                                 imp.NumeroMutazioniDa + " " + m[15] + " " + imp.NumeroMutazioniA);
  ScriviLogOperazioni(
      stato, m[28] + std::string(5, ' ') + ": " + porta.testo(Controllo::Text_posMutazione));
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

// Reads every record and marks it; false when the run stopped in an orderly way (the user has
// been told why).
bool leggiCampioni(StatoVorlane& stato, Porta& porta, const Variante& v,
                   MatriceMutazioni& matrice) {
  OpzioniCampioni opzioni;
  opzioni.formato = v.formato;
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

// Per-sample lines and the summary; returns the number of samples with a mark. The lines reach
// the log some thousands at a time.
double scriviRisultati(StatoVorlane& stato, const MatriceMutazioni& matrice) {
  constexpr std::size_t kSogliaBlocco = 1 << 16;
  const auto& m = stato.messaggi;
  const std::string etichettaCampione = m[41] + std::string(22, ' ') + ": ";
  const std::string etichettaMutazioni = m[42] + std::string(21, ' ') + ": ";
  double campioniMutati = 0;
  BloccoRegistro righe;
  std::string mutazioni;
  for (std::size_t s = 0; s < matrice.campioni(); ++s) {
    righe.riga(etichettaCampione, matrice.nome(s));
    mutazioni.clear();
    for (std::size_t p = 0; p < matrice.posizioni().size(); ++p) {
      if (!matrice.marcata(s, p)) continue;
      if (!mutazioni.empty()) mutazioni += " - ";
      mutazioni += matrice.posizioni()[p];
    }
    if (!mutazioni.empty()) {
      righe.riga(etichettaMutazioni, mutazioni);
      campioniMutati += 1;
    }
    if (righe.dimensione() >= kSogliaBlocco) righe.scrivi(stato);
  }
  righe.riga(m[43], std::string(4, ' '), ": ", testoNumero(campioniMutati));
  righe.scrivi(stato);
  return campioniMutati;
}

Esito controlloMutazioni(StatoVorlane& stato, Porta& porta, const Variante& v) {
  return procedura(v.procedura, [&] {
    const auto& m = stato.messaggi;
    stato.fileCampione = stato.nomeFileScelto;
    scriviIntestazione(stato, porta, v);
    MatriceMutazioni matrice;
    if (!leggiCampioni(stato, porta, v, matrice)) return Esito::interrotta;
    double campioniMutati = scriviRisultati(stato, matrice);
    porta.messaggio(m[44] + "\r\n" + testoPercorso(stato.fileCampione) + "\r\n" + m[45] + "\r\n" +
                        m[46] + ": " + testoNumero(campioniMutati) + "\r\n" + m[47] + " ",
                    m[48], Icona::informazione);
    VisualizzaLogOperazioni(stato, porta);
    ScriviHTML_MATRICE(stato, porta, matrice);
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
