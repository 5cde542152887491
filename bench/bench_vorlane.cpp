// The speed benchmark: 100,000 HV1 samples (haplogroup motifs from the motif table plus private
// mutations, some N and "?"), every file operation run through vorlane-batch (the check, the
// FASTA conversion and the multiple comparison also on the samples wrapped at 70 characters a
// line, as GenBank and sequencing pipelines write them), each timed beside a plain copy of the
// same input and output bytes on the same machine in the same run: in this process ("copia",
// the ratio that counts), and as a program of its own started like
// vorlane-batch ("copia pr.", which pays the same process start-up). It prints the threads the
// engine uses, and the multiple comparison's time on one thread beside its time on all of them,
// and what aligning the samples to the reference costs.
//   bench_vorlane [samples] [--conserva]
// --conserva keeps the working folder, for profiling an operation on its files afterwards.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "generatore.h"
#include "io/fili.h"
#include "misura.h"

using namespace vorlane;
namespace fs = std::filesystem;

namespace {

struct Operazione {
  const char* nome;
  std::vector<std::string> argomenti;
  const char* ingresso;  // relative to the working folder
};

// Runs a program (vorlane-batch unless told) in the working folder, its output discarded; true
// when it exits 0. Started directly rather than through a shell, whose own start-up is no part of
// the program's time.
bool esegui(const fs::path& cartella, const std::vector<std::string>& argomenti,
            const char* programma = VORLANE_BATCH) {
  std::vector<char*> argv{const_cast<char*>(programma)};
  for (const std::string& a : argomenti) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t azioni;
  ::posix_spawn_file_actions_init(&azioni);
  ::posix_spawn_file_actions_addchdir_np(&azioni, cartella.c_str());
  ::posix_spawn_file_actions_addopen(&azioni, 1, "/dev/null", O_WRONLY, 0);
  ::posix_spawn_file_actions_addopen(&azioni, 2, "/dev/null", O_WRONLY, 0);
  pid_t figlio = 0;
  int errore = ::posix_spawn(&figlio, argv[0], &azioni, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&azioni);
  int stato = 0;
  if (errore != 0 || ::waitpid(figlio, &stato, 0) != figlio) return false;
  return WIFEXITED(stato) && WEXITSTATUS(stato) == 0;
}

using Istantanea = std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>>;

Istantanea istantanea(const fs::path& cartella) {
  Istantanea i;
  for (const auto& voce : fs::recursive_directory_iterator(cartella))
    if (voce.is_regular_file()) i[voce.path()] = {voce.file_size(), voce.last_write_time()};
  return i;
}

bool accodato(const fs::path& file) {
  return file.parent_path().filename() == "log";
}

// What an operation wrote: the files it created or replaced, the appended ones (the log) with
// their sizes before, and the bytes: the growth of appended files, the whole of the others.
struct Scritture {
  std::vector<fs::path> file;
  std::vector<std::pair<fs::path, std::uintmax_t>> accodati;
  std::uintmax_t byte = 0;
};

// Takes back what a run wrote, as the copy deletes its output: a run writing into the page cache
// pages just freed is not to be compared with one that needs fresh ones.
void annulla(const Scritture& s) {
  for (const fs::path& f : s.file) fs::remove(f);
  for (const auto& [f, dimensione] : s.accodati) fs::resize_file(f, dimensione);
}

Scritture scritture(const Istantanea& prima, const Istantanea& dopo) {
  Scritture s;
  for (const auto& [file, stato] : dopo) {
    auto it = prima.find(file);
    if (it != prima.end() && it->second.second == stato.second) continue;
    if (it != prima.end() && accodato(file)) {
      s.byte += stato.first - it->second.first;
      s.accodati.emplace_back(file, it->second.first);
    } else {
      s.byte += stato.first;
      s.file.push_back(file);
    }
  }
  return s;
}

std::string listaPosizioni(int quante) {
  std::string lista;
  for (int i = 0; i < quante; ++i)
    lista.append(i ? "," : "").append(std::to_string(16010 + i * 13));
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
  bool conserva = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--conserva")
      conserva = true;
    else
      opzioni.campioni = std::strtoul(argv[i], nullptr, 10);
  }
  opzioni.motivi =
      bench::leggiMotivi(cartella / "tabella_mutazioni_Motifs.csv", opzioni.da, opzioni.a);
  auto campioni = bench::generaCampioni(opzioni);
  bench::scriviFasta(cartella / "esporta" / "campioni_fa.FASTA", campioni);
  bench::scriviFasta(cartella / "esporta" / "campioni_ac.FASTA", campioni, 70);
  bench::scriviArlequin(cartella / "esporta" / "campioni_ar.ARL", campioni);

