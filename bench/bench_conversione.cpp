// Conversion to tables and normalisation back, on 100,000 synthetic HV1 samples, each beside
// the time a plain copy of the same input and output bytes takes.

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/errore.h"
#include "app/porta_memoria.h"
#include "convert/conversione.h"
#include "convert/normalizzazione.h"
#include "generatore.h"
#include "misura.h"
#include "sequence/riferimento.h"

using namespace vorlane;
namespace fs = std::filesystem;

namespace {

constexpr int kRipetizioni = 3;

class PortaSilenziosa : public PortaMemoria {
 public:
  void messaggio(const std::string&, const std::string&, Icona) override {}
  bool domandaSiNo(const std::string&, const std::string&) override { return true; }
};

// Best of a few runs of one operation on `ingresso`, printed beside the copy of its bytes.
void misura(const char* nome, StatoVorlane& stato, PortaSilenziosa& porta,
            Esito (*operazione)(StatoVorlane&, Porta&), const fs::path& ingresso,
            const fs::path& uscita, const fs::path& cartella) {
  stato.nomeFileScelto = stato.fileCampione = ingresso;
  double migliore = 1e9;
  for (int i = 0; i < kRipetizioni; ++i)
    migliore = std::min(migliore, bench::secondi([&] { operazione(stato, porta); }));
  double copia = 1e9;
  for (int i = 0; i < kRipetizioni; ++i)
    copia = std::min(copia, bench::tempoCopia(ingresso, fs::file_size(uscita), cartella));
  std::printf("%-24s %7.3f s   copia degli stessi byte %7.3f s   (%.1f MB -> %.1f MB)\n", nome,
              migliore, copia, static_cast<double>(fs::file_size(ingresso)) / 1e6,
              static_cast<double>(fs::file_size(uscita)) / 1e6);
}

}  // namespace

int main() {
  std::string modello = (fs::temp_directory_path() / "vorlane-bench-XXXXXX").string();
  if (!::mkdtemp(modello.data())) return 1;
  const fs::path cartella = modello;
  int esito = 0;
  try {
    StatoVorlane stato;
    PortaSilenziosa porta;
    stato.cartellaDati = cartella / "dati";
    stato.cartellaEsporta = cartella / "esporta";
    fs::create_directory(stato.cartellaDati);
    fs::create_directory(stato.cartellaEsporta);
    stato.impostazioni.InizioSequenza = "16001";
    stato.impostazioni.FineSequenza = "16400";
    CaricaSequenzaRiferimento(stato, porta);

    bench::OpzioniGeneratore opzioni;
    auto campioni = bench::generaCampioni(opzioni);
    bench::scriviFasta(stato.cartellaEsporta / "hv1.FASTA", campioni);
    bench::scriviArlequin(stato.cartellaEsporta / "hv1.ARL", campioni);
    std::printf("%zu campioni HV1 (%d-%d), migliore di %d prove\n", campioni.size(), opzioni.da,
                opzioni.a, kRipetizioni);

    const fs::path tabella = stato.cartellaDati / "hv1.txt";
    misura("conversione FASTA", stato, porta, ConvertiFASTAinTabella,
           stato.cartellaEsporta / "hv1.FASTA", tabella, cartella);
    misura("normalizzazione FASTA", stato, porta, NormalizzaFasta, tabella,
           stato.cartellaEsporta / "hv1.FASTA", cartella);
    misura("conversione Arlequin", stato, porta, ConvertiARLinTabella,
           stato.cartellaEsporta / "hv1.ARL", tabella, cartella);
    misura("normalizzazione Arlequin", stato, porta, NormalizzaArlequin, tabella,
           stato.cartellaEsporta / "hv1.ARL", cartella);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "errore: %s\n", e.what());
    esito = 1;
  }
  std::error_code ec;
  fs::remove_all(cartella, ec);
  return esito;
}
