#include "convert/conversione.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "app/errore.h"
#include "sequence/campioni.h"
#include "text/scrittura.h"
#include "text/testo.h"

namespace vorlane {
namespace {

// What tells the two conversions apart beyond the reading of their lines.
struct FormatoConversione {
  const char* etichetta;
  FormatoCampioni formato;
  std::size_t taglio;  // characters of the extension
  int titoloDomanda;
  int testoFine, titoloFine;
};
constexpr FormatoConversione kFasta{
    "ConvertiFASTAinTabella", FormatoCampioni::fasta, 6, 68, 66, 67};
constexpr FormatoConversione kArlequin{
    "ConvertiARLinTabella", FormatoCampioni::arlequin, 4, 59, 64, 65};

// A directory entry of exactly this name, letter case included.
bool esisteNomeEsatto(const std::filesystem::path& cartella, const std::filesystem::path& nome) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(cartella, ec), fine; !ec && it != fine;
       it.increment(ec))
    if (it->path().filename() == nome) return true;
  return false;
}

// False when the user keeps the table already there.
bool sovrascritturaConsentita(const StatoVorlane& stato, Porta& porta, const FormatoConversione& f,
                              const NomeBase& base, const std::filesystem::path& tabella) {
  if (!esisteNomeEsatto(tabella.parent_path(), tabella.filename())) return true;
  const auto& m = stato.messaggi;
  if (porta.domandaSiNo(m[56] + " " + base.testo + ".txt\r\n" + m[57] + "\r\n" + m[58],
                        m[f.titoloDomanda]))
    return true;
  porta.puntatoreOccupato(false);
  return false;
}

// The high bit of every byte of `v` that is not zero. No carry passes from one byte to the next,
// so each byte is judged on its own.
std::uint64_t byteNonNulli(std::uint64_t v) {
  constexpr std::uint64_t kBassi = 0x7F7F7F7F7F7F7F7Full;
  return (((v & kBassi) + kBassi) | v) & ~kBassi;
}

// Which of the eight bytes loaded from memory holds the lowest bit set in `bit`: on a
// little-endian machine the first byte in memory is the lowest of the word.
std::size_t indiceByte(std::uint64_t bit) {
  static_assert(std::endian::native == std::endian::little);
  return static_cast<std::size_t>(std::countr_zero(bit) / 8);
}

void iniziaRiga(std::string& riga, const NomeBase& base, std::string_view nome,
                std::string_view frequenza) {
  riga.assign(base.testo);
  riga += ' ';
  riga += nome;
  riga += '\t';
  riga += frequenza;
  riga += '\t';
}

// The last character of a row under construction is the "-" after its last token, or the TAB
// after the frequency when it has none; neither belongs in the table.
void scriviRiga(ScrittoreTesto& tabella, const std::string& riga) {
  tabella.riga(std::string_view(riga).substr(0, riga.size() - 1));
}

// A FASTA sample's row is complete only when the next header or the end of the file comes.
void righeFasta(LettoreCampioni& file, ScrittoreTesto& tabella, const NomeBase& base,
                const ConfrontoRiferimento& confronto) {
  std::string riga;
  bool inSospeso = false;
  RecordCampione r;
  while (file.prossimo(r)) {
    if (r.tipo == RecordCampione::Tipo::intestazione) {
      if (inSospeso) scriviRiga(tabella, riga);
      iniziaRiga(riga, base, r.nome, "1");
      inSospeso = true;
      continue;
    }
    // Sequence before any header still gets the name and frequency columns, named by the
    // base alone: a row of bare tokens could not be read back.
    if (!inSospeso) iniziaRiga(riga, base, {}, "1");
    inSospeso = true;
    confronto.aggiungiMutazioni(riga, r.sequenza);
  }
  if (inSospeso) scriviRiga(tabella, riga);
}

// False when a line without TAB stopped the conversion.
bool righeArlequin(LettoreCampioni& file, ScrittoreTesto& tabella, const NomeBase& base,
                   const ConfrontoRiferimento& confronto) {
  std::string riga;
  RecordCampione r;
  while (file.prossimo(r)) {
    if (r.tipo == RecordCampione::Tipo::senzaTab) return false;
    iniziaRiga(riga, base, r.nome, r.frequenza);
    confronto.aggiungiMutazioni(riga, r.sequenza);
    scriviRiga(tabella, riga);
  }
  return true;
}

void avvisoRigaSenzaTab(const StatoVorlane& stato, Porta& porta) {
  const auto& m = stato.messaggi;
  porta.puntatoreOccupato(false);
  porta.messaggio(
      m[32] + " \r\n" + testoPercorso(stato.fileCampione) + "\r\n" + m[33] + "\r\n" + m[34], m[48],
      Icona::informazione);
}

void messaggioFine(const StatoVorlane& stato, Porta& porta, const FormatoConversione& f,
                   const std::filesystem::path& tabella) {
  const auto& m = stato.messaggi;
  porta.puntatoreOccupato(false);
  porta.messaggio(m[f.testoFine] + " \r\n" + testoPercorso(tabella) + "\r\n" + m[53],
                  m[f.titoloFine], Icona::informazione);
}

