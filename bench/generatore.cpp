#include "generatore.h"

#include <random>

#include "convert/tabella.h"
#include "sequence/riferimento.h"
#include "text/scrittura.h"

namespace vorlane::bench {
namespace {
char transizione(char base) {
  char partner = partnerTransizione(base);
  return partner != 0 ? partner : 'N';
}
}  // namespace

std::vector<CampioneSintetico> generaCampioni(const OpzioniGeneratore& o) {
  std::mt19937 caso(o.seme);
  std::string base;
  std::string_view rif = testoRiferimento();
  for (int p = o.da; p <= o.a; ++p) base += static_cast<char>(rif[p - 1] - 'a' + 'A');
  std::uniform_int_distribution<int> quante(0, 8), dove(0, static_cast<int>(base.size()) - 1),
      cento(0, 99), frequenza(1, 5);
  std::vector<CampioneSintetico> campioni(o.campioni);
  for (std::size_t i = 0; i < o.campioni; ++i) {
    CampioneSintetico& c = campioni[i];
    c.nome = "campione_" + std::to_string(i + 1);
    c.frequenza = frequenza(caso);
    c.sequenza = base;
    for (int k = quante(caso); k > 0; --k) {
      char& b = c.sequenza[static_cast<std::size_t>(dove(caso))];
      int tipo = cento(caso);
      b = tipo < 85 ? transizione(b) : tipo < 95 ? "ACGT"[tipo % 4] : tipo < 98 ? 'N' : '?';
    }
  }
  return campioni;
}

void scriviFasta(const std::filesystem::path& file,
                 const std::vector<CampioneSintetico>& campioni) {
  ScrittoreTesto f(file);
  for (const auto& c : campioni) {
    f.righe(">", c.nome);
    f.riga(c.sequenza);
  }
  f.conferma();
}

void scriviArlequin(const std::filesystem::path& file,
                    const std::vector<CampioneSintetico>& campioni) {
  ScrittoreTesto f(file);
  for (const auto& c : campioni)
    f.righe(c.nome, "\t", std::to_string(c.frequenza), "\t", c.sequenza);
  f.conferma();
}

}  // namespace vorlane::bench
