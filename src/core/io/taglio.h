#pragma once
// A large file cut into pieces at line starts, one piece after the other: each cut is looked for
// from where the piece before ended, so finding every cut reads each byte of the file at most
// once, however long its lines.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vorlane {

class TaglioFile {
 public:
  // Pieces of about `pezzo` bytes that start at lines whose first byte is `iniziale` (any line
  // when 0); the first starts at the file's start. Throws ErroreVorlane naming the file when it
  // cannot be read.
  TaglioFile(const std::filesystem::path& percorso, char iniziale, std::uintmax_t pezzo);
  ~TaglioFile();
  TaglioFile(const TaglioFile&) = delete;
  TaglioFile& operator=(const TaglioFile&) = delete;

  // The next piece, bytes [da, a) (a is UINTMAX_MAX for the last); false when none is left.
  bool prossimo(std::uintmax_t& da, std::uintmax_t& a);
  // The first line start at or after `da` whose first byte is `iniziale`, or UINTMAX_MAX when
  // there is none. A line starts after an LF, and after a CR not followed by one.
  std::uintmax_t inizioDopo(std::uintmax_t da);
  // Bytes read to find the cuts so far.
  std::uintmax_t esaminati() const { return esaminati_; }

 private:
  std::filesystem::path percorso_;
  int fd_ = -1;
  char iniziale_;
  std::uintmax_t pezzo_;
  std::uintmax_t prossimo_ = 0;  // where the next piece starts; UINTMAX_MAX past the last
  std::uintmax_t esaminati_ = 0;
  std::vector<char> buffer_;
};

}  // namespace vorlane
