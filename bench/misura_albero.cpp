// The whole-tree classifier on a file of samples, for tools/haplotables/misura_albero.py.
//
//   misura_albero [--esatto] CAMPIONI DA-A [DA-A ...]
//
// CAMPIONI holds one sample a line, its variants in PhyloTree notation separated by blanks; the
// intervals are the coverage all samples share. Prints, a line per sample, the call, its
// quality and its margin; on the error stream, the classifier's own time per sample (the file's
// reading and the printing left out), which is the cost the classifier adds to a comparison.
// --esatto prints instead every bit of the call (quality and margin in hexadecimal, the
// haplogroup's index, confronta's two lists), so that two builds can be compared byte for byte.

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "io/righe.h"
#include "phylotree/classificatore.h"

namespace {

using namespace vorlane;

std::vector<Variante> varianti(std::string_view riga) {
  std::vector<Variante> esito;
  while (!riga.empty()) {
    std::size_t fine = riga.find(' ');
    std::string_view token = riga.substr(0, fine);
    if (!token.empty()) {
      std::optional<Variante> v = leggiVariante(token);
      if (!v) throw std::runtime_error("variante non valida: " + std::string(token));
      esito.push_back(*v);
    }
    riga = fine == std::string_view::npos ? std::string_view() : riga.substr(fine + 1);
  }
  return esito;
}

Intervallo intervallo(const std::string& testo) {
  std::size_t trattino = testo.find('-');
  return {std::stoi(testo.substr(0, trattino)), std::stoi(testo.substr(trattino + 1))};
}

void stampaEsatta(const ClassificatoreAplogruppi& classificatore, const Classificazione& e,
                  const std::vector<Variante>& campione) {
  std::printf("%d %s %a %a |", e.aplogruppo, e.nome.c_str(), e.qualita, e.margine);
  ConfrontoAplogruppo confronto = classificatore.confronta(e.aplogruppo, campione);
  for (const Variante& v : confronto.mancanti) std::printf(" %s", testoVariante(v).c_str());
  std::printf(" |");
  for (const Variante& v : confronto.inattese) std::printf(" %s", testoVariante(v).c_str());
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const bool esatto = argc > 1 && std::string(argv[1]) == "--esatto";
  const int primo = esatto ? 2 : 1;
  if (argc < primo + 2) {
    std::cerr << "uso: misura_albero [--esatto] CAMPIONI DA-A [DA-A ...]\n";
    return 2;
  }
  std::vector<Intervallo> intervalli;
  for (int i = primo + 1; i < argc; ++i) intervalli.push_back(intervallo(argv[i]));
  std::vector<std::vector<Variante>> campioni;
  LettoreRighe lettore(argv[primo]);
  for (std::string_view riga; lettore.leggi(riga);) campioni.push_back(varianti(riga));

  const ClassificatoreAplogruppi classificatore(alberoPhyloTree17(), Copertura(intervalli));
  ClassificatoreAplogruppi::Lavoro lavoro;
  std::vector<Classificazione> esiti;
  esiti.reserve(campioni.size());
  auto inizio = std::chrono::steady_clock::now();
  for (const auto& campione : campioni)
    esiti.push_back(classificatore.classifica(campione, lavoro));
  std::chrono::duration<double, std::micro> durata = std::chrono::steady_clock::now() - inizio;

  for (std::size_t i = 0; i < esiti.size(); ++i) {
    const Classificazione& e = esiti[i];
    if (esatto)
      stampaEsatta(classificatore, e, campioni[i]);
    else
      std::printf("%s %.6f %.6f\n", e.nome.c_str(), e.qualita, e.margine);
  }
  std::fprintf(stderr, "%zu campioni, %.2f microsecondi a campione\n", campioni.size(),
               campioni.empty() ? 0.0 : durata.count() / static_cast<double>(campioni.size()));
  return 0;
}
