#include "convert/normalizzazione.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "align/collocazione.h"
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

void messaggioFine(const Contesto& stato, Porta& porta, const FormatoNormalizzazione& f,
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
  if (ricostruzione_.semplice())
    differenzeTesto(ricostruita, ricostruzione_.riferimento(), piega_, ricostruzione_.inizio(), 0,
                    a.varianti);
  else
    ricostruzione_.differenze(ricostruita, a.varianti);
  a.riga.campione(tabella_, nome, frequenza, intervallo_, a.varianti);
  a.riga.fine(*a.risultati);
  uscita.avanza(sequenza + ricostruzione_.lunghezza());
  uscita.fineRiga();
}

Esito normalizza(StatoVorlane& stato, Porta& porta, const FormatoNormalizzazione& f) {
  return procedura(f.etichetta, [&] {
    Intervallo intervallo = intervalloAnalisi(stato);
    NomeBase base = nomeBase(stato.fileCampione, 4);
    // A table that cannot be read is reported before the output is created, whatever else fails.
    LettoreRighe tabella(stato.fileCampione);
    // The file it would replace is often the user's original samples, which hold what the table
    // cannot: every N, the base at 3107, everything outside the interval.
    std::filesystem::path destinazione = stato.cartellaEsporta / (base.nativo + f.estensione);
    if (!sostituzioneConsentita(porta, destinazione, domandaSostituzione(base, f),
                                stato.messaggi[f.titoloFine]))
      return Esito::interrotta;
    ScrittoreTesto uscita(destinazione);
    const Ricostruzione ricostruzione(stato.sequenzaRiferimento, intervallo,
                                      colonneInserite(stato.fileCampione, intervallo));
    TabellaRisultati risultati(stato, "Normalizzazione_" + base.testo, {kColonneCampione});
    Sequenze sequenze(
        stato.fileCampione, uscita, ricostruzione, f.fasta, risultati,
        testoIntervallo(stato.impostazioni.InizioSequenza, stato.impostazioni.FineSequenza));
    lavoraRighe(tabella, sequenze);
    uscita.conferma();
    risultati.concludi(stato);
    messaggioFine(stato, porta, f, base);
    return Esito::completata;
  });
}

}  // namespace

Ricostruzione::Ricostruzione(const std::string& riferimento, Intervallo intervallo,
                             const std::vector<ColonnaInserita>& inserite)
    : colonna_(kUltimaPosizione + 1, -1),
      inserite_(kUltimaPosizione + 1, 0),
      intervallo_(intervallo),
      inizio_(intervallo.inizio),
      semplice_(!intervallo.attraversaOrigine() && inserite.empty()) {
  if (intervallo.inizio < 1 || static_cast<std::size_t>(intervallo.fine) >= riferimento.size() ||
      (!intervallo.attraversaOrigine() && intervallo.lunghezza() == 0))
    return;
  for (const ColonnaInserita& c : inserite)
    inserite_[static_cast<std::size_t>(c.dopo)] =
        std::max(inserite_[static_cast<std::size_t>(c.dopo)], c.indice);
  perOgniPosizione(intervallo, [&](int p) {
    const auto i = static_cast<std::size_t>(p);
    colonna_[i] = static_cast<int>(minuscolo_.size());
    minuscolo_.push_back(riferimento[i]);
    partner_.push_back(partnerTransizione(maiuscola(riferimento[i])));
    minuscolo_.append(static_cast<std::size_t>(inserite_[i]), '-');
    partner_.append(static_cast<std::size_t>(inserite_[i]), '\0');
  });
}

void Ricostruzione::scrivi(char* p, std::string_view mutazioni) const {
  if (minuscolo_.empty()) return;
  std::memcpy(p, minuscolo_.data(), minuscolo_.size());
  auto colonna = [&](int posizione) {
    return posizione >= 1 && posizione <= kUltimaPosizione
               ? colonna_[static_cast<std::size_t>(posizione)]
               : -1;
  };
  leggiToken(mutazioni, kOltreUltima, [&](TokenLetto t) {
    const int c = colonna(t.posizione);
    if (c < 0) return;
    if (t.inserzione > 0) {
      if (t.inserzione <= inserite_[static_cast<std::size_t>(t.posizione)])
        p[c + t.inserzione] = t.carattere;
      return;
    }
    if (t.carattere != 0) {
      p[c] = t.carattere;
      return;
    }
    char partner = partner_[static_cast<std::size_t>(c)];
    if (partner != 0) p[c] = partner;  // the "x" at 3107 stays
  });
}

