#include "io/taglio.h"

#include <unistd.h>

#include <cerrno>
#include <limits>

#include "app/errore.h"
#include "io/righe.h"

namespace vorlane {
TaglioFile::TaglioFile(const std::filesystem::path& percorso, char iniziale, std::uintmax_t pezzo)
    : percorso_(percorso), iniziale_(iniziale), pezzo_(pezzo > 0 ? pezzo : 1) {
  fd_ = apriInLettura(percorso_);
}

TaglioFile::~TaglioFile() {
  ::close(fd_);
}

bool TaglioFile::prossimo(std::uintmax_t& da, std::uintmax_t& a) {
  if (prossimo_ == UINTMAX_MAX) return false;
  da = prossimo_;
  a = da > UINTMAX_MAX - pezzo_ ? UINTMAX_MAX : inizioDopo(da + pezzo_);
  prossimo_ = a;
  return true;
}

std::uintmax_t TaglioFile::inizioDopo(std::uintmax_t da) {
  // The byte before `da` tells whether `da` itself starts a line.
  std::uintmax_t pos = da > 0 ? da - 1 : 0;
  char prima = da > 0 ? '\0' : '\n';
  // A few samples' worth first: the line start is almost always among them.
  buffer_.resize(1 << 12);
  for (;; buffer_.resize(1 << 16)) {
    if (pos > static_cast<std::uintmax_t>(std::numeric_limits<off_t>::max())) return UINTMAX_MAX;
    ssize_t n = ::pread(fd_, buffer_.data(), buffer_.size(), static_cast<off_t>(pos));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw erroreFile("errore di lettura del file", percorso_, errno);
    }
    if (n == 0) return UINTMAX_MAX;
    esaminati_ += static_cast<std::uintmax_t>(n);
    for (ssize_t i = 0; i < n; ++i, ++pos) {
      char c = buffer_[static_cast<std::size_t>(i)];
      bool inizia = prima == '\n' || (prima == '\r' && c != '\n');
      if (inizia && pos >= da && (iniziale_ == 0 || c == iniziale_)) return pos;
      prima = c;
    }
  }
}

}  // namespace vorlane
