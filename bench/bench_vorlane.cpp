// The speed benchmark: 100,000 HV1 samples (haplogroup motifs from the motif table plus private
// mutations, some N and "?"), every file operation run through vorlane-batch, each timed beside
// a plain copy of the same input and output bytes on the same machine in the same run.
//   bench_vorlane [samples]

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "generatore.h"
#include "misura.h"

using namespace vorlane;
namespace fs = std::filesystem;

namespace {

struct Operazione {
  const char* nome;
  std::string argomenti;
  const char* ingresso;  // relative to the working folder
};

using Istantanea = std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>>;

Istantanea istantanea(const fs::path& cartella) {
  Istantanea i;
  for (const auto& voce : fs::recursive_directory_iterator(cartella))
    if (voce.is_regular_file()) i[voce.path()] = {voce.file_size(), voce.last_write_time()};
  return i;
}

// Bytes an operation wrote: the growth of appended files (the log), the whole of new or
// replaced ones.
std::uintmax_t byteScritti(const Istantanea& prima, const Istantanea& dopo) {
  std::uintmax_t totale = 0;
  for (const auto& [file, stato] : dopo) {
    auto it = prima.find(file);
    if (it == prima.end()) {
      totale += stato.first;
    } else if (it->second.second != stato.second) {
      bool accodato = file.parent_path().filename() == "log";
      totale += accodato ? stato.first - it->second.first : stato.first;
    }
  }
  return totale;
}

std::string listaPosizioni(int quante) {
  std::string lista;
  for (int i = 0; i < quante; ++i) lista += (i ? "," : "") + std::to_string(16010 + i * 13);
  return lista;
}

double migliore(int volte, const std::function<double()>& misura) {
  double t = misura();
  for (int i = 1; i < volte; ++i) t = std::min(t, misura());
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  std::string modello = (fs::temp_directory_path() / "vorlane-bench-XXXXXX").native();
  if (!::mkdtemp(modello.data())) return 1;
  const fs::path cartella = modello;
  for (const char* nome :
       {"messaggi.txt", "tabella_mutazioni_OLD.csv", "tabella_mutazioni_Motifs.csv"})
    fs::copy_file(fs::path(VORLANE_DATI) / nome, cartella / nome);
  for (const char* c : {"log", "html", "dati", "esporta"}) fs::create_directory(cartella / c);

  bench::OpzioniGeneratore opzioni;
  if (argc > 1) opzioni.campioni = std::strtoul(argv[1], nullptr, 10);
  opzioni.motivi =
      bench::leggiMotivi(cartella / "tabella_mutazioni_Motifs.csv", opzioni.da, opzioni.a);
  auto campioni = bench::generaCampioni(opzioni);
  bench::scriviFasta(cartella / "esporta" / "campioni_fa.FASTA", campioni);
  bench::scriviArlequin(cartella / "esporta" / "campioni_ar.ARL", campioni);

  const std::string posizioni = "--posizioni " + listaPosizioni(30) + " ";
  const std::vector<Operazione> operazioni = {
      {"controllo FASTA", posizioni + "controllo campioni_fa.FASTA", "esporta/campioni_fa.FASTA"},
      {"controllo Arlequin", posizioni + "--arlequin controllo campioni_ar.ARL",
       "esporta/campioni_ar.ARL"},
      {"conversione FASTA", "--sovrascrivi converti campioni_fa.FASTA",
       "esporta/campioni_fa.FASTA"},
      {"conversione Arlequin", "--sovrascrivi --arlequin converti campioni_ar.ARL",
       "esporta/campioni_ar.ARL"},
      {"normalizzazione FASTA", "normalizza norm_fa.txt", "dati/norm_fa.txt"},
      {"normalizzazione Arlequin", "--arlequin normalizza norm_ar.txt", "dati/norm_ar.txt"},
      {"confronto multiplo", "confronta-multiplo campioni_fa.FASTA", "esporta/campioni_fa.FASTA"},
      {"confronto multiplo motivi", "confronta-multiplo-motivi campioni_fa.FASTA",
       "esporta/campioni_fa.FASTA"},
  };

  std::printf("%zu campioni HV1 (%d-%d), %zu motivi\n\n", opzioni.campioni, opzioni.da, opzioni.a,
              opzioni.motivi.size());
  std::printf("%-26s %9s %9s %9s %9s %7s\n", "operazione", "tempo s", "letti MB", "scritti MB",
              "copia s", "rapporto");
  bool ok = true;
  for (const Operazione& op : operazioni) {
    // The normalisations read the tables the conversions wrote, under names of their own so that
    // they do not replace the sample files the other operations read.
    if (std::string(op.ingresso) == "dati/norm_fa.txt")
      fs::copy_file(cartella / "dati" / "campioni_fa.txt", cartella / op.ingresso,
                    fs::copy_options::overwrite_existing);
    if (std::string(op.ingresso) == "dati/norm_ar.txt")
      fs::copy_file(cartella / "dati" / "campioni_ar.txt", cartella / op.ingresso,
                    fs::copy_options::overwrite_existing);
    std::string comando = "cd '" + cartella.native() + "' && '" VORLANE_BATCH "' " + op.argomenti +
                          " >/dev/null 2>&1";
    std::uintmax_t scritti = 0;
    // Every timed run, the operation's and the copy's, starts with the outputs of the runs
    // before it on disk: otherwise the kernel's write-back of hundreds of MB written earlier
    // would be charged to whichever run happens to come next.
    double tempo = migliore(3, [&] {
      ::sync();
      Istantanea prima = istantanea(cartella);
      int stato = 0;
      double t = bench::secondi([&] { stato = std::system(comando.c_str()); });
      if (stato != 0) ok = false;
      scritti = byteScritti(prima, istantanea(cartella));
      return t;
    });
    std::uintmax_t letti = fs::file_size(cartella / op.ingresso);
    double copia = migliore(3, [&] {
      ::sync();
      return bench::tempoCopia(cartella / op.ingresso, scritti, cartella);
    });
    std::printf("%-26s %9.3f %9.1f %9.1f %9.3f %7.1f\n", op.nome, tempo, letti / 1e6, scritti / 1e6,
                copia, tempo / copia);
  }
  fs::remove_all(cartella);
  if (!ok) std::fprintf(stderr, "vorlane-batch non ha completato ogni operazione\n");
  return ok ? 0 : 1;
}
