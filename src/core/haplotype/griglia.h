#pragma once
// A haplotype table as held in memory: a fixed grid of text cells; row 0 is never filled,
// column 0 is the haplotype's name, columns 1.. its positions.

#include <string>
#include <vector>

namespace vorlane {

class GrigliaAplotipi {
 public:
  GrigliaAplotipi() = default;
  GrigliaAplotipi(int ultimaRiga, int ultimaColonna)
      : righe_(ultimaRiga + 1),
        colonne_(ultimaColonna + 1),
        celle_(static_cast<std::size_t>(righe_ * colonne_)) {}

  int ultimaRiga() const { return righe_ - 1; }
  int ultimaColonna() const { return colonne_ - 1; }
  const std::string& cella(int riga, int colonna) const { return celle_[indice(riga, colonna)]; }
  std::string& cella(int riga, int colonna) { return celle_[indice(riga, colonna)]; }

 private:
  std::size_t indice(int riga, int colonna) const {
    return static_cast<std::size_t>(riga * colonne_ + colonna);
  }
  int righe_ = 0, colonne_ = 0;
  std::vector<std::string> celle_;
};

}  // namespace vorlane
