#include "elenco_file.h"

#include <algorithm>

#include "app/operazioni.h"
#include "text/testo.h"

namespace vorlane::ui {
namespace {

bool primaSenzaMaiuscole(const std::filesystem::path& a, const std::filesystem::path& b) {
  const std::string& x = a.native();
  const std::string& y = b.native();
  auto minore = [](char p, char q) { return minuscola(p) < minuscola(q); };
  if (std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), minore)) return true;
  if (std::lexicographical_compare(y.begin(), y.end(), x.begin(), x.end(), minore)) return false;
  return x < y;  // names that differ only in case keep a fixed order
}

}  // namespace

std::vector<std::filesystem::path> fileCorrispondenti(const std::filesystem::path& cartella,
                                                      const std::string& filtro) {
  std::vector<std::filesystem::path> nomi;
  if (cartella.empty() || filtro.empty()) return nomi;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(cartella, ec), fine; !ec && it != fine;
       it.increment(ec)) {
    std::filesystem::path nome = it->path().filename();
    if (nome.native().starts_with('.')) continue;
    std::error_code ecTipo;
    if (!it->is_regular_file(ecTipo)) continue;
    if (corrispondeFiltro(nome.native(), filtro)) nomi.push_back(nome);
  }
  std::sort(nomi.begin(), nomi.end(), primaSenzaMaiuscole);
  return nomi;
}

}  // namespace vorlane::ui
