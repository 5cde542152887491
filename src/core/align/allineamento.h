#pragma once
// A sample placed on the circular reference, as the field places it: found by its 15-mers
// shared with the rCRS, aligned there by WFA2 (gap-affine, the reference's ends free), then
// every insertion and deletion moved to its 3' end within its homopolymer or repeat (315.1C,
// 523d 524d, 8281d-8289d). Gaps ("-") in the input are ignored; N, "?" and any character that
// is neither a base nor an IUPAC code are missing data; the ends of missing data are trimmed.
//
// One Allineatore per thread: it owns the aligner and its scratch. The index of the reference
// is built once and shared.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

// Bases inserted after a reference position, upper case.
struct Inserzione {
  int dopo = 0;
  std::string basi;
};

enum class EsitoCollocazione {
  collocato,
  troppoCorto,     // fewer bases than a read placed with confidence needs
  troppoLungo,     // longer than the whole genome by far
  troppiMancanti,  // more missing data than bases
  nonRiconosciuto  // no stretch of the rCRS resembles it: not human mtDNA, or reversed
};

struct Collocazione {
  EsitoCollocazione esito = EsitoCollocazione::nonRiconosciuto;
  // The reference positions the sample covers: `basi.size()` of them from `primo` on, around
  // the origin where they reach it.
  int primo = 0;
  // One character per covered position: a, c, g, t; an IUPAC code in lower case (a
  // heteroplasmy); "-" (deleted); "n" (missing data).
  std::string basi;
  std::vector<Inserzione> inserzioni;  // in the order of the sample

  // The reference position of basi[k].
  int posizione(std::size_t k) const;
};

// Whether `c` (either case) is an IUPAC code of two or more bases: R Y K M S W B D H V.
bool codiceAmbiguo(char c);

class IndiceRiferimento;

class Allineatore {
 public:
  Allineatore();
  ~Allineatore();
  Allineatore(const Allineatore&) = delete;
  Allineatore& operator=(const Allineatore&) = delete;

  // Places `campione`; the result stays valid until the next call. A sample that fits base by
  // base from position `inizio` on (1-16569; 0 for none), with substitutions only and no
  // alignment that explains it better, is placed there: as the fixed rule places it.
  const Collocazione& colloca(std::string_view campione, int inizio = 0);

 private:
  struct Allineamento;
  std::size_t leggiCaratteri(std::string_view campione);
  std::size_t leggiBasi(std::string_view basi);
  std::size_t leggiOgniCarattere(std::string_view campione);
  bool prepara(std::string_view campione);
  bool calzaDa(int inizio, bool allineabile);
  int vota();
  bool semina(int& diagonale);
  void finestra(int diagonale, int margine);
  bool allinea(int diagonale, int margine, int massimo, bool aiBordi);
  void spostaA3Primo();
  void raccogli();

  const IndiceRiferimento& indice_;
  std::unique_ptr<Allineamento> a_;
  Collocazione esito_;
  int anticipo_ = 0;           // the input's characters before the first one kept
  std::size_t basi_ = 0;       // the bases among those kept
  bool inizioGiusto_ = false;  // its first bases are the reference's from the interval's start
};

}  // namespace vorlane
