#include "support/batch.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "sequence/riferimento.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {
std::string citato(const std::string& s) {
  std::string r = "'";
  for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}
}  // namespace

namespace {
EsitoBatch esegui(const std::filesystem::path& cartella, const std::vector<std::string>& argomenti,
                  const std::string& prefisso, const Redirezioni& r) {
  // A run that hangs fails its test instead of stopping the whole suite.
  std::string comando = "cd " + citato(cartella.string()) +
                        " && HOME=" + citato(cartella.string()) + " LC_ALL=C " + r.ambiente +
                        "timeout -k 5 300 " + prefisso + "env -u VORLANE_LAVORO " +
                        citato(r.programma.string());
  for (const auto& a : argomenti) comando.append(" ").append(citato(a));
  const std::string uscita = r.uscita.empty() ? ".batch_out" : r.uscita.string();
  comando += " >" + citato(uscita) + " 2>.batch_err <" + citato(r.ingresso.string());
  int s = std::system(comando.c_str());
  EsitoBatch e;
  e.stato = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  if (r.uscita.empty()) e.uscita = leggiFile(cartella / ".batch_out");
  e.errori = leggiFile(cartella / ".batch_err");
  std::filesystem::remove(cartella / ".batch_out");
  std::filesystem::remove(cartella / ".batch_err");
  return e;
}
}  // namespace

EsitoBatch eseguiBatch(const std::filesystem::path& cartella,
                       const std::vector<std::string>& argomenti, const Redirezioni& r) {
  return esegui(cartella, argomenti, "", r);
}

EsitoBatch eseguiBatchSenzaPrivilegi(const std::filesystem::path& cartella,
                                     const std::vector<std::string>& argomenti,
                                     const std::string& limiti) {
  const std::string limitato = limiti.empty() ? "" : "prlimit " + limiti + " ";
  if (::geteuid() != 0) return esegui(cartella, argomenti, limitato, {});
  std::string cedi = "chown -R 65534:65534 " + citato(cartella.string());
  std::filesystem::permissions(cartella, std::filesystem::perms::others_exec,
                               std::filesystem::perm_options::add);
  if (std::system(cedi.c_str()) != 0) return {};
  return esegui(cartella, argomenti,
                "setpriv --reuid=65534 --regid=65534 --clear-groups " + limitato, {});
}

void ProvaBatch::SetUp() {
  preparaCartellaLavoro(cartella.percorso());
  std::filesystem::create_directory(cartella / "esporta");
  std::filesystem::create_directory(cartella / "dati");
}

EsitoBatch ProvaBatch::lancia(const std::vector<std::string>& argomenti) {
  return eseguiBatch(cartella.percorso(), argomenti);
}

EsitoBatch ProvaBatch::lancia(const std::string& argomenti) {
  std::vector<std::string> parti;
  std::istringstream s(argomenti);
  for (std::string parte; s >> parte;) parti.push_back(parte);
  return lancia(parti);
}

std::string ProvaBatch::registro() {
  for (const auto& voce : std::filesystem::directory_iterator(cartella / "log"))
    return leggiFile(voce.path());
  return "";
}

std::string campione(int da, int quanti, const std::vector<int>& mutate) {
  std::string s(testoRiferimento().substr(static_cast<std::size_t>(da - 1),
                                          static_cast<std::size_t>(quanti)));
  for (char& c : s) c = maiuscola(c);
  for (int p : mutate) {
    char& c = s[static_cast<std::size_t>(p - da)];
    c = c == 'A' ? 'G' : c == 'G' ? 'A' : c == 'C' ? 'T' : 'C';
  }
  return s;
}

}  // namespace vorlane::test
