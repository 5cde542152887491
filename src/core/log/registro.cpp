#include "log/registro.h"

#include <cstdio>

#include "app/errore.h"
#include "text/date.h"
#include "text/scrittura.h"
#include "text/testo.h"

namespace vorlane {
namespace {
constexpr std::size_t kSogliaRegistro = 1 << 20;

// Splits text into lines ended by CR LF, CR or LF and joins them again with CR LF.
std::string righeConCrLf(std::string_view testo) {
  std::string uscita;
  uscita.reserve(testo.size() + 64);
  std::size_t i = 0;
  while (i < testo.size()) {
    std::size_t fine = testo.find_first_of("\r\n", i);
    if (fine == std::string_view::npos) fine = testo.size();
    uscita.append(testo.substr(i, fine - i));
    uscita.append("\r\n");
    if (fine < testo.size() && testo[fine] == '\r' && fine + 1 < testo.size() &&
        testo[fine + 1] == '\n')
      ++fine;
    i = fine + 1;
  }
  return uscita;
}

// Index of the last line start that holds "*" in `coda`; `completa` tells whether `coda`
// begins at the start of the file (so its index 0 is a line start).
std::size_t ultimoInizioBlocco(std::string_view coda, bool completa) {
  for (std::size_t i = coda.size(); i-- > 0;) {
    if (coda[i] != '*') continue;
    if (i == 0 ? completa : (coda[i - 1] == '\n' || coda[i - 1] == '\r')) return i;
  }
  return std::string_view::npos;
}
}  // namespace

std::filesystem::path percorsoRegistro(const StatoVorlane& stato) {
  return stato.cartellaLog / (dataPerNomeFile(stato.orologio()) + "_Vorlane.log");
}

void SvuotaRegistro(StatoVorlane& stato) {
  procedura("ScriviLogOperazioni", [&] {
    CodaRegistro& coda = stato.registro;
    if (coda.testo.empty()) return;
    aggiungiAlFile(coda.percorso, coda.testo);
    coda.testo.clear();
  });
}

void ScriviLogOperazioni(StatoVorlane& stato, const std::string& messaggio) {
  procedura("ScriviLogOperazioni", [&] {
    std::filesystem::path percorso = percorsoRegistro(stato);
    if (percorso != stato.registro.percorso) {
      SvuotaRegistro(stato);
      stato.registro.percorso = percorso;
    }
    stato.registro.testo.append(messaggio).append("\r\n");
    if (stato.registro.testo.size() >= kSogliaRegistro) SvuotaRegistro(stato);
  });
}

std::string ultimoBlocco(const std::filesystem::path& registro) {
  std::FILE* f = std::fopen(registro.c_str(), "rb");
  if (!f) throw ErroreVorlane("il registro di oggi '" + testoPercorso(registro) + "' non esiste");
  std::fseek(f, 0, SEEK_END);
  long dimensione = std::ftell(f);
  std::string coda;
  std::size_t inizio = std::string::npos;
  for (long passo = 1 << 16;; passo *= 2) {
    long da = dimensione > passo ? dimensione - passo : 0;
    coda.resize(static_cast<std::size_t>(dimensione - da));
    std::fseek(f, da, SEEK_SET);
    std::size_t letti = std::fread(coda.data(), 1, coda.size(), f);
    coda.resize(letti);
    inizio = ultimoInizioBlocco(coda, da == 0);
    if (inizio != std::string::npos || da == 0) break;
  }
  std::fclose(f);
  if (coda.empty())
    throw ErroreVorlane("il registro di oggi '" + testoPercorso(registro) + "' \xE8 vuoto");
  if (inizio == std::string::npos) inizio = 0;
  return righeConCrLf(std::string_view(coda).substr(inizio));
}

void VisualizzaLogOperazioni(StatoVorlane& stato, Porta& porta) {
  procedura("VisualizzaLogOperazioni", [&] {
    SvuotaRegistro(stato);
    porta.messaggio(ultimoBlocco(percorsoRegistro(stato)), kTitoloApplicazione, Icona::nessuna);
  });
}

}  // namespace vorlane
