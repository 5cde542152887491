#include "support/supporto.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "app/avvio.h"

namespace vorlane::test {

CartellaTemporanea::CartellaTemporanea() {
  std::string modello = (std::filesystem::temp_directory_path() / "vorlane-test-XXXXXX").native();
  if (!::mkdtemp(modello.data())) throw std::runtime_error("mkdtemp");
  percorso_ = modello;
}

CartellaTemporanea::~CartellaTemporanea() {
  std::error_code ec;
  std::filesystem::permissions(percorso_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(percorso_, ec);
}

LimiteFile::LimiteFile(rlim_t byte) {
  ::getrlimit(RLIMIT_FSIZE, &prima_);
  segnale_ = ::signal(SIGXFSZ, SIG_IGN);
  rlimit limite = prima_;
  limite.rlim_cur = byte;
  ::setrlimit(RLIMIT_FSIZE, &limite);
}

LimiteFile::~LimiteFile() {
  ::setrlimit(RLIMIT_FSIZE, &prima_);
  ::signal(SIGXFSZ, segnale_);
}

void scriviFile(const std::filesystem::path& p, const std::string& contenuto) {
  std::ofstream f(p, std::ios::binary);
  f << contenuto;
  if (!f) throw std::runtime_error("scrittura di " + p.string());
}

std::string leggiFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  if (!f) throw std::runtime_error("lettura di " + p.string());
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> righeCrLf(const std::string& contenuto) {
  std::vector<std::string> righe;
  std::size_t i = 0;
  while (i < contenuto.size()) {
    std::size_t f = contenuto.find("\r\n", i);
    if (f == std::string::npos) {
      righe.push_back(contenuto.substr(i));
      break;
    }
    righe.push_back(contenuto.substr(i, f - i));
    i = f + 2;
  }
  return righe;
}

std::string fastaACapo(const std::string& fasta, std::size_t larghezza, const std::string& fine,
                       RigheVuoteACapo vuote) {
  std::string testo;
  std::size_t i = 0;
  while (i < fasta.size()) {
    std::size_t f = std::min(fasta.find_first_of("\r\n", i), fasta.size());
    std::string_view riga(fasta.data() + i, f - i);
    i = f + (fasta.compare(f, 2, "\r\n") == 0 ? 2 : 1);
    if (riga.empty()) continue;
    if (riga[0] == '>') {
      testo.append(riga).append(fine);
      if (vuote.dopoIntestazione) testo += fine;
      continue;
    }
    for (std::size_t k = 0; k < riga.size(); k += larghezza)
      testo.append(riga.substr(k, larghezza)).append(fine);
    if (vuote.dopoCampione) testo += fine;
  }
  return testo;
}

std::tm momentoFisso() {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 7;
  t.tm_hour = 10;
  t.tm_min = 20;
  t.tm_sec = 30;
  return t;
}

void preparaCartellaLavoro(const std::filesystem::path& cartella) {
  const std::filesystem::path dati = VORLANE_DATI;
  for (const char* nome :
       {"messaggi.txt", "tabella_mutazioni_OLD.csv", "tabella_mutazioni_Motifs.csv"}) {
    std::error_code ec;
    std::filesystem::copy_file(dati / nome, cartella / nome,
                               std::filesystem::copy_options::overwrite_existing, ec);
  }
}

Ambiente::Ambiente() {
  preparaCartellaLavoro(cartella.percorso());
  stato.registro.orologio = momentoFisso;
  avviato = Avvio(stato, porta, cartella.percorso());
}

}  // namespace vorlane::test
