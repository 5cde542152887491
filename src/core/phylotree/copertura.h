#pragma once
// The positions a sample covers: one or more intervals of the circular genome. An interval whose
// start is above its end runs across the origin (16024-576 is the control region).

#include <bitset>
#include <vector>

#include "base/intervallo.h"
#include "stato/stato.h"

namespace vorlane {

class Copertura {
 public:
  // Positions outside 1-16569 are ignored.
  explicit Copertura(const std::vector<Intervallo>& intervalli);

  bool contiene(int posizione) const {
    return posizione >= 1 && posizione <= kUltimaPosizione && posizioni_[posizione];
  }
  bool operator==(const Copertura&) const = default;

 private:
  std::bitset<kUltimaPosizione + 1> posizioni_;
};

}  // namespace vorlane
