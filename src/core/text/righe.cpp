#include "text/righe.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/errore.h"
#include "text/testo.h"

namespace vorlane {
namespace {
constexpr std::size_t kBuffer = 1 << 18;

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
  buffer_.resize(kBuffer);
}

LettoreRighe::~LettoreRighe() {
  if (file_) std::fclose(file_);
}

bool LettoreRighe::riempi() {
  if (finito_) return false;
  std::size_t n = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  if (n < buffer_.size()) {
    if (std::ferror(file_))
      throw ErroreVorlane(descrizioneErrore("errore di lettura del file", percorso_, errno));
    finito_ = true;
  }
  inizio_ = 0;
  fine_ = n;
  std::string_view dati(buffer_.data(), n);
  prossimoLF_ = std::min(dati.find('\n'), n);
  prossimoNonAscii_ = primoNonAscii(dati);
  return n > 0;
}

std::size_t LettoreRighe::terminatore() {
  std::string_view dati(buffer_.data(), fine_);
  if (prossimoLF_ < inizio_) prossimoLF_ = std::min(dati.find('\n', inizio_), fine_);
  // A CR can only end the line before the next LF; bounding the search there keeps a file of
  // LF-ended lines from being searched to the buffer's end for a CR on every line. In a file of
  // lone CRs the LF search above runs once per buffer, not once per line.
  std::size_t cr = dati.substr(0, prossimoLF_).find('\r', inizio_);
  return cr == std::string_view::npos ? prossimoLF_ : cr;
}

std::string_view LettoreRighe::consegna(std::size_t da, std::size_t a) {
  ++numeroRiga_;
  std::string_view grezza(buffer_.data() + da, a - da);
  if (prossimoNonAscii_ < da)
    prossimoNonAscii_ = da + primoNonAscii(std::string_view(buffer_.data() + da, fine_ - da));
  return prossimoNonAscii_ < a ? transcodifica(grezza) : grezza;
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
    std::size_t da = inizio_, a = terminatore();
    if (a == fine_) {
      // The line goes on in the next buffer.
      lunga_.append(buffer_.data() + da, a - da);
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
      riga = consegna(da, a);
      return true;
    }
    lunga_.append(buffer_.data() + da, a - da);
    riga = consegnaLunga();
    return true;
  }
}

}  // namespace vorlane
