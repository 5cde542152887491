// Mutation check of 100,000 HV1 samples at 30 positions, timed beside a plain copy of the same
// bytes (read the input, write as many bytes as the log and the page hold).

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/avvio.h"
#include "app/operazioni.h"
#include "app/parametri.h"
#include "app/porta_memoria.h"
#include "generatore.h"
#include "log/registro.h"
#include "misura.h"

using namespace vorlane;
namespace fs = std::filesystem;

namespace {

// Boxes are counted, not shown: the log viewer alone would print 200,000 lines.
class PortaMuta : public PortaMemoria {
 public:
  void messaggio(const std::string&, const std::string&, Icona icona) override {
    if (icona == Icona::critica) ++errori;
  }
  bool domandaSiNo(const std::string&, const std::string&) override { return false; }
  int errori = 0;
};

std::string listaPosizioni(int quante) {
  std::string lista;
  for (int i = 0; i < quante; ++i) lista += (i ? "," : "") + std::to_string(16010 + i * 13);
  return lista;
}

}  // namespace

int main() {
  std::string modello = (fs::temp_directory_path() / "vorlane-bench-XXXXXX").native();
  if (!::mkdtemp(modello.data())) return 1;
  const fs::path cartella = modello;
  for (const char* nome :
       {"messaggi.txt", "tabella_mutazioni_OLD.csv", "tabella_mutazioni_Motifs.csv"})
    fs::copy_file(fs::path(VORLANE_DATI) / nome, cartella / nome);

  StatoVorlane stato;
  PortaMuta porta;
  if (!Avvio(stato, porta, cartella)) return 1;
  bench::OpzioniGeneratore opzioni;
  const fs::path ingresso = stato.cartellaEsporta / "bench.FASTA";
  bench::scriviFasta(ingresso, bench::generaCampioni(opzioni));

  porta.impostaTesto(Controllo::Text_posMutazione, listaPosizioni(30));
  Text_posMutazione_Change(stato, porta);
  PreparaOperazione(stato, porta, Comando::ControlloMutazioni);
  EsitoEvento esito = EsitoEvento::errore;
  double tempo =
      bench::secondi([&] { esito = File_Sequenza_DblClick(stato, porta, "bench.FASTA"); });
  if (esito != EsitoEvento::completato || porta.errori) {
    std::fprintf(stderr, "il controllo non \xC3\xA8 riuscito\n");
    return 1;
  }

  std::uintmax_t registro = fs::file_size(percorsoRegistro(stato));
  std::uintmax_t pagina = fs::file_size(stato.cartellaHtml / "ControlloMutazioni_bench.htm");
  double copia = bench::tempoCopia(ingresso, registro + pagina, cartella);
  std::printf("campioni: %zu, posizioni: 30\n", opzioni.campioni);
  std::printf("ingresso: %.1f MB, registro: %.1f MB, pagina: %.1f MB\n",
              static_cast<double>(fs::file_size(ingresso)) / 1e6,
              static_cast<double>(registro) / 1e6, static_cast<double>(pagina) / 1e6);
  std::printf("controllo: %.3f s, copia degli stessi byte: %.3f s (%.1fx)\n", tempo, copia,
              tempo / copia);
  fs::remove_all(cartella);
  return 0;
}
