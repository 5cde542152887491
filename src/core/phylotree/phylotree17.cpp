// PhyloTree Build 17 as embedded data: the variants, then each haplogroup's differences from its
// parent's expected variants, from which the tree is rebuilt once, on first use.

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "phylotree/albero.h"

namespace vorlane {

namespace {

struct VarianteDati {
  int posizione;
  int inserzione;
  char base;
  int cambi;  // branches of the tree that change the variant's site
};

struct NodoDati {
  const char* nome;
  int padre;
  int gruppo;
  int primaDifferenza;  // into kDifferenze
  int differenze;
};

#include "phylotree/albero17.inc"

AlberoAplogruppi costruisci() {
  std::unordered_map<int, int> cambi;
  for (const VarianteDati& d : kVarianti)
    cambi[Variante{d.posizione, d.inserzione, d.base}.sito()] = d.cambi;
  std::vector<DefinizioneAplogruppo> aplogruppi;
  std::vector<std::vector<int>> insiemi;  // each haplogroup's variants, by index into kVarianti
  for (const NodoDati& n : kNodi) {
    static const std::vector<int> kVuoto;
    const std::vector<int>& sopra =
        n.padre < 0 ? kVuoto : insiemi[static_cast<std::size_t>(n.padre)];
    const std::uint16_t* diff = kDifferenze + n.primaDifferenza;
    std::vector<int> insieme;
    std::set_symmetric_difference(sopra.begin(), sopra.end(), diff, diff + n.differenze,
                                  std::back_inserter(insieme));
    DefinizioneAplogruppo d{n.nome, n.padre, kGruppi[n.gruppo], {}};
    for (int v : insieme) {
      const VarianteDati& dati = kVarianti[v];
      d.attese.push_back({dati.posizione, dati.inserzione, dati.base});
    }
    aplogruppi.push_back(std::move(d));
    insiemi.push_back(std::move(insieme));
  }
  return AlberoAplogruppi(aplogruppi, std::move(cambi));
}

}  // namespace

const AlberoAplogruppi& alberoPhyloTree17() {
  static const AlberoAplogruppi albero = costruisci();
  return albero;
}

}  // namespace vorlane
