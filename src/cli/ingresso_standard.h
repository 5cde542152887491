#pragma once
// Standard input as a file: the operations read named regular files (a pipe is refused like
// any file that is not one), so "-" is first copied whole into a private temporary folder.

#include <filesystem>
#include <string>

namespace vorlane::batch {

class IngressoStandard {
 public:
  // Copies standard input to `nome` in a new folder under $TMPDIR (or /tmp); the results of the
  // operation are named after `nome`. Throws ErroreVorlane when it cannot.
  explicit IngressoStandard(const std::string& nome);
  ~IngressoStandard();
  IngressoStandard(const IngressoStandard&) = delete;
  IngressoStandard& operator=(const IngressoStandard&) = delete;
  const std::filesystem::path& percorso() const { return file_; }

 private:
  std::filesystem::path cartella_, file_;
};

}  // namespace vorlane::batch
