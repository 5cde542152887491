#pragma once
// The classifier's pass over the bounds of its forms (see classificatore.h), in single precision
// and four lanes at a time: it only has to say which forms can come near a best score, the exact
// scores are then worked out in those few. qualitaUnaAllaVolta is the same arithmetic one set at a
// time, for machines without the lanes and for the test that holds the two to the same bits.

#include <cstddef>

namespace vorlane {

struct ParametriQualita {
  int base = 0;               // added to every trovato
  float inversoCampione = 0;  // 1 / (2 W(sample)), 0 for an empty sample
  float senzaCampione = 0;    // 0.5 for an empty sample, else 0
};

// q[u] = t inverso[u] + t inversoCampione + senzaCampione, t = trovato[u] + base, for u < n;
// returns the largest q[u], or 0 if all are below.
float qualitaInCorsie(const int* trovato, const float* inverso, std::size_t n,
                      const ParametriQualita& p, float* q);
float qualitaUnaAllaVolta(const int* trovato, const float* inverso, std::size_t n,
                          const ParametriQualita& p, float* q);

// Writes to indici, increasing, the u < n with q[u] >= soglia, and returns how many; indici has
// room for n.
std::size_t sopraSogliaInCorsie(const float* q, std::size_t n, float soglia, int* indici);
std::size_t sopraSogliaUnaAllaVolta(const float* q, std::size_t n, float soglia, int* indici);

// somma[u] += colonna[u] for u < n, a loop the compiler runs in lanes.
void sommaColonna(const int* colonna, std::size_t n, int* somma);

}  // namespace vorlane
