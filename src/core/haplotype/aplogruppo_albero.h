#pragma once
// The whole PhyloTree's call beside the table's, in the comparisons' blocks and pages: the
// sample's marked positions become variants, the positions it covers its coverage, and the call
// is written with its quality and margin.

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

// "H1a1 (qualità 0,93; margine 0,12)", and "; incerto" before the parenthesis closes when the
// margin is below the reliable one.
std::string testoAplogruppo(const StatoVorlane& stato, const Classificazione& c);
// The block's line: its label, padded like the others, and testoAplogruppo.
std::string rigaAplogruppo(const StatoVorlane& stato, const std::string& testo);
// A block line listing variants in the tree's notation, blank-separated ("-" for none).
std::string rigaVarianti(std::string_view etichetta, std::span<const Variante> varianti);

// One classifier per coverage, built the first time a sample needs it and shared by the
// threads from then on; a run's samples nearly all cover the same stretch.
class ClassificatoriAlbero {
 public:
  const ClassificatoreAplogruppi& per(int da, int a);

 private:
  std::mutex mutex_;
  std::map<std::pair<int, int>, std::unique_ptr<ClassificatoreAplogruppi>> classificatori_;
};

}  // namespace vorlane
