#include "convert/normalizzazione.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

#include "base/errore.h"
#include "convert/token.h"
#include "io/lotti.h"
#include "io/righe.h"
#include "io/scrittura.h"
#include "report/risultati.h"
#include "sequence/differenze.h"
#include "stato/messaggi.h"
#include "text/testo.h"

namespace vorlane {
using namespace std::literals;
namespace {

struct FormatoNormalizzazione {
  const char* etichetta;
  bool fasta;
  const char* estensione;
  msg::Messaggio testoFine, titoloFine;
};
constexpr FormatoNormalizzazione kFasta{"NormalizzaFasta", true, ".FASTA",
                                        msg::elaborazioneFastaEseguita, msg::elaborazioneFasta};
constexpr FormatoNormalizzazione kArlequin{"NormalizzaArlequin", false, ".ARL",
                                           msg::normalizzazioneArlequinEseguita,
                                           msg::normalizzazioneArlequin};

// A token's leading digits give its position; anything past the last position reads as just
// past it, so that a long run of digits cannot overflow.
constexpr int kOltreUltima = kUltimaPosizione + 1;

// Lines of blanks are passed over like comments. A TAB is not a blank: a line of TABs is a row
// with an empty name.
bool soloSpazi(std::string_view riga) {
  return riga.find_first_not_of(' ') == std::string_view::npos;
}

// The fields of a row: name, frequency and mutation list (empty when the row stops after the
// frequency); further fields are ignored. False when the row has no TAB at all.
bool campiRiga(std::string_view riga, std::string_view& nome, std::string_view& frequenza,
               std::string_view& mutazioni) {
  std::size_t t1 = riga.find('\t');
  if (t1 == std::string_view::npos) return false;
  std::size_t t2 = riga.find('\t', t1 + 1);
  nome = riga.substr(0, t1);
  frequenza = riga.substr(t1 + 1, t2 == std::string_view::npos ? t2 : t2 - t1 - 1);
  mutazioni = {};
  if (t2 != std::string_view::npos) {
    std::size_t t3 = riga.find('\t', t2 + 1);
    mutazioni = riga.substr(t2 + 1, t3 == std::string_view::npos ? t3 : t3 - t2 - 1);
  }
  return true;
}

void messaggioFine(const StatoVorlane& stato, Porta& porta, const FormatoNormalizzazione& f,
                   const NomeBase& base) {
  const auto& m = stato.messaggi;
  porta.puntatoreOccupato(false);
  porta.messaggio(m[f.testoFine] + " \r\n" + base.testo + "\r\n" + m[msg::operazioneCompletata],
                  m[f.titoloFine], Icona::informazione);
}

std::string domandaSostituzione(const NomeBase& base, const FormatoNormalizzazione& f) {
  return "Nella cartella esporta esiste gi\xE0 il file " + base.testo + f.estensione +
         "\r\nSostituendolo, il contenuto attuale andr\xE0 perso.\r\nSovrascrivere il file "
         "esistente?";
}

// Each row of the table rebuilt as a sequence, on the engine's threads, into its batch's text.
class Sequenze {
 public:
  struct Appunti {
    std::unique_ptr<ScrittoreTesto> righe = std::make_unique<ScrittoreTesto>();
    std::unique_ptr<ScrittoreTesto> risultati = std::make_unique<ScrittoreTesto>();
    RigaRisultati riga;
    std::vector<Variante> varianti;
  };
  Sequenze(const std::filesystem::path& tabella, ScrittoreTesto& uscita,
           const Ricostruzione& ricostruzione, bool fasta, TabellaRisultati& risultati,
           std::string intervallo)
      : tabella_(tabella),
        uscita_(uscita),
        ricostruzione_(ricostruzione),
        fasta_(fasta),
        risultati_(risultati),
        intervallo_(std::move(intervallo)),
        piega_(piegaDi(ricostruzione.riferimento())) {}

  Appunti appunti() { return {}; }
  void inizia(Appunti& a) {
    a.righe->riportaA(0);
    a.risultati->riportaA(0);
  }
  void fai(std::string_view riga, std::size_t numero, Appunti& a) const;
  void consegna(Appunti& a) {
    uscita_.accoda(a.righe->testo());
    risultati_.testo().accoda(a.risultati->testo());
  }

