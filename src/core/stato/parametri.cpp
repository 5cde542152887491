#include "stato/parametri.h"

#include <algorithm>
#include <optional>

#include "base/errore.h"
#include "io/righe.h"
#include "io/scrittura.h"
#include "text/testo.h"

namespace vorlane {
namespace {
struct VoceImpostazione {
  const char* chiave;
  std::string Impostazioni::*valore;
  const char* predefinito;
  const char* base;
  // The position list is read whole: it has no fixed capacity, and the file holds what the box
  // held.
  std::size_t lunghezza = kLunghezzaValore;
};

// The eight keys in file order, with the value read when a key is missing and the base value.
constexpr VoceImpostazione kVoci[] = {
    {"NumeroMutazioniDa", &Impostazioni::NumeroMutazioniDa, "0", "0"},
    {"NumeroMutazioniA", &Impostazioni::NumeroMutazioniA, "16569", "16569"},
    {"InizioSequenza", &Impostazioni::InizioSequenza, "16001", "16001"},
    {"FineSequenza", &Impostazioni::FineSequenza, "16400", "16400"},
    {"PercentoDa", &Impostazioni::PercentoDa, "1", "1"},
    {"PercentoA", &Impostazioni::PercentoA, "100", "100"},
    {"posMutazione", &Impostazioni::posMutazione, "", "", std::string::npos},
    {"caratteriPermessi", &Impostazioni::caratteriPermessi, "", "A,T,G,C,N,X,?"},
};

constexpr const char* kLegenda[] = {
    "",
    "/*",
    "LEGENDA VARIABILI",
    "NumeroMutazioniDa   ... Inizio intervallo del numero di mutazioni da considerare",
    "NumeroMutazioniA    ... Fine intervallo del numero di mutazioni da considerare",
    "InizioSequenza      ... Posizione iniziale della sequenza da considerare",
    "                        (HV1 16024 HV2 73 o 1) 16001 (inizio 1)",
    "FineSequenza        ... Posizione finale della sequenza da considerare",
    "                        (HV1 16365 o 16400 HV2 340 o 576) 16400 (fine 16569)",
    "PercentoDa          ... Inizio intervallo percentuale mutazioni da considerare",
    "PercentoA           ... Fine intervallo percentuale mutazioni da considerare",
    "posMutazione        ... Lista di posizioni di ricerca mutazioni 16363,16264,16362",
    "caratteriPermessi   ... Lista dei caratteri validi (A,T,G,C,N,X,?)",
    "*/",
    "",
};

// The alignment switch has a key of its own, written only when alignment is off: a settings
// file of a user who never turned it off stays as it was.
constexpr const char* kChiaveAllineamento = "Allineamento";

// "[name]" gives name; anything else gives nothing.
std::optional<std::string_view> intestazioneSezione(std::string_view riga) {
  riga = senzaSpazi(riga);
  if (riga.size() < 2 || riga.front() != '[') return std::nullopt;
  std::size_t chiusa = riga.find(']');
  if (chiusa == std::string_view::npos) return std::nullopt;
  return senzaSpazi(riga.substr(1, chiusa - 1));
}

struct RegolaCasella {
  Controllo propria, altra;
  std::string Impostazioni::*valore;
};

void rifiuta(StatoVorlane& stato, Porta& porta, const RegolaCasella& r, const std::string& testo) {
  const std::string& precedente = stato.impostazioni.*r.valore;
  porta.messaggio(
      "\"" + testo + "\" non \xE8 una posizione: la casella torna al valore " + precedente + ".",
      kTitoloApplicazione, Icona::informazione);
  porta.impostaTesto(r.propria, precedente);
}

std::string testoNumeroIntero(int n) {
  return std::to_string(n);
}
}  // namespace

std::string LeggiIni(const std::filesystem::path& file, const std::string& sezione,
                     const std::string& chiave, const std::string& predefinito) {
  return LeggiIni(file, {{sezione, chiave, predefinito}}).front();
}

std::vector<std::string> LeggiIni(const std::filesystem::path& file,
                                  const std::vector<VoceIni>& voci) {
  std::vector<std::string> valori;
  for (const VoceIni& v : voci) valori.emplace_back(v.predefinito);
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::status(file, ec))) return valori;
  // Anything else of that name (a folder, a pipe) is not read as if it were missing: the
  // defaults would hide it behind a message about the allowed characters. The reader refuses it.
  LettoreRighe lettore(file);
  std::string_view riga;
  // Per key: whether the lines read are in its section, and whether its value was found (the
  // first one in the file counts).
  std::vector<char> dentro(voci.size(), 0), trovata(voci.size(), 0);
  std::size_t restanti = voci.size();
  while (restanti > 0 && lettore.leggi(riga)) {
    if (auto nome = intestazioneSezione(riga)) {
      for (std::size_t i = 0; i < voci.size(); ++i)
        dentro[i] = ugualiSenzaMaiuscole(*nome, voci[i].sezione);
      continue;
    }
    std::size_t uguale = riga.find('=');
    if (uguale == std::string_view::npos) continue;
    std::string_view chiave = senzaSpazi(riga.substr(0, uguale));
    for (std::size_t i = 0; i < voci.size(); ++i) {
      if (!dentro[i] || trovata[i] || !ugualiSenzaMaiuscole(chiave, voci[i].chiave)) continue;
      valori[i] = std::string(senzaSpazi(riga.substr(uguale + 1)).substr(0, voci[i].lunghezza));
      trovata[i] = 1;
      --restanti;
    }
  }
  return valori;
}

