#pragma once
// The whole PhyloTree's call beside the table's, in the comparisons' blocks and pages: the
// sample's marked positions become variants, the positions it covers its coverage, and the call
// is written with its quality and margin.

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "phylotree/classificatore.h"
#include "stato/stato.h"

namespace vorlane {

// The variants of the marked positions: the sample's base (lower case in `sequenza`, entry p
// for position p) in upper case.
std::vector<Variante> variantiSegnate(std::string_view sequenza, std::span<const int> segnate);
// The same into `varianti`, whose room is kept from sample to sample.
void variantiSegnate(std::string_view sequenza, std::span<const int> segnate,
                     std::vector<Variante>& varianti);

// "H1a1 (qualità 0,93; margine 0,12)", and "; incerto" before the parenthesis closes when the
// margin is below the reliable one.
std::string testoAplogruppo(const Contesto& stato, const Classificazione& c);
// The block's line: its label, padded like the others, and testoAplogruppo.
std::string rigaAplogruppo(const Contesto& stato, const std::string& testo);
// A block line listing variants in the tree's notation, blank-separated ("-" for none).
std::string rigaVarianti(std::string_view etichetta, std::span<const Variante> varianti);

// The calls of profiles met lately, as their text, shared by the threads of a run: the samples of
// a real file often repeat a profile (one haplotype in many individuals). A key names the
// coverage and the variants; its impronta (a hash) picks its place among kPosti, and each place
// holds one key, the last written there.
class ChiamateRecenti {
 public:
  static constexpr std::size_t kPosti = std::size_t{1} << 13;
  static std::size_t impronta(std::string_view chiave);
  // Whether `chiave`, of that impronta, is held; if so its call and text are copied out.
  bool cerca(std::size_t impronta, std::string_view chiave, Classificazione& chiamata,
             std::string& testo);
  void metti(std::size_t impronta, std::string_view chiave, const Classificazione& chiamata,
             const std::string& testo);

 private:
  struct Chiamata {
    bool scritta = false;
    std::size_t impronta = 0;
    std::string chiave, testo;
    Classificazione chiamata;
  };
  // A lock for many places: two threads seldom want the same one, and each lock has a cache line
  // of its own, so that two threads taking two locks do not pull one line between them.
  struct alignas(64) Blocco {
    std::mutex mutex;
  };
  std::mutex& blocco(std::size_t posto) { return blocchi_[posto % blocchi_.size()].mutex; }

  std::array<Blocco, 64> blocchi_;
  std::vector<Chiamata> chiamate_ = std::vector<Chiamata>(kPosti);
};

// One classifier per coverage, built the first time a sample needs it and shared by the
// threads from then on; a run's samples nearly all cover the same stretch.
class ClassificatoriAlbero {
 public:
  const ClassificatoreAplogruppi& per(int da, int a);
  ChiamateRecenti recenti;

 private:
  std::mutex mutex_;
  std::map<std::pair<int, int>, std::unique_ptr<ClassificatoreAplogruppi>> classificatori_;
};

}  // namespace vorlane
