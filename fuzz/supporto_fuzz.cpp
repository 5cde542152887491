#include "supporto_fuzz.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/avvio.h"

namespace vorlane::fuzz {

Lavoro& lavoro() {
  static Lavoro* l = [] {
    auto* nuovo = new Lavoro;
    std::string modello = (std::filesystem::temp_directory_path() / "vorlane-fuzz-XXXXXX").native();
    if (!::mkdtemp(modello.data())) std::abort();
    nuovo->cartella = modello;
    for (const char* nome :
         {"messaggi.txt", "tabella_mutazioni_OLD.csv", "tabella_mutazioni_Motifs.csv"})
      std::filesystem::copy_file(std::filesystem::path(VORLANE_DATI) / nome,
                                 nuovo->cartella / nome);
    if (!Avvio(nuovo->stato, nuovo->porta, nuovo->cartella)) std::abort();
    return nuovo;
  }();
  return *l;
}

std::filesystem::path scriviIngresso(const std::filesystem::path& file, const std::uint8_t* dati,
                                     std::size_t n) {
  std::FILE* f = std::fopen(file.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(dati, 1, n, f);
  std::fclose(f);
  return file;
}

}  // namespace vorlane::fuzz