namespace {
// A position setting as a whole number within the sequence, or nothing.
std::optional<double> posizione(std::string_view testo) {
  std::optional<double> p = interoRigoroso(testo);
  if (p && *p >= 1 && *p <= kUltimaPosizione) return p;
  return std::nullopt;
}
}  // namespace

namespace {
// "l'inizio dell'intervallo di analisi (InizioSequenza) "abc" non è una posizione ...": the
// report of a bound of an interval setting that is not what it must be.
std::string estremoNonValido(bool inizio, std::string_view intervallo, std::string_view chiave,
                             std::string_view valore, std::string_view richiesto) {
  return std::string(inizio ? "l'inizio" : "la fine") + " dell'intervallo " +
         std::string(intervallo) + " (" + std::string(chiave) + ") \"" + std::string(valore) +
         "\" non \xE8 " + std::string(richiesto);
}
}  // namespace

Intervallo leggiIntervallo(std::string_view inizio, std::string_view fine, bool attraversoOrigine,
                           std::string& errore) {
  errore.clear();
  std::optional<double> da = posizione(inizio), a = posizione(fine);
  if (!da || !a) {
    errore =
        estremoNonValido(!da, "di analisi", !da ? "InizioSequenza" : "FineSequenza",
                         !da ? inizio : fine, "una posizione (un numero intero tra 1 e 16569)");
    return {};
  }
  if (*a < *da && !attraversoOrigine) {
    errore = "la fine dell'intervallo di analisi (FineSequenza) " + testoNumero(*a) +
             " \xE8 prima dell'inizio (InizioSequenza) " + testoNumero(*da);
    return {};
  }
  // Whole numbers within the sequence: the conversions are exact.
  return {static_cast<int>(*da), static_cast<int>(*a)};
}

Caselle leggiCaselle(const Porta& porta) {
  return {porta.testo(Controllo::Text_PosizioneMutazioneDa),
          porta.testo(Controllo::Text_PosizioneMutazioneA),
          porta.testo(Controllo::Text_posMutazione)};
}

LimitiMutazioni limitiMutazioni(const Impostazioni& impostazioni) {
  std::optional<double> da = numeroRigoroso(impostazioni.NumeroMutazioniDa);
  std::optional<double> a = numeroRigoroso(impostazioni.NumeroMutazioniA);
  if (!da || !a)
    throw ErroreVorlane(estremoNonValido(
        !da, "del numero di mutazioni", !da ? "NumeroMutazioniDa" : "NumeroMutazioniA",
        !da ? impostazioni.NumeroMutazioniDa : impostazioni.NumeroMutazioniA, "un numero"));
  return {*da, *a};
}

Intervallo intervalloImpostato(std::string_view inizio, std::string_view fine,
                               bool attraversoOrigine) {
  std::string errore;
  const Intervallo intervallo = leggiIntervallo(inizio, fine, attraversoOrigine, errore);
  if (!errore.empty()) throw ErroreVorlane(errore);
  return intervallo;
}

