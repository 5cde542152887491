#include "phylotree/corsie.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorlane {

namespace {

float qualitaUna(int trovato, float inverso, const ParametriQualita& p) {
  const float t = static_cast<float>(trovato + p.base);
  return t * inverso + t * p.inversoCampione + p.senzaCampione;
}

}  // namespace

float qualitaUnaAllaVolta(const int* trovato, const float* inverso, std::size_t n,
                          const ParametriQualita& p, float* q) {
  float massima = 0;
  for (std::size_t u = 0; u < n; ++u) {
    q[u] = qualitaUna(trovato[u], inverso[u], p);
    massima = std::max(massima, q[u]);
  }
  return massima;
}

std::size_t sopraSogliaUnaAllaVolta(const float* q, std::size_t n, float soglia, int* indici) {
  std::size_t trovati = 0;
  for (std::size_t u = 0; u < n; ++u)
    if (q[u] >= soglia) indici[trovati++] = static_cast<int>(u);
  return trovati;
}

#if defined(__SSE2__)

// Few sets come near the best: four at a time are passed over with one comparison.
std::size_t sopraSogliaInCorsie(const float* q, std::size_t n, float soglia, int* indici) {
  const __m128 limite = _mm_set1_ps(soglia);
  std::size_t trovati = 0, u = 0;
  for (; u + 4 <= n; u += 4) {
    int sopra = _mm_movemask_ps(_mm_cmpge_ps(_mm_loadu_ps(q + u), limite));
    for (; sopra != 0; sopra &= sopra - 1)
      indici[trovati++] = static_cast<int>(u) + std::countr_zero(static_cast<unsigned>(sopra));
  }
  std::size_t coda = sopraSogliaUnaAllaVolta(q + u, n - u, soglia, indici + trovati);
  for (std::size_t k = trovati; k < trovati + coda; ++k) indici[k] += static_cast<int>(u);
  return trovati + coda;
}

float qualitaInCorsie(const int* trovato, const float* inverso, std::size_t n,
                      const ParametriQualita& p, float* q) {
  const __m128i base = _mm_set1_epi32(p.base);
  const __m128 inversoCampione = _mm_set1_ps(p.inversoCampione);
  const __m128 senzaCampione = _mm_set1_ps(p.senzaCampione);
  __m128 massime = _mm_setzero_ps();
  std::size_t u = 0;
  for (; u + 4 <= n; u += 4) {
    __m128i intero = _mm_loadu_si128(reinterpret_cast<const __m128i*>(trovato + u));
    __m128 t = _mm_cvtepi32_ps(_mm_add_epi32(intero, base));
    __m128 x = _mm_add_ps(_mm_mul_ps(t, _mm_loadu_ps(inverso + u)), _mm_mul_ps(t, inversoCampione));
    x = _mm_add_ps(x, senzaCampione);
    _mm_storeu_ps(q + u, x);
    massime = _mm_max_ps(massime, x);
  }
  alignas(16) float corsie[4];
  _mm_store_ps(corsie, massime);
  float massima = std::max(std::max(corsie[0], corsie[1]), std::max(corsie[2], corsie[3]));
  return std::max(massima, qualitaUnaAllaVolta(trovato + u, inverso + u, n - u, p, q + u));
}

#else

float qualitaInCorsie(const int* trovato, const float* inverso, std::size_t n,
                      const ParametriQualita& p, float* q) {
  return qualitaUnaAllaVolta(trovato, inverso, n, p, q);
}

std::size_t sopraSogliaInCorsie(const float* q, std::size_t n, float soglia, int* indici) {
  return sopraSogliaUnaAllaVolta(q, n, soglia, indici);
}

#endif

void sommaColonna(const int* colonna, std::size_t n, int* somma) {
  for (std::size_t u = 0; u < n; ++u) somma[u] += colonna[u];
}

}  // namespace vorlane
