#include "sequence/campioni.h"

#include <vector>

#include "base/errore.h"
#include "text/testo.h"

namespace vorlane {

LettoreCampioni::LettoreCampioni(const std::filesystem::path& file, OpzioniCampioni opzioni)
    : righe_(file), opzioni_(opzioni) {}

bool LettoreCampioni::prossimoRecord(RecordCampione& record) {
  if (!seguente_) return prossimo(record);
  record = *seguente_;
  seguente_.reset();
  return true;
}

void LettoreCampioni::prendiSequenza(const RecordCampione& record, Campione& campione) {
  if (record.conNome) ultimoNome_.assign(record.nome);
  campione.nome.assign(ultimoNome_);
  campione.frequenza.assign(record.frequenza);
  campione.sequenza.assign(record.sequenza);
  campione.conSequenza = true;
  campione.conNome = record.conNome;
}

// The views of a record last only until the next one is read: the header's name is kept before
// its sequence is looked for.
Lettura LettoreCampioni::prossimo(Campione& campione) {
  if (!genere_) genere_ = riconosci();
  if (*genere_ == Genere::profili) return prossimoProfilo(campione);
  campione.conProfilo = false;
  RecordCampione r;
  if (!prossimoRecord(r)) return Lettura::fine;
  if (r.tipo == RecordCampione::Tipo::senzaTab) return Lettura::senzaTab;
  campione.riga = r.riga;
  campione.intestazione = r.tipo == RecordCampione::Tipo::intestazione;
  if (!campione.intestazione) {
    prendiSequenza(r, campione);
    return Lettura::campione;
  }
  ultimoNome_.assign(r.nome);
  campione.nome.assign(ultimoNome_);
  campione.frequenza.clear();
  campione.sequenza.clear();
  campione.conSequenza = false;
  campione.conNome = false;
  RecordCampione s;
  if (!prossimo(s)) return Lettura::campione;
  if (s.tipo == RecordCampione::Tipo::sequenza && !s.conNome)
    prendiSequenza(s, campione);
  else
    seguente_ = s;
  return Lettura::campione;
}

bool LettoreCampioni::leggiRiga(std::string_view& riga) {
  if (!inAttesa_) return righe_.leggi(riga);
  riga = *inAttesa_;
  inAttesa_.reset();
  return true;
}

bool LettoreCampioni::prossimo(RecordCampione& record) {
  if (!genere_) genere_ = riconosci();
  if (*genere_ == Genere::progetto) return prossimoDelProgetto(record);
  if (*genere_ == Genere::profili)
    throw ErroreVorlane(testoPercorso(percorso()) +
                        ": un file di profili .hsd si legge per campioni");
  std::string_view riga;
  do {
    if (!leggiRiga(riga)) return false;
  } while (riga.empty() && opzioni_.saltaVuote);
  // Field by field: a whole new record (or a chained assignment) is built in memory and read
  // back at once, which stalls the processor on every line of a large file.
  record.nome = {};
  record.frequenza = {};
  record.sequenza = {};
  record.tipo = RecordCampione::Tipo::sequenza;
  record.conNome = false;
  record.riga = numeroRiga();
  if (opzioni_.formato == FormatoCampioni::fasta) {
    leggiFasta(riga, record);
    if (opzioni_.unisciRighe && record.tipo == RecordCampione::Tipo::sequenza && !record.conNome)
      unisci(record);
  } else {
    leggiArlequin(riga, record);
  }
  return true;
}

// The first line is read to tell a project or profiles from plain records, and given back
// when it is not a project's.
LettoreCampioni::Genere LettoreCampioni::riconosci() {
  const bool hsd = nomeDiProfili(percorso());
  std::string_view riga;
  if (!leggiRiga(riga)) return hsd ? Genere::profili : Genere::righe;
  std::string_view testo = senzaSpazi(riga);
  if (testo.size() >= 9 && ugualiSenzaMaiuscole(testo.substr(0, 9), "[Profile]"))
    return Genere::progetto;
  // The header is no profile: it is not given back.
  if (intestazioneProfili(riga)) return Genere::profili;
  inAttesa_ = riga;
  return hsd ? Genere::profili : Genere::righe;
}

// Empty lines and lines starting with "#" are passed over; a line that cannot be read as a
// profile stops the reading, naming the file and the line.
Lettura LettoreCampioni::prossimoProfilo(Campione& campione) {
  std::string_view riga;
  do {
    if (!leggiRiga(riga)) return Lettura::fine;
  } while (senzaSpazi(riga).empty() || senzaSpazi(riga).front() == '#');
  auto errore = [&](const std::string& perche) {
    return ErroreVorlane(testoPercorso(percorso()) + ", riga " + std::to_string(numeroRiga()) +
                         ": " + perche);
  };
  const std::size_t tab = riga.find('\t');
  if (tab == std::string_view::npos)
    throw errore(
        "il profilo ha un solo campo (nome, intervallo, aplogruppo, varianti separati da TAB)");
  const std::string_view nome = senzaSpazi(riga.substr(0, tab));
  if (nome.empty()) throw errore("il profilo non ha nome (il primo campo \xE8 vuoto)");
  std::string perche = leggiProfilo(riga.substr(tab + 1), campione.profilo);
  if (!perche.empty()) throw errore(perche);
  campione.nome.assign(nome);
  campione.frequenza.assign(1, '1');
  campione.sequenza.clear();
  campione.riga = numeroRiga();
  campione.intestazione = false;
  campione.conSequenza = true;
  campione.conNome = false;
  campione.conProfilo = true;
  return Lettura::campione;
}

namespace {
bool spazio(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The blank-separated fields of a line.
std::vector<std::string_view> campi(std::string_view riga) {
  std::vector<std::string_view> c;
  std::size_t i = 0;
  while (i < riga.size()) {
    while (i < riga.size() && spazio(riga[i])) ++i;
    std::size_t j = i;
    while (j < riga.size() && !spazio(riga[j])) ++j;
    if (j > i) c.push_back(riga.substr(i, j - i));
    i = j;
  }
  return c;
}
}  // namespace

bool LettoreCampioni::prossimoDelProgetto(RecordCampione& record) {
  std::string_view riga;
  while (leggiRiga(riga)) {
    std::string_view testo = senzaSpazi(riga);
    if (!neiDati_) {
      std::size_t dati = testo.find("SampleData");
      neiDati_ = dati != std::string_view::npos && testo.find('{', dati) != std::string_view::npos;
      continue;
    }
    if (!testo.empty() && testo.back() == '}') {
      neiDati_ = false;
      testo.remove_suffix(1);
    }
    std::vector<std::string_view> c = campi(testo);
    if (c.empty() || c[0].front() == '#') continue;
    if (c.size() < 3)
      throw ErroreVorlane(testoPercorso(percorso()) + ", riga " + std::to_string(numeroRiga()) +
                          ": la riga del blocco SampleData ha meno di tre campi (nome, "
                          "frequenza, sequenza)");
    record = {};
    record.tipo = RecordCampione::Tipo::sequenza;
    record.nome = c[0];
    record.frequenza = c[1];
    record.conNome = true;
    record.riga = numeroRiga();
    // A sequence written in blocks separated by blanks is one sequence.
    unione_.clear();
    for (std::size_t k = 2; k < c.size(); ++k) unione_.append(c[k]);
    record.sequenza = c.size() == 3 ? c[2] : std::string_view(unione_);
    return true;
  }
  return false;
}

bool LettoreCampioni::continua(std::string_view riga) const {
  if (!riga.empty() && riga.front() == '>') return false;
  return !opzioni_.regolaTab || riga.find('\t') == std::string_view::npos;
}

// The record's text stays a view into the reader's buffer until a second line brings sequence
// to it: a file with each sample on one line is read without a copy. Only a next line that
// cannot be looked at in place (beyond the buffer, once in some hundred kilobytes, or to be
// transcoded) makes the text be kept before it is read.
void LettoreCampioni::unisci(RecordCampione& record) {
  bool unita = false;
  auto aggiungi = [&](std::string_view riga) {
    if (!unita && record.sequenza.empty()) {
      record.sequenza = riga;
      return;
    }
    if (!unita) unione_.assign(record.sequenza);
    unita = true;
    unione_.append(riga);
  };
  std::string_view riga;
  for (;;) {
    if (righe_.sbircia(riga)) {
      if (!continua(riga)) break;
      righe_.leggi(riga);
      if (!riga.empty()) aggiungi(riga);
      continue;
    }
    if (!unita) unione_.assign(record.sequenza);
    unita = true;
    if (!righe_.leggi(riga)) break;
    if (!continua(riga)) {
      // The next record's first line, valid until the reader is next asked for one.
      inAttesa_ = riga;
      break;
    }
    unione_.append(riga);
  }
  if (unita) record.sequenza = unione_;
}

void LettoreCampioni::leggiFasta(std::string_view riga, RecordCampione& record) const {
  if (!riga.empty() && riga.front() == '>') {
    record.tipo = RecordCampione::Tipo::intestazione;
    record.nome = riga.substr(1);
    return;
  }
  record.tipo = RecordCampione::Tipo::sequenza;
  record.sequenza = riga;
  if (!opzioni_.regolaTab) return;
  std::size_t primo = riga.find('\t');
  if (primo == std::string_view::npos) return;
  record.nome = riga.substr(0, primo);
  record.conNome = true;
  record.sequenza = riga.substr(riga.rfind('\t') + 1);
}

void LettoreCampioni::leggiArlequin(std::string_view riga, RecordCampione& record) const {
  std::size_t t1 = riga.find('\t');
  if (t1 == std::string_view::npos) {
    record.tipo = RecordCampione::Tipo::senzaTab;
    return;
  }
  std::size_t t2 = riga.find('\t', t1 + 1);
  if (t2 == std::string_view::npos && opzioni_.dueCampi) t2 = riga.size();
  if (t2 == std::string_view::npos)
    throw ErroreVorlane(testoPercorso(percorso()) + ", riga " + std::to_string(numeroRiga()) +
                        ": la riga Arlequin ha meno di tre campi (nome, frequenza, sequenza)");
  std::size_t t3 = riga.find('\t', t2 + 1);
  record.tipo = RecordCampione::Tipo::sequenza;
  record.nome = riga.substr(0, t1);
  record.frequenza = riga.substr(t1 + 1, t2 - t1 - 1);
  if (t2 < riga.size())
    record.sequenza = riga.substr(t2 + 1, t3 == std::string_view::npos ? t3 : t3 - t2 - 1);
  record.conNome = true;
}

}  // namespace vorlane
