#pragma once
// Every text file the program writes goes through here: lines ended by CR LF, Windows-1252.
// A file is built under a temporary name beside its target and renamed over it only when it is
// complete, so a failed run never leaves a half-written file and the previous one stays intact.

#include <filesystem>
#include <string>
#include <string_view>

namespace vorlane {

class ScrittoreTesto {
 public:
  // Creates the temporary file; throws ErroreVorlane naming the target when it cannot.
  explicit ScrittoreTesto(std::filesystem::path destinazione);
  ~ScrittoreTesto();
  ScrittoreTesto(const ScrittoreTesto&) = delete;
  ScrittoreTesto& operator=(const ScrittoreTesto&) = delete;

  // One line; CR LF is added.
  void riga(std::string_view testo);
  // Pieces of one line, joined; CR LF is added.
  template <class... T>
  void righe(const T&... pezzi) {
    (buffer_.append(pezzi), ...);
    fineRiga();
  }
  // Flushes, closes and puts the file in place of the target.
  void conferma();
  const std::filesystem::path& destinazione() const { return destinazione_; }

 private:
  void fineRiga();
  void svuota();

  std::filesystem::path destinazione_;
  std::filesystem::path temporaneo_;
  int fd_ = -1;
  std::string buffer_;
};

// Appends text (already made of CR LF-ended lines) to a file, creating it when missing. The file
// is opened and closed within the call so that other writers can append between calls.
void aggiungiAlFile(const std::filesystem::path& percorso, std::string_view testo);

}  // namespace vorlane
