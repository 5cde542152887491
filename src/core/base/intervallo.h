#pragma once
// The one interval of positions: made from the settings' or the boxes' text where they are read,
// then passed as it is.

#include <cstddef>

namespace vorlane {

// Positions inizio..fine, both included. A start above the end runs across the origin where the
// circular genome is meant (16024-576 is the control region); where a plain stretch of the
// reference is meant, such an interval has been refused before it gets here.
struct Intervallo {
  int inizio = 0;
  int fine = 0;
  bool attraversaOrigine() const { return inizio > fine; }
  bool contiene(int p) const {
    return attraversaOrigine() ? p >= inizio || p <= fine : inizio <= p && p <= fine;
  }
  // The positions of a plain stretch.
  std::size_t lunghezza() const {
    return fine < inizio ? 0 : static_cast<std::size_t>(fine - inizio + 1);
  }
};

}  // namespace vorlane