Esito converti(StatoVorlane& stato, Porta& porta, const FormatoConversione& f) {
  return procedura(f.etichetta, [&] {
    bool fasta = f.formato == FormatoCampioni::fasta;
    ConfrontoRiferimento confronto(stato.sequenzaRiferimento, intervalloAnalisi(stato, fasta),
                                   fasta);
    NomeBase base = nomeBase(stato.nomeFileScelto, f.taglio);
    std::filesystem::path tabella = stato.cartellaDati / (base.nativo + ".txt");
    if (!sovrascritturaConsentita(stato, porta, f, base, tabella)) return Esito::interrotta;

    // An empty Arlequin line has no TAB and must stop the conversion like any other.
    LettoreCampioni file(stato.nomeFileScelto, {f.formato, false, fasta});
    ScrittoreTesto uscita(tabella);
    for (int i = 60; i <= 63; ++i) uscita.riga(stato.messaggi[i]);
    if (fasta) {
      righeFasta(file, uscita, base, confronto);
    } else if (!righeArlequin(file, uscita, base, confronto)) {
      // The user is told to clean the file and run again; the rows so far stay for reference.
      uscita.conferma();
      avvisoRigaSenzaTab(stato, porta);
      return Esito::interrotta;
    }
    uscita.conferma();
    messaggioFine(stato, porta, f, tabella);
    return Esito::completata;
  });
}

}  // namespace

ConfrontoRiferimento::ConfrontoRiferimento(const std::string& riferimento, Intervallo intervallo,
                                           bool ignoraN)
    : inizio_(intervallo.inizio), ignoraN_(ignoraN) {
  if (intervallo.inizio >= 1 && static_cast<std::size_t>(intervallo.inizio) < riferimento.size())
    minuscolo_ =
        riferimento.substr(static_cast<std::size_t>(intervallo.inizio), intervallo.lunghezza());
  maiuscolo_ = minuscolo_;
  for (char& c : maiuscolo_) c = maiuscola(c);
  partner_ = maiuscolo_;
  for (char& c : partner_) c = partnerTransizione(c);
  piega_ = minuscolo_;
  for (char& c : piega_) c = c >= 'a' && c <= 'z' ? 0x20 : 0;
  cifre_.reserve(minuscolo_.size());
  for (std::size_t k = 0; k < minuscolo_.size(); ++k)
    cifre_.push_back(std::to_string(static_cast<std::size_t>(inizio_) + k));
}

void ConfrontoRiferimento::confrontaCarattere(std::string& riga, std::size_t k,
                                              char carattere) const {
  char campione = maiuscola(carattere);
  if (campione == maiuscolo_[k] || (ignoraN_ && campione == 'N')) return;
  char partner = partner_[k];
  if (partner == 0) return;  // the "x" at 3107: nothing to differ from
  riga += cifre_[k];
  if (campione != partner) riga += campione;
  riga += '-';
}

std::uint64_t ConfrontoRiferimento::differenza(std::string_view sequenza, std::size_t k) const {
  std::uint64_t s, piega, giu;
  std::memcpy(&s, sequenza.data() + k, 8);
  std::memcpy(&piega, piega_.data() + k, 8);
  std::memcpy(&giu, minuscolo_.data() + k, 8);
  return (s | piega) ^ giu;
}

void ConfrontoRiferimento::confrontaDiversi(std::string& riga, std::string_view sequenza,
                                            std::size_t k, std::uint64_t differenza) const {
  for (std::uint64_t d = byteNonNulli(differenza); d != 0; d &= d - 1) {
    std::size_t j = k + indiceByte(d);
    confrontaCarattere(riga, j, sequenza[j]);
  }
}

void ConfrontoRiferimento::aggiungiMutazioni(std::string& riga, std::string_view sequenza) const {
  std::size_t n = std::min(sequenza.size(), maiuscolo_.size());
  std::size_t k = 0;
  // Samples agree with the reference almost everywhere: 32 characters that all match it are
  // passed over at once, and of the rest only those that differ from it even when folded to
  // lower case are looked at one by one.
  for (; k + 32 <= n; k += 32) {
    std::uint64_t d[4];
    for (std::size_t w = 0; w < 4; ++w) d[w] = differenza(sequenza, k + 8 * w);
    if ((d[0] | d[1] | d[2] | d[3]) == 0) continue;
    for (std::size_t w = 0; w < 4; ++w) confrontaDiversi(riga, sequenza, k + 8 * w, d[w]);
  }
  for (; k + 8 <= n; k += 8) confrontaDiversi(riga, sequenza, k, differenza(sequenza, k));
  for (; k < n; ++k) confrontaCarattere(riga, k, sequenza[k]);
}

Esito ConvertiFASTAinTabella(StatoVorlane& stato, Porta& porta) {
  return converti(stato, porta, kFasta);
}

Esito ConvertiARLinTabella(StatoVorlane& stato, Porta& porta) {
  return converti(stato, porta, kArlequin);
}

}  // namespace vorlane