  const std::string posizioni = listaPosizioni(30);
  const std::vector<Operazione> operazioni = {
      {"controllo FASTA",
       {"--posizioni", posizioni, "controllo", "campioni_fa.FASTA"},
       "esporta/campioni_fa.FASTA"},
      {"controllo Arlequin",
       {"--posizioni", posizioni, "--arlequin", "controllo", "campioni_ar.ARL"},
       "esporta/campioni_ar.ARL"},
      {"conversione FASTA",
       {"--sovrascrivi", "converti", "campioni_fa.FASTA"},
       "esporta/campioni_fa.FASTA"},
      {"controllo FASTA a capo",
       {"--posizioni", posizioni, "controllo", "campioni_ac.FASTA"},
       "esporta/campioni_ac.FASTA"},
      {"conversione FASTA a capo",
       {"--sovrascrivi", "converti", "campioni_ac.FASTA"},
       "esporta/campioni_ac.FASTA"},
      {"conversione Arlequin",
       {"--sovrascrivi", "--arlequin", "converti", "campioni_ar.ARL"},
       "esporta/campioni_ar.ARL"},
      // The replacing run finds the file of the run before: the question is answered Yes.
      {"normalizzazione FASTA", {"--sovrascrivi", "normalizza", "norm_fa.txt"}, "dati/norm_fa.txt"},
      {"normalizzazione Arlequin",
       {"--sovrascrivi", "--arlequin", "normalizza", "norm_ar.txt"},
       "dati/norm_ar.txt"},
      {"confronto multiplo",
       {"confronta-multiplo", "campioni_fa.FASTA"},
       "esporta/campioni_fa.FASTA"},
      {"confronto multiplo a capo",
       {"confronta-multiplo", "campioni_ac.FASTA"},
       "esporta/campioni_ac.FASTA"},
      {"confronto multiplo motivi",
       {"confronta-multiplo-motivi", "campioni_fa.FASTA"},
       "esporta/campioni_fa.FASTA"},
  };

