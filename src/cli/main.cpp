// vorlane-batch: the window's operations without a window, for pipelines and tests. It runs in
// the current directory, does the window's start-up, then what one command and one double-click
// on FILE would do.

#include <clocale>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/avvio.h"
#include "app/operazioni.h"
#include "app/parametri.h"
#include "app/segnalazione.h"
#include "porta_batch.h"
#include "text/testo.h"

using namespace vorlane;

namespace {

constexpr int kEsitoErrore = 1;
constexpr int kEsitoInterrotto = 2;
constexpr int kEsitoUso = 64;

constexpr const char* kUso =
    "uso: vorlane-batch [--arlequin] [--da N] [--a N] [--posizioni LISTA] [--sovrascrivi] "
    "[--salva] [OPERAZIONE FILE]\n"
    "OPERAZIONE: controllo, normalizza, converti, confronta, confronta-multiplo,\n"
    "            confronta-motivi, confronta-multiplo-motivi\n";

struct Richiesta {
  bool arlequin = false, sovrascrivi = false, salva = false;
  std::optional<std::string> da, a, posizioni;
  std::optional<Comando> comando;
  std::filesystem::path file;
};

std::optional<Comando> comandoDaNome(const std::string& nome) {
  static const std::pair<const char*, Comando> kNomi[] = {
      {"controllo", Comando::ControlloMutazioni},
      {"normalizza", Comando::Normalizza},
      {"converti", Comando::ConvertiInTabella},
      {"confronta", Comando::ConfrontaSingolo},
      {"confronta-multiplo", Comando::ConfrontaMultiplo},
      {"confronta-motivi", Comando::ConfrontaSingoloNew},
      {"confronta-multiplo-motivi", Comando::ConfrontaMultiploNew},
  };
  for (const auto& [n, c] : kNomi)
    if (nome == n) return c;
  return std::nullopt;
}

std::optional<Richiesta> leggiArgomenti(int argc, char** argv) {
  Richiesta r;
  int posizionale = 0;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto valore = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return daUtf8(argv[++i]);
    };
    if (a == "--arlequin") {
      r.arlequin = true;
    } else if (a == "--sovrascrivi") {
      r.sovrascrivi = true;
    } else if (a == "--salva") {
      r.salva = true;
    } else if (a == "--da" || a == "--a" || a == "--posizioni") {
      auto v = valore();
      if (!v) return std::nullopt;
      (a == "--da" ? r.da : a == "--a" ? r.a : r.posizioni) = *v;
    } else if (a.rfind("--", 0) == 0) {
      return std::nullopt;
    } else if (posizionale == 0) {
      r.comando = comandoDaNome(a);
      if (!r.comando) return std::nullopt;
      ++posizionale;
    } else if (posizionale == 1) {
      r.file = argv[i];
      ++posizionale;
    } else {
      return std::nullopt;
    }
  }
  if (posizionale == 1) return std::nullopt;
  return r;
}

// Types into the boxes and leaves them, as a user would; false when a box refused its text.
bool compilaCaselle(StatoVorlane& stato, PortaBatch& porta, const Richiesta& r) {
  if (r.da) {
    porta.impostaTesto(Controllo::Text_PosizioneMutazioneDa, *r.da);
    if (!Text_PosizioneMutazioneDa_LostFocus(stato, porta)) return false;
  }
  if (r.a) {
    porta.impostaTesto(Controllo::Text_PosizioneMutazioneA, *r.a);
    if (!Text_PosizioneMutazioneA_LostFocus(stato, porta)) return false;
  }
  if (r.posizioni) {
    porta.impostaTesto(Controllo::Text_posMutazione, *r.posizioni);
    Text_posMutazione_Change(stato, porta);
  }
  return true;
}

int esegui(StatoVorlane& stato, PortaBatch& porta, const Richiesta& r) {
  if (!compilaCaselle(stato, porta, r)) return kEsitoInterrotto;
  if (!r.comando) return 0;
  if (PreparaOperazione(stato, porta, *r.comando) == EsitoEvento::errore) return kEsitoErrore;
  if (r.arlequin) Option_TipoFileSequenza_Click(stato, 1);
  switch (File_Sequenza_DblClick(stato, porta, r.file)) {
    case EsitoEvento::completato:
      return 0;
    case EsitoEvento::interrotto:
      return kEsitoInterrotto;
    case EsitoEvento::errore:
      break;
  }
  return kEsitoErrore;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_NUMERIC, "");
  std::optional<Richiesta> richiesta = leggiArgomenti(argc, argv);
  if (!richiesta) {
    std::cerr << kUso;
    return kEsitoUso;
  }
  StatoVorlane stato;
  PortaBatch porta(std::cout, std::cerr, richiesta->sovrascrivi);
  std::error_code ec;
  std::filesystem::path cartella = std::filesystem::current_path(ec);
  if (ec) {
    // A folder removed while a shell stood in it: nothing can be read or written there.
    segnalaErrore(stato, porta,
                  ErroreVorlane("Form_Load", "impossibile trovare la cartella di lavoro: " +
                                                 descrizioneSistema(ec.value())));
    return kEsitoErrore;
  }
  if (!Avvio(stato, porta, cartella)) return kEsitoErrore;
  int esito = esegui(stato, porta, *richiesta);
  if (richiesta->salva && !Cmd_esci_Click(stato, porta)) esito = kEsitoErrore;
  return esito;
}
