#include "generatore.h"

#include <random>

#include "convert/tabella.h"
#include "io/righe.h"
#include "io/scrittura.h"
#include "sequence/riferimento.h"
#include "text/testo.h"

namespace vorlane::bench {
namespace {
char transizione(char base) {
  char partner = partnerTransizione(base);
  return partner != 0 ? partner : 'N';
}
}  // namespace

std::vector<Motivo> leggiMotivi(const std::filesystem::path& tabella, int da, int a) {
  std::vector<Motivo> motivi;
  LettoreRighe righe(tabella);
  std::string_view riga;
  while (righe.leggi(riga)) {
    if (riga.empty() || riga[0] == '#' || riga[0] == '/') continue;
    std::vector<std::string> campi = dividi(riga, ';');
    if (campi.size() < 3) continue;
    Motivo m;
    for (const std::string& voce : dividi(campi[2], ' ')) {
      if (!voce.empty() && voce[0] == '(') break;  // "(part of the motif: ...)" ends the list
      int p = static_cast<int>(numeroIniziale(voce));
      if (p >= da && p <= a && !voce.empty()) m.emplace_back(p, maiuscola(voce.back()));
    }
    if (!m.empty()) motivi.push_back(std::move(m));
  }
  return motivi;
}

namespace {
// One change at a random place: mostly transitions, some transversions, a few N and "?".
void mutazioneCasuale(std::string& sequenza, std::mt19937& caso) {
  std::uniform_int_distribution<std::size_t> dove(0, sequenza.size() - 1);
  std::uniform_int_distribution<int> cento(0, 99);
  char& b = sequenza[dove(caso)];
  int tipo = cento(caso);
  b = tipo < 85 ? transizione(b) : tipo < 95 ? "ACGT"[tipo % 4] : tipo < 98 ? 'N' : '?';
}
}  // namespace

std::vector<CampioneSintetico> generaCampioni(const OpzioniGeneratore& o) {
  std::mt19937 caso(o.seme);
  std::string base;
  std::string_view rif = testoRiferimento();
  for (int p = o.da; p <= o.a; ++p) base += maiuscola(rif[static_cast<std::size_t>(p - 1)]);
  std::uniform_int_distribution<int> casuali(0, 8), private_(0, 3), frequenza(1, 5);
  std::uniform_int_distribution<std::size_t> motivo(0, o.motivi.empty() ? 0 : o.motivi.size() - 1);
  std::vector<CampioneSintetico> campioni(o.campioni);
  for (std::size_t i = 0; i < o.campioni; ++i) {
    CampioneSintetico& c = campioni[i];
    c.nome = "campione_" + std::to_string(i + 1);
    c.frequenza = frequenza(caso);
    c.sequenza = base;
    int altre = casuali(caso);
    if (!o.motivi.empty()) {
      for (auto [p, b] : o.motivi[motivo(caso)]) c.sequenza[static_cast<std::size_t>(p - o.da)] = b;
      altre = private_(caso);
    }
    for (; altre > 0; --altre) mutazioneCasuale(c.sequenza, caso);
  }
  return campioni;
}

std::vector<CampioneSintetico> generaLetture(const std::vector<CampioneSintetico>& campioni,
                                             unsigned seme, bool tagliate) {
  std::mt19937 caso(seme);
  std::uniform_int_distribution<int> inizio(15990, 16030), fine(16365, 16400), cento(0, 99),
      mancanti(1, 5), dove(16030, 16360);
  std::string_view rif = testoRiferimento();
  std::vector<CampioneSintetico> letture(campioni.size());
  // What each reference position contributes to a read: its base, none, or more.
  std::vector<std::string> pezzi(16401);
  for (std::size_t i = 0; i < campioni.size(); ++i) {
    const CampioneSintetico& c = campioni[i];
    for (int p = 15990; p <= 16400; ++p)
      pezzi[static_cast<std::size_t>(p)] =
          p < 16001 ? std::string(1, maiuscola(rif[static_cast<std::size_t>(p - 1)]))
                    : std::string(1, c.sequenza[static_cast<std::size_t>(p - 16001)]);
    if (cento(caso) < 20) pezzi[16188] += 'C';
    if (cento(caso) < 10) pezzi[static_cast<std::size_t>(dove(caso))].clear();
    const int da = tagliate ? 16024 : inizio(caso), a = tagliate ? 16365 : fine(caso);
    CampioneSintetico& l = letture[i];
    l.nome = c.nome;
    l.frequenza = c.frequenza;
    if (!tagliate && cento(caso) < 30)
      l.sequenza.append(static_cast<std::size_t>(mancanti(caso)), 'N');
    for (int p = da; p <= a; ++p) l.sequenza += pezzi[static_cast<std::size_t>(p)];
    if (!tagliate && cento(caso) < 30)
      l.sequenza.append(static_cast<std::size_t>(mancanti(caso)), 'N');
  }
  return letture;
}

void scriviFasta(const std::filesystem::path& file, const std::vector<CampioneSintetico>& campioni,
                 std::size_t larghezza) {
  ScrittoreTesto f(file);
  for (const auto& c : campioni) {
    f.righe(">", c.nome);
    if (larghezza == 0) {
      f.riga(c.sequenza);
      continue;
    }
    std::string_view s = c.sequenza;
    for (std::size_t i = 0; i < s.size(); i += larghezza) f.riga(s.substr(i, larghezza));
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