std::filesystem::path percorsoParametri(const StatoVorlane& stato) {
  return stato.cartellaCorrente / kFileParametri;
}

void SettaValoriBase(StatoVorlane& stato) {
  for (const auto& v : kVoci) stato.impostazioni.*v.valore = v.base;
}

bool InizializzaValori(StatoVorlane& stato, Porta& porta) {
  return procedura("InizializzaValori", [&] {
    std::vector<VoceIni> voci;
    for (const auto& v : kVoci) voci.push_back({v.chiave, v.chiave, v.predefinito, v.lunghezza});
    voci.push_back({kChiaveAllineamento, kChiaveAllineamento, "1"});
    std::vector<std::string> valori = LeggiIni(percorsoParametri(stato), voci);
    for (std::size_t i = 0; i < std::size(kVoci); ++i)
      stato.impostazioni.*kVoci[i].valore = std::move(valori[i]);
    stato.allinea = valori.back() != "0";
    if (stato.impostazioni.caratteriPermessi.empty()) {
      porta.messaggio("Nessun carattere \xE8 definito nel file Vorlane.ini", "Errore",
                      Icona::critica);
      return false;
    }
    return true;
  });
}

void ScriviFileParametri(const StatoVorlane& stato) {
  procedura("ScriviFileParametri", [&] {
    ScrittoreTesto file(percorsoParametri(stato));
    for (const char* riga : kLegenda) file.riga(riga);
    for (const auto& v : kVoci) {
      file.righe("[", v.chiave, "]");
      // A line break typed or pasted into a box would start a line of its own there, a section
      // header say, that the next start reads.
      file.righe(v.chiave, "=", inUnaRiga(stato.impostazioni.*v.valore));
    }
    if (!stato.allinea) {
      file.righe("[", kChiaveAllineamento, "]");
      file.righe(kChiaveAllineamento, "=0");
    }
    file.conferma();
  });
}

namespace {
// The two lost-focus rules are mirror images: `inizio` says whether the edited box is the start
// box. A start above the end is left as it is: the interval runs across the origin.
bool perdeFuoco(StatoVorlane& stato, Porta& porta, const RegolaCasella& r, bool inizio) {
  std::string testo = porta.testo(r.propria);
  std::optional<double> valore = interoRigoroso(testo);
  if (!valore) {
    rifiuta(stato, porta, r, testo);
    return false;
  }
  if (*valore == 0) {
    porta.impostaTesto(r.propria, "1");
    if (inizio) porta.impostaTesto(r.altra, "1");
  }
  if (*numeroRigoroso(porta.testo(r.propria)) > kUltimaPosizione) {
    porta.impostaTesto(r.propria, testoNumeroIntero(kUltimaPosizione));
    if (!inizio) porta.impostaTesto(r.altra, testoNumeroIntero(kUltimaPosizione));
  }
  // A box moved by the rule is a value the user now sees: its setting follows it too, so the
  // conversions (which read the settings) and the comparisons (which read the boxes) agree.
  stato.impostazioni.InizioSequenza = porta.testo(Controllo::Text_PosizioneMutazioneDa);
  stato.impostazioni.FineSequenza = porta.testo(Controllo::Text_PosizioneMutazioneA);
  return true;
}
}  // namespace

bool Text_PosizioneMutazioneDa_LostFocus(StatoVorlane& stato, Porta& porta) {
  return perdeFuoco(stato, porta,
                    {Controllo::Text_PosizioneMutazioneDa, Controllo::Text_PosizioneMutazioneA,
                     &Impostazioni::InizioSequenza},
                    true);
}

bool Text_PosizioneMutazioneA_LostFocus(StatoVorlane& stato, Porta& porta) {
  return perdeFuoco(stato, porta,
                    {Controllo::Text_PosizioneMutazioneA, Controllo::Text_PosizioneMutazioneDa,
                     &Impostazioni::FineSequenza},
                    false);
}

void Text_posMutazione_Change(StatoVorlane& stato, Porta& porta) {
  stato.impostazioni.posMutazione = porta.testo(Controllo::Text_posMutazione);
  // The next check must examine the positions the log says it examined: the list is read again.
  stato.posizioniDaRileggere = true;
}

}  // namespace vorlane