 private:
  const std::filesystem::path& tabella_;
  ScrittoreTesto& uscita_;
  const Ricostruzione& ricostruzione_;
  const bool fasta_;
  TabellaRisultati& risultati_;
  const std::string intervallo_;
  const std::string piega_;  // of the reference over the interval
};

void Sequenze::fai(std::string_view riga, std::size_t numero, Appunti& a) const {
  if (soloSpazi(riga) || riga.front() == '/') return;
  std::string_view nome, frequenza, mutazioni;
  if (!campiRiga(riga, nome, frequenza, mutazioni))
    throw ErroreVorlane(testoPercorso(tabella_) + ", riga " + std::to_string(numero) +
                        ": la riga non contiene tabulazioni (nome, frequenza, mutazioni)");
  ScrittoreTesto& uscita = *a.righe;
  if (fasta_)
    uscita.righe(">"sv, nome, " (freq: "sv, frequenza, ")"sv);
  else
    uscita.aggiungi(nome, "\t"sv, frequenza, "\t"sv);
  // Rebuilt straight into the writer's buffer.
  char* sequenza = uscita.spazio(ricostruzione_.lunghezza());
  ricostruzione_.scrivi(sequenza, mutazioni);
  const std::string_view ricostruita(sequenza, ricostruzione_.lunghezza());
  differenzeTesto(ricostruita, ricostruzione_.riferimento(), piega_, ricostruzione_.inizio(), 0,
                  a.varianti);
  a.riga.campione(tabella_, nome, frequenza, intervallo_, a.varianti);
  a.riga.fine(*a.risultati);
  uscita.avanza(sequenza + ricostruzione_.lunghezza());
  uscita.fineRiga();
}

Esito normalizza(StatoVorlane& stato, Porta& porta, const FormatoNormalizzazione& f) {
  return procedura(f.etichetta, [&] {
    Intervallo intervallo = intervalloAnalisi(stato);
    NomeBase base = nomeBase(stato.nomeFileScelto, 4);
    // A table that cannot be read is reported before the output is created, whatever else fails.
    LettoreRighe tabella(stato.nomeFileScelto);
    // The file it would replace is often the user's original samples, which hold what the table
    // cannot: every N, the base at 3107, everything outside the interval.
    std::filesystem::path destinazione = stato.cartellaEsporta / (base.nativo + f.estensione);
    if (!sostituzioneConsentita(porta, destinazione, domandaSostituzione(base, f),
                                stato.messaggi[f.titoloFine]))
      return Esito::interrotta;
    ScrittoreTesto uscita(destinazione);
    const Ricostruzione ricostruzione(stato.sequenzaRiferimento, intervallo);
    TabellaRisultati risultati(stato, "Normalizzazione_" + base.testo, {kColonneCampione});
    Sequenze sequenze(
        stato.nomeFileScelto, uscita, ricostruzione, f.fasta, risultati,
        testoIntervallo(stato.impostazioni.InizioSequenza, stato.impostazioni.FineSequenza));
    lavoraRighe(tabella, sequenze);
    uscita.conferma();
    risultati.concludi(stato);
    messaggioFine(stato, porta, f, base);
    return Esito::completata;
  });
}

}  // namespace

Ricostruzione::Ricostruzione(const std::string& riferimento, Intervallo intervallo)
    : inizio_(intervallo.inizio), fine_(intervallo.fine) {
  if (intervallo.lunghezza() == 0 || intervallo.inizio < 1 ||
      static_cast<std::size_t>(intervallo.fine) >= riferimento.size())
    return;
  minuscolo_.assign(riferimento, static_cast<std::size_t>(intervallo.inizio),
                    intervallo.lunghezza());
  partner_ = minuscolo_;
  for (char& c : partner_) c = partnerTransizione(maiuscola(c));
}

void Ricostruzione::scrivi(char* p, std::string_view mutazioni) const {
  if (minuscolo_.empty()) return;
  std::memcpy(p, minuscolo_.data(), minuscolo_.size());
  auto dentro = [&](int posizione) { return posizione >= inizio_ && posizione <= fine_; };
  auto metti = [&](int posizione, char base) {
    if (dentro(posizione)) p[posizione - inizio_] = base;
  };
  leggiToken(mutazioni, kOltreUltima, [&](TokenLetto t) {
    if (t.carattere != 0) return metti(t.posizione, t.carattere);
    if (!dentro(t.posizione)) return;
    char partner = partner_[static_cast<std::size_t>(t.posizione - inizio_)];
    if (partner != 0) metti(t.posizione, partner);  // the "x" at 3107 stays
  });
}

Esito NormalizzaFasta(StatoVorlane& stato, Porta& porta) {
  return normalizza(stato, porta, kFasta);
}

Esito NormalizzaArlequin(StatoVorlane& stato, Porta& porta) {
  return normalizza(stato, porta, kArlequin);
}

Esito Normalizza(StatoVorlane& stato, Porta& porta) {
  return stato.tipoFile == "FASTA" ? NormalizzaFasta(stato, porta)
                                   : NormalizzaArlequin(stato, porta);
}

}  // namespace vorlane