void Ricostruzione::differenze(std::string_view ricostruita,
                               std::vector<Variante>& varianti) const {
  varianti.clear();
  if (minuscolo_.empty()) return;
  perOgniPosizione(intervallo_, [&](int p) {
    const auto c = static_cast<std::size_t>(colonna_[static_cast<std::size_t>(p)]);
    const char b = maiuscola(ricostruita[c]);
    if (b != maiuscola(minuscolo_[c]) && partner_[c] != 0)
      varianti.push_back({p, 0, b == '-' ? Variante::kDelezione : b});
    for (int k = 1; k <= inserite_[static_cast<std::size_t>(p)]; ++k)
      if (ricostruita[c + static_cast<std::size_t>(k)] != '-')
        varianti.push_back({p, k, maiuscola(ricostruita[c + static_cast<std::size_t>(k)])});
  });
}

namespace {
// Whether the file holds a digit, a "." and a digit anywhere: the mark of an insertion token.
// A plain read of the bytes, much cheaper than the rows' own.
bool contieneInserzioni(const std::filesystem::path& file) {
  constexpr std::size_t kTenuti = 2;  // the last bytes of the piece before, ahead of the next
  std::ifstream f(file, std::ios::binary);
  std::string pezzo(kTenuti + (1 << 20), '\0');
  auto cifra = [](char c) { return c >= '0' && c <= '9'; };
  while (f.read(pezzo.data() + kTenuti, static_cast<std::streamsize>(pezzo.size() - kTenuti)) ||
         f.gcount() > 0) {
    const std::string_view testo(pezzo.data(), kTenuti + static_cast<std::size_t>(f.gcount()));
    for (std::size_t i = testo.find('.'); i != std::string::npos; i = testo.find('.', i + 1))
      if (i > 0 && i + 1 < testo.size() && cifra(testo[i - 1]) && cifra(testo[i + 1])) return true;
    std::memmove(pezzo.data(), testo.data() + testo.size() - kTenuti, kTenuti);
  }
  return false;
}
}  // namespace

std::vector<ColonnaInserita> colonneInserite(const std::filesystem::path& tabella,
                                             const Intervallo& intervallo) {
  std::set<ColonnaInserita> colonne;
  if (!contieneInserzioni(tabella)) return {};
  LettoreRighe righe(tabella);
  std::string_view riga, nome, frequenza, mutazioni;
  while (righe.leggi(riga)) {
    if (soloSpazi(riga) || riga.front() == '/' || !campiRiga(riga, nome, frequenza, mutazioni))
      continue;
    leggiToken(mutazioni, kOltreUltima, [&](TokenLetto t) {
      if (t.inserzione > 0 && t.carattere != 0 && intervallo.contiene(t.posizione))
        colonne.insert({t.posizione, t.inserzione});
    });
  }
  // In the interval's order, which across the origin is not the positions' order.
  std::vector<ColonnaInserita> ordinate(colonne.begin(), colonne.end());
  std::stable_sort(ordinate.begin(), ordinate.end(),
                   [&](const ColonnaInserita& a, const ColonnaInserita& b) {
                     return (a.dopo < intervallo.inizio) < (b.dopo < intervallo.inizio);
                   });
  return ordinate;
}

Esito NormalizzaFasta(StatoVorlane& stato, Porta& porta) {
  return normalizza(stato, porta, kFasta);
}

Esito NormalizzaArlequin(StatoVorlane& stato, Porta& porta) {
  return normalizza(stato, porta, kArlequin);
}

Esito Normalizza(StatoVorlane& stato, Porta& porta, const Caselle&) {
  return stato.scelta.tipoFile == "FASTA" ? NormalizzaFasta(stato, porta)
                                          : NormalizzaArlequin(stato, porta);
}

}  // namespace vorlane
