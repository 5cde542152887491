#include "text/righe.h"

#include <cerrno>
#include <cstring>

#include "app/errore.h"
#include "text/fine_riga.h"
#include "text/testo.h"

namespace vorlane {
namespace {
constexpr std::size_t kBuffer = LettoreRighe::kBuffer;
// Bytes a line-end search may load past the data: one step of two registers.
constexpr std::size_t kOltre = 64;

std::string descrizioneErrore(const char* cosa, const std::filesystem::path& p, int err) {
  return std::string(cosa) + " '" + testoPercorso(p) + "': " + std::strerror(err);
}
}  // namespace

LettoreRighe::LettoreRighe(const std::filesystem::path& percorso) : percorso_(percorso) {
  std::error_code ec;
  if (std::filesystem::is_directory(percorso_, ec))
    throw ErroreVorlane(descrizioneErrore("impossibile leggere il file", percorso_, EISDIR));
  file_ = std::fopen(percorso_.c_str(), "rb");
  if (!file_)
    throw ErroreVorlane(descrizioneErrore("impossibile aprire il file", percorso_, errno));
  buffer_.reset(new char[kBuffer + kOltre]);
}

LettoreRighe::~LettoreRighe() {
  // Reading stops here (an error of the reader's own, or the caller's): a read ahead has
  // nothing left to report.
  sfondo_.concludi();
  if (file_) std::fclose(file_);
}

std::size_t LettoreRighe::leggiBuffer(char* dati, bool& ultimo) {
  std::size_t n = std::fread(dati, 1, kBuffer, file_);
  ultimo = n < kBuffer;
  if (ultimo && std::ferror(file_))
    throw ErroreVorlane(descrizioneErrore("errore di lettura del file", percorso_, errno));
  // The LFs past the data stop the search for a line end there without a bound check on every
  // block, and every block it loads is within the allocation and initialised.
  std::memset(dati + n, '\n', kOltre);
  return n;
}

void LettoreRighe::anticipa() {
  if (!anticipato_) anticipato_.reset(new char[kBuffer + kOltre]);
  inAnticipo_ = true;
  sfondo_.affida([this] { lettiAnticipati_ = leggiBuffer(anticipato_.get(), ultimoAnticipato_); });
}

bool LettoreRighe::riempi() {
  if (finito_) return false;
  std::size_t n;
  if (inAnticipo_) {
    inAnticipo_ = false;
    sfondo_.attendi();
    std::swap(buffer_, anticipato_);
    n = lettiAnticipati_;
    finito_ = ultimoAnticipato_;
  } else {
    n = leggiBuffer(buffer_.get(), finito_);
  }
  inizio_ = 0;
  fine_ = n;
  if (!finito_) anticipa();
  return n > 0;
}

std::size_t LettoreRighe::terminatore(std::size_t da, bool& nonAscii) const {
  return da + cercaFineRiga(buffer_.get() + da, nonAscii);
}

std::string_view LettoreRighe::consegna(std::size_t da, std::size_t a, bool nonAscii) {
  ++numeroRiga_;
  std::string_view grezza(buffer_.get() + da, a - da);
  return nonAscii ? transcodifica(grezza) : grezza;
}

std::string_view LettoreRighe::consegnaLunga() {
  ++numeroRiga_;
  return soloAscii(lunga_) ? std::string_view(lunga_) : transcodifica(lunga_);
}

std::string_view LettoreRighe::transcodifica(std::string_view grezza) {
  convertita_ = daUtf8(grezza);
  return convertita_;
}

bool LettoreRighe::leggi(std::string_view& riga) {
  lunga_.clear();
  bool iniziata = false;
  for (;;) {
    if (inizio_ == fine_ && !riempi()) {
      if (!iniziata) return false;
      riga = consegnaLunga();
      return true;
    }
    if (saltaLF_) {
      saltaLF_ = false;
      if (buffer_[inizio_] == '\n' && ++inizio_ == fine_) continue;
    }
    std::size_t da = inizio_;
    bool nonAscii = false;
    std::size_t a = terminatore(da, nonAscii);
    if (a == fine_) {
      // The line goes on in the next buffer.
      lunga_.append(buffer_.get() + da, a - da);
      iniziata = true;
      inizio_ = fine_;
      continue;
    }
    inizio_ = a + 1;
    if (buffer_[a] == '\r') {
      if (inizio_ < fine_) {
        if (buffer_[inizio_] == '\n') ++inizio_;
      } else {
        saltaLF_ = true;
      }
    }
    if (!iniziata) {
      riga = consegna(da, a, nonAscii);
      return true;
    }
    lunga_.append(buffer_.get() + da, a - da);
    riga = consegnaLunga();
    return true;
  }
}

}  // namespace vorlane
