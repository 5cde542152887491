#pragma once
// A haplogroup tree: every haplogroup with its expected variants (its differences from the
// rCRS), its place in the tree and its top-level group, and how often each site changes in the
// tree. alberoPhyloTree17() is the whole PhyloTree, embedded in the library.

#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "sequence/variante.h"

namespace vorlane {

struct DefinizioneAplogruppo {
  std::string nome;
  int padre = -1;                // an earlier haplogroup of the list; -1 for the root
  std::string gruppo;            // the top-level group (H, U, L3e, ...)
  std::vector<Variante> attese;  // differences from the rCRS
};

class AlberoAplogruppi {
 public:
  struct Aplogruppo {
    std::string nome;
    int padre;
    int gruppo;
    int fine;                 // one past the last haplogroup of its subtree
    std::vector<int> attese;  // indices into varianti(), increasing
  };

  // `aplogruppi` in pre-order (every subtree contiguous, a parent before its children);
  // `cambi`, how many branches of the tree change a site (Variante::sito()), for the sites that
  // change at all. An order or a parent that breaks this is an error.
  AlberoAplogruppi(std::span<const DefinizioneAplogruppo> aplogruppi,
                   std::unordered_map<int, int> cambi);

  const std::vector<Aplogruppo>& aplogruppi() const { return aplogruppi_; }
  const std::vector<Variante>& varianti() const { return varianti_; }
  const std::vector<std::string>& gruppi() const { return gruppi_; }
  int cambi(const Variante& v) const;
  int cambiMassimi() const { return cambiMassimi_; }
  // Index of a haplogroup by name; -1 when the tree has none of that name.
  int indice(std::string_view nome) const;
  // Whether `a` is `b`, one of its ancestors or one of its descendants.
  bool parenti(int a, int b) const;

 private:
  int indiceGruppo(const std::string& gruppo);

  std::vector<Aplogruppo> aplogruppi_;
  std::vector<Variante> varianti_;
  std::vector<std::string> gruppi_;
  std::unordered_map<int, int> cambi_;
  int cambiMassimi_ = 1;
};

const AlberoAplogruppi& alberoPhyloTree17();

}  // namespace vorlane
