#pragma once
// The samples x positions result of a mutation check and its HTML page.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/porta.h"
#include "stato/parametri.h"
#include "stato/stato.h"

namespace vorlane {

// A record's mark at a listed position.
enum Marca : std::uint8_t {
  kUguale = 0,    // the reference's base
  kMutata = 1,    // another base, a deletion or a heteroplasmy
  kMancante = 2,  // missing data: N, "?", or a position the record does not cover
};

// One row of marks per record, stored flat, and the names one after the other: a file of
// 100,000 records checked at 30 positions costs 3 MB of marks rather than millions of small
// strings.
class MatriceMutazioni {
 public:
  // Labels of the examined positions, as typed; fixes the width of the rows added afterwards.
  void impostaPosizioni(std::vector<std::string> posizioni);
  // A new record with no marks; returns its row.
  std::uint8_t* aggiungiCampione(std::string_view nome);
  // Appends the records of `altra`, which examines the same positions.
  void accoda(const MatriceMutazioni& altra);
  // Room for `campioni` records with names of `byteNomi` bytes in all.
  void riserva(std::size_t campioni, std::size_t byteNomi);

  const std::vector<std::string>& posizioni() const { return posizioni_; }
  std::size_t campioni() const { return fineNomi_.size(); }
  std::size_t byteNomi() const { return nomi_.size(); }
  std::string_view nome(std::size_t campione) const {
    std::size_t inizio = campione == 0 ? 0 : fineNomi_[campione - 1];
    return std::string_view(nomi_).substr(inizio, fineNomi_[campione] - inizio);
  }
  // Whether any record has missing data at a listed position.
  bool conMancanti() const {
    return std::find(marche_.begin(), marche_.end(), kMancante) != marche_.end();
  }
  Marca marca(std::size_t campione, std::size_t posizione) const {
    return static_cast<Marca>(marche_[campione * posizioni_.size() + posizione]);
  }

 private:
  std::vector<std::string> posizioni_;
  std::string nomi_;
  std::vector<std::size_t> fineNomi_;  // where each record's name ends in nomi_
  std::vector<std::uint8_t> marche_;
};

// Writes html/ControlloMutazioni_<name>.htm for the file in stato.fileCampione and tells the
// user where it is. The page replaces the previous one only once it is complete.
void ScriviHTML_MATRICE(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                        const MatriceMutazioni& matrice);
// The same in two steps, for a caller that says the work is done in between: the page, whose
// path it returns, and the message naming it.
std::filesystem::path scriviPaginaMatrice(StatoVorlane& stato, const Caselle& caselle,
                                          const MatriceMutazioni& matrice);
void messaggioPaginaMatrice(const Contesto& stato, Porta& porta,
                            const std::filesystem::path& pagina);

}  // namespace vorlane