  std::printf("%zu campioni HV1 (%d-%d), %zu motivi, %zu fili\n\n", opzioni.campioni, opzioni.da,
              opzioni.a, opzioni.motivi.size(), filiMotore());
  std::printf("%-26s %8s %8s %10s %8s %8s %11s %10s %9s\n", "operazione", "tempo s", "letti MB",
              "scritti MB", "copia s", "rapporto", "copia pr. s", "rapp. pr.", "sostit. s");
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
    Scritture scritti;
    // Every timed run, the operation's and the copy's, starts with the outputs of the runs
    // before it on disk: otherwise the kernel's write-back of hundreds of MB written earlier
    // would be charged to whichever run happens to come next. Like the copy, it writes its
    // outputs afresh: what the run before wrote is taken back untimed, because freeing a
    // replaced file's blocks is the file system's work (on a volume mounted with "discard", a
    // synchronous one), the same whatever wrote the file.
    auto esecuzione = [&](bool sostituisce) {
      if (!sostituisce) annulla(scritti);
      ::sync();
      Istantanea prima = istantanea(cartella);
      bool riuscita = true;
      double t = bench::secondi([&] { riuscita = esegui(cartella, op.argomenti); });
      if (!riuscita) ok = false;
      scritti = scritture(prima, istantanea(cartella));
      return t;
    };
    double tempo = migliore(5, [&] { return esecuzione(false); });
    // Shown beside, not in the ratio: the time when the outputs of the run before are replaced.
    double sostituzione = esecuzione(true);
    std::uintmax_t letti = fs::file_size(cartella / op.ingresso);
    double copia = migliore(5, [&] {
      ::sync();
      return bench::tempoCopia(cartella / op.ingresso, scritti.byte, cartella);
    });
    // The same copy as a program of its own, paying the process start-up the operation pays.
    const std::vector<std::string> argomentiCopia = {(cartella / op.ingresso).native(),
                                                     std::to_string(scritti.byte), "copia.tmp"};
    double copiaProcesso = migliore(5, [&] {
      ::sync();
      double t = bench::secondi([&] { esegui(cartella, argomentiCopia, VORLANE_COPIA); });
      fs::remove(cartella / "copia.tmp");
      return t;
    });
    std::printf("%-26s %8.3f %8.1f %10.1f %8.3f %8.1f %11.3f %10.1f %9.3f\n", op.nome, tempo,
                letti / 1e6, scritti.byte / 1e6, copia, tempo / copia, copiaProcesso,
                tempo / copiaProcesso, sostituzione);
  }
  // How the engine scales: the multiple comparison on one thread and on every thread (the
  // setting the benchmark was started with), the runs taken in turns so that a drift of the
  // machine's speed weighs on both alike.
  const char* richiesti = std::getenv("VORLANE_FILI");
  const std::string fili = richiesti ? richiesti : "";
  const Operazione& multiplo = *std::find_if(operazioni.begin(), operazioni.end(), [](auto& op) {
    return std::string(op.nome) == "confronto multiplo";
  });
  Scritture scritti;
  auto confrontoMultiplo = [&](const char* quanti) {
    if (quanti)
      ::setenv("VORLANE_FILI", quanti, 1);
    else if (richiesti)
      ::setenv("VORLANE_FILI", fili.c_str(), 1);
    else
      ::unsetenv("VORLANE_FILI");
    annulla(scritti);
    ::sync();
    Istantanea prima = istantanea(cartella);
    double t = bench::secondi([&] {
      if (!esegui(cartella, multiplo.argomenti)) ok = false;
    });
    scritti = scritture(prima, istantanea(cartella));
    return t;
  };
  double unFilo = std::numeric_limits<double>::infinity(), tutti = unFilo;
  for (int i = 0; i < 5; ++i) {
    unFilo = std::min(unFilo, confrontoMultiplo("1"));
    tutti = std::min(tutti, confrontoMultiplo(nullptr));
  }
  std::printf("\nconfronto multiplo: 1 filo %.3f s, %zu fili %.3f s (%.2f del tempo su 1 filo)\n",
              unFilo, filiMotore(), tutti, tutti / unFilo);
  if (richiesti)
    ::setenv("VORLANE_FILI", fili.c_str(), 1);
  else
    ::unsetenv("VORLANE_FILI");

  // What alignment costs: the samples as raw HV1 reads (real-like starts, ends and indels),
  // aligned; the same reads cut to the interval, aligned; and cut, placed from the start.
  bench::scriviFasta(cartella / "esporta" / "letture.FASTA",
                     bench::generaLetture(campioni, opzioni.seme, false));
  bench::scriviFasta(cartella / "esporta" / "tagliate.FASTA",
                     bench::generaLetture(campioni, opzioni.seme, true));
  auto allineamento = [&](const char* file, bool allinea) {
    std::vector<std::string> argomenti = {"--da", "16024", "--a", "16365", "confronta-multiplo",
                                          file};
    if (!allinea) argomenti.insert(argomenti.begin(), "--senza-allineamento");
    for (const char* c : {"log", "html", "risultati"}) fs::remove_all(cartella / c);
    fs::create_directory(cartella / "log");
    ::sync();
    return bench::secondi([&] {
      if (!esegui(cartella, argomenti)) ok = false;
    });
  };
  // In turns, as above.
  double grezzi = std::numeric_limits<double>::infinity(), allineati = grezzi, senza = grezzi;
  for (int i = 0; i < 3; ++i) {
    grezzi = std::min(grezzi, allineamento("letture.FASTA", true));
    allineati = std::min(allineati, allineamento("tagliate.FASTA", true));
    senza = std::min(senza, allineamento("tagliate.FASTA", false));
  }
  std::printf(
      "allineamento: %zu campioni grezzi %.3f s, allineati %.3f s, senza allineamento %.3f s "
      "(%.2f e %.2f volte)\n",
      opzioni.campioni, grezzi, allineati, senza, grezzi / senza, allineati / senza);
  if (conserva)
    std::printf("\ncartella di lavoro conservata: %s\n", cartella.c_str());
  else
    fs::remove_all(cartella);
  if (!ok) std::fprintf(stderr, "vorlane-batch non ha completato ogni operazione\n");
  return ok ? 0 : 1;
}
