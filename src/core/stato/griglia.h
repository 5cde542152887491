#pragma once
// A haplotype table as held in memory: a fixed grid of text cells; row 0 is never filled,
// column 0 is the haplotype's name, columns 1.. its positions.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
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
  // Empty for a cell never set. The view lasts until the next imposta.
  std::string_view cella(int riga, int colonna) const {
    const Cella& c = celle_[indice(riga, colonna)];
    return std::string_view(testo_).substr(c.inizio, c.lunghezza);
  }
  void imposta(int riga, int colonna, std::string_view testo) {
    if (testo.size() > UINT32_MAX - testo_.size())
      throw std::length_error("tabella degli aplotipi troppo grande");
    celle_[indice(riga, colonna)] = {static_cast<std::uint32_t>(testo_.size()),
                                     static_cast<std::uint32_t>(testo.size())};
    testo_ += testo;
  }

 private:
  // The texts of all the cells one after the other, each cell where its own lies: a grid of
  // strings would be mostly empty strings, hundreds of kilobytes of fresh memory that every
  // start of the program would fill.
  struct Cella {
    std::uint32_t inizio = 0, lunghezza = 0;
  };
  std::size_t indice(int riga, int colonna) const {
    return static_cast<std::size_t>(riga * colonne_ + colonna);
  }
  int righe_ = 0, colonne_ = 0;
  std::vector<Cella> celle_;
  std::string testo_;
};

}  // namespace vorlane
