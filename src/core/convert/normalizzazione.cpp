#include "convert/normalizzazione.h"

#include <filesystem>

#include "app/errore.h"
#include "text/righe.h"
#include "text/scrittura.h"
#include "text/testo.h"

namespace vorlane {
namespace {

struct FormatoNormalizzazione {
  const char* etichetta;
  bool fasta;
  const char* estensione;
  int testoFine, titoloFine;
};
constexpr FormatoNormalizzazione kFasta{"NormalizzaFasta", true, ".FASTA", 66, 67};
constexpr FormatoNormalizzazione kArlequin{"NormalizzaArlequin", false, ".ARL", 70, 71};

bool cifra(char c) {
  return c >= '0' && c <= '9';
}

// The leading digits of a token; 0 when there are none. Anything past the last position reads
// as just past it, so that a long run of digits cannot overflow.
int posizioneToken(std::string_view token) {
  int p = 0;
  for (char c : token) {
    if (!cifra(c)) break;
    p = p * 10 + (c - '0');
    if (p > kUltimaPosizione) return kUltimaPosizione + 1;
  }
  return p;
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
  porta.messaggio(m[f.testoFine] + " \r\n" + base.testo + "\r\n" + m[53], m[f.titoloFine],
                  Icona::informazione);
}

Esito normalizza(StatoVorlane& stato, Porta& porta, const FormatoNormalizzazione& f) {
  return procedura(f.etichetta, [&] {
    Intervallo intervallo = intervalloAnalisi(stato, false);
    NomeBase base = nomeBase(stato.nomeFileScelto, 4);
    LettoreRighe tabella(stato.nomeFileScelto);
    ScrittoreTesto uscita(stato.cartellaEsporta / (base.nativo + f.estensione));
    std::string sequenza;
    std::string_view riga, nome, frequenza, mutazioni;
    while (tabella.leggi(riga)) {
      if (senzaSpazi(riga).empty() || riga.front() == '/') continue;
      if (!campiRiga(riga, nome, frequenza, mutazioni))
        throw ErroreVorlane(testoPercorso(tabella.percorso()) + ", riga " +
                            std::to_string(tabella.numeroRiga()) +
                            ": la riga non contiene tabulazioni (nome, frequenza, mutazioni)");
      ricostruisciSequenza(sequenza, mutazioni, stato.sequenzaRiferimento, intervallo);
      if (f.fasta) {
        uscita.righe(">", nome, " (freq: ", frequenza, ")");
        uscita.riga(sequenza);
      } else {
        uscita.righe(nome, "\t", frequenza, "\t", sequenza);
      }
    }
    uscita.conferma();
    messaggioFine(stato, porta, f, base);
    return Esito::completata;
  });
}

}  // namespace

void ricostruisciSequenza(std::string& sequenza, std::string_view mutazioni,
                          const std::string& riferimento, Intervallo intervallo) {
  sequenza.clear();
  if (intervallo.lunghezza() == 0 || intervallo.inizio < 1 ||
      static_cast<std::size_t>(intervallo.fine) >= riferimento.size())
    return;
  sequenza.assign(riferimento, static_cast<std::size_t>(intervallo.inizio), intervallo.lunghezza());
  auto metti = [&](int p, char base) {
    if (p >= intervallo.inizio && p <= intervallo.fine)
      sequenza[static_cast<std::size_t>(p - intervallo.inizio)] = base;
  };
  std::size_t i = 0, n = mutazioni.size();
  while (i < n) {
    std::size_t j = std::min(mutazioni.find('-', i), n);
    std::string_view token = mutazioni.substr(i, j - i);
    i = j + 1;
    if (token.empty()) continue;
    if (!cifra(token.back())) {
      metti(posizioneToken(token), maiuscola(token.back()));
    } else if (j < n && (j + 1 == n || mutazioni[j + 1] == '-')) {
      // The conversion writes a sample "-" as the position followed by "-": "16193--16223",
      // or "16193-" at the end of the list. The dash is the sample's character, not a
      // separator, and must not turn into a transition.
      metti(posizioneToken(token), '-');
      i = j + 2;
    } else {
      int p = posizioneToken(token);
      if (p < intervallo.inizio || p > intervallo.fine) continue;
      char partner = partnerTransizione(maiuscola(riferimento[static_cast<std::size_t>(p)]));
      if (partner != 0) metti(p, partner);  // the "x" at 3107 stays
    }
  }
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
