#include "log/registro.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/errore.h"
#include "io/scrittura.h"
#include "text/date.h"
#include "text/testo.h"

namespace vorlane {
namespace {
constexpr std::size_t kSogliaRegistro = 1 << 20;
// How much of the log's end is searched at a time for the start of the last block.
constexpr std::size_t kPassoRicerca = 1 << 18;
// Ends a line that a run stopped while appending left cut short, so that what is left of it
// (a mutation list, say) does not read as a whole value.
constexpr std::string_view kSegnoInterrotta = " [riga interrotta: scrittura non conclusa]";

void aggiungiARegistro(const std::filesystem::path& registro, std::string_view righe) {
  aggiungiAlFile(registro, righe, kSegnoInterrotta);
}

// Whether every line of `testo` already ends with CR LF, as the lines this program writes do:
// every LF follows a CR and every CR comes before an LF.
bool giaCrLf(std::string_view testo) {
  if (testo.size() < 2 || testo.substr(testo.size() - 2) != "\r\n") return false;
  const char* inizio = testo.data();
  const char* fine = inizio + testo.size();
  auto prossimo = [&](const char* p, char c) {
    return static_cast<const char*>(std::memchr(p, c, static_cast<std::size_t>(fine - p)));
  };
  for (const char* p = inizio; (p = prossimo(p, '\n')); ++p)
    if (p == inizio || p[-1] != '\r') return false;
  for (const char* p = inizio; (p = prossimo(p, '\r')); ++p)
    if (p + 1 == fine || p[1] != '\n') return false;
  return true;
}

// Splits text into lines ended by CR LF, CR or LF and joins them again with CR LF.
std::string righeConCrLf(std::string testo) {
  if (giaCrLf(testo)) return testo;
  std::string uscita;
  uscita.reserve(testo.size() + 64);
  std::size_t i = 0;
  while (i < testo.size()) {
    std::size_t fine = testo.find_first_of("\r\n", i);
    if (fine == std::string::npos) fine = testo.size();
    uscita.append(testo, i, fine - i);
    uscita.append("\r\n");
    if (fine < testo.size() && testo[fine] == '\r' && fine + 1 < testo.size() &&
        testo[fine + 1] == '\n')
      ++fine;
    i = fine + 1;
  }
  return uscita;
}

// Index of the last line start that holds "*" in `testo`; `completo` tells whether `testo`
// begins at the start of the file (so its index 0 is a line start).
std::size_t ultimoInizioBlocco(std::string_view testo, bool completo) {
  for (std::size_t n = testo.size(); n > 0;) {
    const void* stella = ::memrchr(testo.data(), '*', n);
    if (!stella) break;
    std::size_t i = static_cast<std::size_t>(static_cast<const char*>(stella) - testo.data());
    if (i == 0 ? completo : (testo[i - 1] == '\n' || testo[i - 1] == '\r')) return i;
    n = i;
  }
  return std::string_view::npos;
}

std::string leggiTratto(std::FILE* f, std::size_t da, std::size_t quanti) {
  std::string tratto(quanti, '\0');
  std::fseek(f, static_cast<long>(da), SEEK_SET);
  tratto.resize(std::fread(tratto.data(), 1, quanti, f));
  return tratto;
}

// Offset in the file of the last line start holding "*", or npos. The file is searched from its
// end a piece at a time: the block of the last operation is usually a small part of the log.
std::size_t cercaUltimoInizio(std::FILE* f, std::size_t dimensione) {
  for (std::size_t fine = dimensione; fine > 0;) {
    std::size_t da = fine > kPassoRicerca ? fine - kPassoRicerca : 0;
    // One byte before the piece tells whether the piece's first byte starts a line.
    std::size_t prima = da > 0 ? 1 : 0;
    std::string pezzo = leggiTratto(f, da - prima, fine - da + prima);
    std::size_t i = ultimoInizioBlocco(pezzo, da == 0);
    if (i != std::string::npos) return da - prima + i;
    fine = da;
  }
  return std::string::npos;
}
}  // namespace

// Keeps the block the lines about to be appended end in: the block shown is the one this run
// wrote, whatever another run appended to the same file meanwhile. Every append starts at a
// line start.
void Registro::ricordaBlocco(std::string_view righe) {
  std::size_t i = ultimoInizioBlocco(righe, true);
  if (i == std::string_view::npos)
    ultimoBlocco_.append(righe);
  else
    ultimoBlocco_.assign(righe.substr(i));
}

void Registro::impostaCartella(std::filesystem::path cartella) {
  cartella_ = std::move(cartella);
}

std::filesystem::path Registro::percorso() const {
  return fileDelGiorno(adesso());
}

std::filesystem::path Registro::fileDelGiorno(const std::tm& giorno) const {
  return cartella_ / (dataPerNomeFile(giorno) + "_Vorlane.log");
}

void Registro::svuota() {
  procedura("ScriviLogOperazioni", [&] {
    if (sfondo_) sfondo_->attendi();
    if (testo_.empty()) return;
    ricordaBlocco(testo_);
    aggiungiARegistro(percorso_, testo_);
    testo_.clear();
  });
}

// The queue's lines go to the file on the background thread while the next ones are collected.
// Appended in the order they were queued, as one write each: nothing else writes to the file
// before the event's end has waited for them.
void Registro::svuotaInSfondo() {
  procedura("ScriviLogOperazioni", [&] {
    if (!sfondo_) sfondo_ = std::make_unique<LavoroSfondo>();
    sfondo_->attendi();
    ricordaBlocco(testo_);
    std::swap(testo_, inScrittura_);
    testo_.clear();
    // Room for a whole megabyte and the lines that take it past: growing to it again would move
    // the text to fresh memory at every doubling.
    testo_.reserve(2 * kSogliaRegistro);
    sfondo_->affida([this, percorso = percorso_] { aggiungiARegistro(percorso, inScrittura_); });
  });
}

// Points the queue at today's file, sending what it holds for another day or folder to that
// day's file.
void Registro::scegliFile(const std::tm& oggi) {
  int giorno = (oggi.tm_year * 100 + oggi.tm_mon) * 100 + oggi.tm_mday;
  if (giorno == giorno_ && cartella_.native() == cartellaPercorso_) return;
  std::filesystem::path percorso = fileDelGiorno(oggi);
  if (percorso != percorso_) {
    svuota();
    percorso_ = std::move(percorso);
  }
  giorno_ = giorno;
  cartellaPercorso_ = cartella_.native();
}

void Registro::ScriviLogOperazioni(std::string_view messaggio) {
  ScriviLogOperazioni(messaggio, adesso());
}

void Registro::ScriviLogOperazioni(std::string_view messaggio, const std::tm& adesso) {
  procedura("ScriviLogOperazioni", [&] {
    scegliFile(adesso);
    testo_.append(messaggio).append("\r\n");
    if (testo_.size() >= kSogliaRegistro) svuotaInSfondo();
  });
}

void Registro::accoda(std::string_view righe, const std::tm& adesso) {
  procedura("ScriviLogOperazioni", [&] {
    scegliFile(adesso);
    svuota();
    ricordaBlocco(righe);
    aggiungiARegistro(percorso_, righe);
  });
}

std::string ultimoBlocco(const std::filesystem::path& registro) {
  std::FILE* f = std::fopen(registro.c_str(), "rb");
  if (!f) throw ErroreVorlane("il registro di oggi '" + testoPercorso(registro) + "' non esiste");
  std::fseek(f, 0, SEEK_END);
  auto dimensione = static_cast<std::size_t>(std::max(0L, std::ftell(f)));
  std::size_t inizio = cercaUltimoInizio(f, dimensione);
  if (inizio == std::string::npos) inizio = 0;
  std::string blocco = leggiTratto(f, inizio, dimensione - inizio);
  std::fclose(f);
  if (blocco.empty())
    throw ErroreVorlane("il registro di oggi '" + testoPercorso(registro) + "' \xE8 vuoto");
  return righeConCrLf(std::move(blocco));
}

void Registro::VisualizzaLogOperazioni(Porta& porta) {
  procedura("VisualizzaLogOperazioni", [&] {
    svuota();
    if (ultimoBlocco_.empty())
      throw ErroreVorlane("nessun blocco scritto nel registro '" + testoPercorso(percorso_) + "'");
    porta.messaggio(ultimoBlocco_, kTitoloApplicazione, Icona::nessuna);
  });
}

BloccoRegistro::BloccoRegistro(Registro& registro, const std::tm& adesso) {
  procedura("ScriviLogOperazioni", [&] { registro.scegliFile(adesso); });
  testo_ = &registro.testo_;
  inizio_ = testo_->size();
}

BloccoRegistro::~BloccoRegistro() {
  if (inCoda() && righe_ > 0 && testo_->size() >= inizio_) testo_->resize(inizio_);
}

void BloccoRegistro::scrivi(Registro& registro) {
  if (righe_ == 0) return;
  if (!inCoda()) {
    righe_ = 0;
    registro.ScriviLogOperazioni(proprio_);
    proprio_.clear();
    return;
  }
  chiudi();
  if (testo_->size() >= kSogliaRegistro) registro.svuotaInSfondo();
}

void BloccoRegistro::chiudi() {
  if (righe_ > 0) testo_->append("\r\n");
  righe_ = 0;
  inizio_ = testo_->size();
}

}  // namespace vorlane
