#pragma once
// Products, binomial coefficients and the ordered table of k-subsets of {1..n}.

#include <cstdint>
#include <vector>

namespace vorlane {

// k * (k + 1) * ... * n in double precision; 1 when k > n.
double Prodotto(std::int32_t n, std::int32_t k);
// C(n, k); an overflow of the 32-bit result is an error.
std::int32_t Cnk(std::int32_t n, std::int32_t k);

// Rows 1..C(n, k) and columns 1..k: row r is the r-th k-subset in lexicographic order.
class TabellaCombinazioni {
 public:
  TabellaCombinazioni() = default;
  TabellaCombinazioni(std::int32_t righe, std::int32_t colonne);
  std::int32_t righe() const { return righe_; }
  std::int32_t colonne() const { return colonne_; }
  std::int32_t& operator()(std::int32_t riga, std::int32_t colonna) {
    return celle_[static_cast<std::size_t>(riga - 1) * static_cast<std::size_t>(colonne_) +
                  static_cast<std::size_t>(colonna - 1)];
  }
  std::int32_t operator()(std::int32_t riga, std::int32_t colonna) const {
    return const_cast<TabellaCombinazioni&>(*this)(riga, colonna);
  }

 private:
  std::int32_t righe_ = 0, colonne_ = 0;
  std::vector<std::int32_t> celle_;
};

bool CombinazioniSemplici(std::int32_t n, std::int32_t k, TabellaCombinazioni& tabella);

}  // namespace vorlane
