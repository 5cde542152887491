#include "text/righe.h"

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
  return n > 0;
}

std::string_view LettoreRighe::consegna(std::string_view grezza) {
  ++numeroRiga_;
  if (soloAscii(grezza)) return grezza;
  convertita_ = daUtf8(grezza);
  return convertita_;
}

bool LettoreRighe::leggi(std::string_view& riga) {
  lunga_.clear();
  bool iniziata = false;
  for (;;) {
    if (inizio_ == fine_ && !riempi()) {
      if (!iniziata) return false;
      riga = consegna(lunga_);
      return true;
    }
    if (saltaLF_) {
      saltaLF_ = false;
      if (buffer_[inizio_] == '\n' && ++inizio_ == fine_) continue;
    }
    const char* p = buffer_.data() + inizio_;
    const char* f = buffer_.data() + fine_;
    const char* q = p;
    while (q < f && *q != '\n' && *q != '\r') ++q;
    if (q == f) {
      lunga_.append(p, f);
      iniziata = true;
      inizio_ = fine_;
      continue;
    }
    std::size_t lunghezza = static_cast<std::size_t>(q - p);
    inizio_ += lunghezza + 1;
    if (*q == '\r') {
      if (inizio_ < fine_) {
        if (buffer_[inizio_] == '\n') ++inizio_;
      } else {
        saltaLF_ = true;
      }
    }
    if (!iniziata) {
      riga = consegna(std::string_view(p, lunghezza));
      return true;
    }
    lunga_.append(p, lunghezza);
    riga = consegna(lunga_);
    return true;
  }
}

}  // namespace vorlane
