#include "aiuti.h"

#include "convert/tabella.h"
#include "log/registro.h"
#include "sequence/riferimento.h"
#include "text/testo.h"

namespace vorlane::test {

std::string sequenzaDa(int da, int a, const std::map<int, char>& basi) {
  std::string_view rif = testoRiferimento();
  std::string s;
  for (int p = da; p <= a; ++p) {
    auto it = basi.find(p);
    s += it != basi.end() ? it->second : maiuscola(rif[static_cast<std::size_t>(p - 1)]);
  }
  return s;
}

char altraBase(int p) {
  return partnerTransizione(maiuscola(testoRiferimento()[static_cast<std::size_t>(p - 1)]));
}

EsitoEvento esegui(Ambiente& amb, Comando comando, const std::string& nomeFile, bool arlequin) {
  PreparaOperazione(amb.stato, amb.porta, comando);
  if (arlequin) Option_TipoFileSequenza_Click(amb.stato, 1);
  return File_Sequenza_DblClick(amb.stato, amb.porta, nomeFile);
}

void intervallo(Ambiente& amb, const std::string& da, const std::string& a) {
  amb.porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, da);
  amb.porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, a);
}

std::vector<std::string> ultimoBloccoRighe(const Ambiente& amb) {
  return righeCrLf(std::string(ultimoBlocco(amb.stato.registro.percorso())));
}

std::vector<std::vector<std::string>> righeUltimaTabella(const std::string& pagina) {
  std::vector<std::vector<std::string>> righe;
  std::size_t inizio = pagina.rfind("<TABLE");
  std::vector<std::string> linee = righeCrLf(pagina.substr(inizio));
  for (std::size_t i = 0; i < linee.size(); ++i) {
    std::string_view l = senzaSpazi(linee[i]);
    if (l.rfind("<TR", 0) == 0) righe.emplace_back();
    if (l == "<P>" && i + 1 < linee.size()) righe.back().emplace_back(senzaSpazi(linee[i + 1]));
    if (l == "</TABLE>") break;
  }
  return righe;
}

std::vector<std::string> colonnaRisultati(const Ambiente& amb, const std::string& nome) {
  std::vector<std::string> righe = righeCrLf(leggiFile(amb.stato.tabellaRisultati));
  std::vector<std::string> intestazione = dividi(righe.at(0), '\t');
  std::size_t k = 0;
  while (k < intestazione.size() && intestazione[k] != nome) ++k;
  std::vector<std::string> valori;
  for (std::size_t r = 1; r < righe.size(); ++r)
    if (!righe[r].empty()) valori.push_back(dividi(righe[r], '\t').at(k));
  return valori;
}

}  // namespace vorlane::test
