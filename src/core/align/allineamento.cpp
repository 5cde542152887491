#include "align/allineamento.h"

#include <algorithm>
#include <array>
#include <utility>

#include <bindings/cpp/WFAligner.hpp>

#include "sequence/riferimento.h"
#include "stato/stato.h"

namespace vorlane {

namespace {
constexpr int kK = 15;  // seed length: one place in the rCRS for nearly every 15-mer
constexpr int kMinimoBasi = 20;
// A genome with its ends overlapping is a little longer than the rCRS; a text much longer is no
// sample of it, and aligning it would take time and memory out of all proportion.
constexpr std::size_t kMassimoBasi = 20000;
// The first bases of a sample that tell whether it starts where the fixed rule puts it.
constexpr int kTesta = 32;
// No human sample differs from the rCRS by a thousand substitutions: the aligner stops there.
constexpr int kMassimoPunteggio = 4000;
// Gap-affine costs, chosen so that the field's readings win: up to three substitutions in a row
// (15) cost less than a one-base deletion and insertion that shift them (16), and up to five
// (25) less than two-base ones (26); a gap's every base costs as much as a substitution; and two
// one-base insertions (309.1C 315.1C: 16) cost less than a substitution with a two-base
// insertion (18), since opening a gap costs less than a substitution.
constexpr int kDiverso = 5, kApertura = 3, kEstensione = 5;
// The aligner's reference leaves the placeholder out, so that no sample shows a deletion there.

int codiceBase(char c) {
  switch (c) {
    case 'A':
      return 0;
    case 'C':
      return 1;
    case 'G':
      return 2;
    case 'T':
      return 3;
    default:
      return -1;
  }
}
}  // namespace

bool codiceAmbiguo(char c) {
  switch (c | 0x20) {
    case 'r':
    case 'y':
    case 'k':
    case 'm':
    case 's':
    case 'w':
    case 'b':
    case 'd':
    case 'h':
    case 'v':
      return true;
    default:
      return false;
  }
}

namespace {
// The index in the aligner's reference (which leaves out the placeholder) of position p.
int indiceDi(int p) {
  return p - 1 - (p > kSegnaposto ? 1 : 0);
}
}  // namespace

int Collocazione::posizione(std::size_t k) const {
  return static_cast<int>((static_cast<std::size_t>(primo - 1) + k) % kUltimaPosizione) + 1;
}

// The rCRS in upper case without the placeholder, each character's position, and its 15-mers
// around the origin, sorted for lookup.
class IndiceRiferimento {
 public:
  IndiceRiferimento() {
    std::string_view rif = testoRiferimento();
    for (std::size_t i = 0; i < rif.size(); ++i) {
      completo.push_back(static_cast<char>(rif[i] & ~0x20));
      if (static_cast<int>(i) + 1 == kSegnaposto) continue;
      testo.push_back(static_cast<char>(rif[i] & ~0x20));
      posizioni.push_back(static_cast<int>(i) + 1);
    }
    const int n = lunghezza();
    for (int i = 0; i < n; ++i) {
      std::uint32_t codice = 0;
      for (int k = 0; k < kK; ++k)
        codice = codice << 2 | static_cast<std::uint32_t>(codiceBase(testo[(i + k) % n]));
      semi.emplace_back(codice, i);
    }
    std::sort(semi.begin(), semi.end());
  }
  int lunghezza() const { return static_cast<int>(testo.size()); }

  std::string completo;  // upper case, the placeholder included
  std::string testo;
  std::vector<int> posizioni;
  std::vector<std::pair<std::uint32_t, int>> semi;
};

namespace {
const IndiceRiferimento& indiceCondiviso() {
  static const IndiceRiferimento indice;
  return indice;
}

// One column of an alignment: a reference character's index in the window and a sample
// character's index in the pattern, -1 where the column is a gap on that side.
struct Colonna {
  int rif = -1;
  int campione = -1;
};
}  // namespace

struct Allineatore::Allineamento {
  // One aligner for each form of alignment: an aligner keeps the form of its last call, and
  // one used for both has been seen to read out of bounds.
  wfa::WFAlignerGapAffine wfa{kDiverso, kApertura, kEstensione, wfa::WFAligner::Alignment,
                              wfa::WFAligner::MemoryHigh};
  wfa::WFAlignerGapAffine verifica{kDiverso, kApertura, kEstensione, wfa::WFAligner::Score,
                                   wfa::WFAligner::MemoryHigh};
  std::string schema;     // the sample as the aligner reads it: A, C, G, T, or N
  std::string caratteri;  // the same as Collocazione::basi writes it
  std::string finestra;   // the stretch of reference it is aligned to
  std::vector<int> posizioni;
  std::vector<Colonna> colonne;
  std::vector<int> diagonali;
};

Allineatore::Allineatore() : indice_(indiceCondiviso()), a_(std::make_unique<Allineamento>()) {
  a_->wfa.setHeuristicNone();
  a_->verifica.setHeuristicNone();
}

Allineatore::~Allineatore() = default;

// The sample's characters for the aligner, without gaps and without the missing data at its
// ends; false when too little of it is left.
// The sample's characters as the aligner reads them, and as the placement writes them; returns
// how many are bases. A text far longer than any sample is read no further than shows it.
namespace {
// Whether every character is a base letter, in either case. Written as a count, which the
// compiler makes many characters at a time.
bool soloBasi(std::string_view testo) {
  const auto* c = reinterpret_cast<const unsigned char*>(testo.data());
  std::size_t basi = 0;
  for (std::size_t i = 0; i < testo.size(); ++i) {
    const unsigned char m = c[i] & 0xDF;
    basi += (m == 'A') + (m == 'C') + (m == 'G') + (m == 'T');
  }
  return basi == testo.size();
}

// `da` in upper case into `su` and in lower case into `giu`: three arrays that do not overlap,
// so that the compiler does many characters at a time.
void dueCasi(const char* __restrict da, char* __restrict su, char* __restrict giu, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    su[i] = static_cast<char>(da[i] & ~0x20);
    giu[i] = static_cast<char>(da[i] | 0x20);
  }
}
}  // namespace

std::size_t Allineatore::leggiCaratteri(std::string_view campione) {
  const std::string_view letti =
      campione.substr(0, std::min(campione.size(), 2 * kMassimoBasi + 1));
  if (soloBasi(letti)) return leggiBasi(letti);
  return leggiOgniCarattere(letti);
}

// Most samples are bases and nothing else: the aligner's characters are then the sample in upper
// case, the placement's in lower case, many at a time.
std::size_t Allineatore::leggiBasi(std::string_view basi) {
  std::string& schema = a_->schema;
  std::string& caratteri = a_->caratteri;
  schema.resize(basi.size());
  caratteri.resize(basi.size());
  dueCasi(basi.data(), schema.data(), caratteri.data(), basi.size());
  anticipo_ = basi.empty() ? -1 : 0;
  return basi.size();
}

std::size_t Allineatore::leggiOgniCarattere(std::string_view campione) {
  // Per byte: the aligner's character (0 for one passed over), the placement's, and whether it
  // is a base.
  struct Classe {
    char schema = 0, carattere = 0;
    bool base = false, conta = true;
  };
  static const std::array<Classe, 256> classi = [] {
    std::array<Classe, 256> t{};
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      const char maiuscola = static_cast<char>(c & ~0x20);
      Classe& k = t[static_cast<std::size_t>(b)];
      k.base = codiceBase(maiuscola) >= 0;
      k.conta = !(c == ' ' || c == '\t' || c == '\r' || c == '\n');
      if (!k.conta || c == '-' || c == '.') continue;
      k.schema = k.base ? maiuscola : 'N';
      k.carattere = k.base || codiceAmbiguo(c) ? static_cast<char>(c | 0x20) : 'n';
    }
    return t;
  }();
  std::string& schema = a_->schema;
  std::string& caratteri = a_->caratteri;
  schema.resize(campione.size());
  caratteri.resize(schema.size());
  std::size_t basi = 0, letti = 0, n = 0;
  anticipo_ = -1;
  for (char c : campione) {
    const Classe& k = classi[static_cast<unsigned char>(c)];
    if (n == schema.size()) break;
    letti += k.conta;
    if (k.schema == 0) continue;
    if (anticipo_ < 0 && k.carattere != 'n') anticipo_ = static_cast<int>(letti) - 1;
    basi += k.base;
    schema[n] = k.schema;
    caratteri[n++] = k.carattere;
  }
  schema.resize(n);
  caratteri.resize(n);
  return basi;
}

// The sample without gaps and without the missing data at its ends; false, with the reason,
// when what is left cannot be aligned.
bool Allineatore::prepara(std::string_view campione) {
  const std::size_t basi = leggiCaratteri(campione);
  basi_ = basi;
  const std::size_t inizio = a_->caratteri.find_first_not_of('n');
  if (inizio == std::string::npos) {
    esito_.esito = EsitoCollocazione::troppoCorto;
    return false;
  }
  const std::size_t fine = a_->caratteri.find_last_not_of('n') + 1;
  a_->schema.erase(fine).erase(0, inizio);
  a_->caratteri.erase(fine).erase(0, inizio);
  if (a_->schema.size() > kMassimoBasi)
    esito_.esito = EsitoCollocazione::troppoLungo;
  else if (basi < static_cast<std::size_t>(kMinimoBasi))
    esito_.esito = EsitoCollocazione::troppoCorto;
  else if (basi * 2 < a_->schema.size())
    esito_.esito = EsitoCollocazione::troppiMancanti;
  else
    return true;
  return false;
}

// Each of some 48 of the sample's 15-mers, evenly spaced, votes for the diagonals (reference
// index minus sample index, around the circle) of its places in the reference, four at most;
// returns how many were looked up.
int Allineatore::vota() {
  const std::string& s = a_->schema;
  const int n = static_cast<int>(s.size()), l = indice_.lunghezza();
  auto& d = a_->diagonali;
  d.clear();
  const int passo = std::max(1, n / 48);
  int interrogati = 0;
  for (int i = 0; i + kK <= n; i += passo) {
    std::uint32_t codice = 0;
    bool valido = true;
    for (int k = 0; k < kK && valido; ++k) {
      int b = codiceBase(s[static_cast<std::size_t>(i + k)]);
      valido = b >= 0;
      codice = codice << 2 | static_cast<std::uint32_t>(b);
    }
    if (!valido) continue;
    ++interrogati;
    auto [da, a] =
        std::equal_range(indice_.semi.begin(), indice_.semi.end(), std::make_pair(codice, 0),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
    for (auto it = da; it != a && it - da < 4; ++it) d.push_back(((it->second - i) % l + l) % l);
  }
  return interrogati;
}

// The diagonal most of the votes agree on, within the drift the sample's indels may cause: the
// middle vote of the window of votes, around the circle, that holds the most. It must hold two
// at least, and a quarter of the 15-mers looked up.
bool Allineatore::semina(int& diagonale) {
  const int interrogati = vota();
  auto& d = a_->diagonali;
  if (d.empty()) return false;
  std::sort(d.begin(), d.end());
  const int n = static_cast<int>(a_->schema.size()), l = indice_.lunghezza();
  const int ampiezza = 2 * (16 + n / 100), m = static_cast<int>(d.size());
  auto voto = [&](int j) { return d[static_cast<std::size_t>(j % m)] + (j >= m ? l : 0); };
  int voti = 0;
  for (int i = 0, j = 0; i < m; ++i) {
    while (j < i + m && voto(j) - voto(i) <= ampiezza) ++j;
    if (j - i > voti) {
      voti = j - i;
      diagonale = d[static_cast<std::size_t>((i + (j - i) / 2) % m)];
    }
  }
  return voti >= 2 && voti * 4 >= interrogati;
}

// The reference from `margine` before `diagonale` to as far after the sample's end, around the
// circle, copied a stretch at a time, with each character's position.
void Allineatore::finestra(int diagonale, int margine) {
  const int l = indice_.lunghezza();
  a_->finestra.clear();
  a_->posizioni.clear();
  const int lunghezza = static_cast<int>(a_->schema.size()) + 2 * margine;
  for (int i = ((diagonale - margine) % l + l) % l, restano = lunghezza; restano > 0; i = 0) {
    const int quanti = std::min(restano, l - i);
    a_->finestra.append(indice_.testo, static_cast<std::size_t>(i),
                        static_cast<std::size_t>(quanti));
    a_->posizioni.insert(a_->posizioni.end(), indice_.posizioni.begin() + i,
                         indice_.posizioni.begin() + i + quanti);
    restano -= quanti;
  }
}

// Aligns the sample to the reference around `diagonale`, the window's first and last 2 x
// `margine` characters free: the sample starts and ends within the margins' reach of where the
// diagonal puts it, and only so much is free, which keeps the wavefronts narrow. Unless
// `aiBordi`, an alignment that reaches a window's end (the sample may go on beyond it) is
// refused, for a wider window to be tried.
bool Allineatore::allinea(int diagonale, int margine, int massimo, bool aiBordi) {
  const int n = static_cast<int>(a_->schema.size());
  finestra(diagonale, margine);
  const int lunghezza = static_cast<int>(a_->finestra.size()), libero = 2 * margine;
  a_->wfa.setMaxAlignmentScore(std::min(massimo, kMassimoPunteggio));
  auto stato = a_->wfa.alignEndsFree(a_->schema.data(), n, 0, 0, a_->finestra.data(), lunghezza,
                                     libero, libero);
  if (stato != wfa::WFAligner::StatusSuccessful) return false;
  // M and X take a character from both; I one from the reference only; D one from the sample.
  const std::string operazioni = a_->wfa.getAlignmentCigar();
  auto& col = a_->colonne;
  col.clear();
  int r = 0, c = 0;
  for (char op : operazioni) {
    Colonna colonna;
    if (op != 'D') colonna.rif = r++;
    if (op != 'I') colonna.campione = c++;
    col.push_back(colonna);
  }
  if (r != lunghezza || c != n) return false;
  // The window's free ends.
  col.erase(col.begin(),
            std::find_if(col.begin(), col.end(), [](Colonna x) { return x.campione >= 0; }));
  while (!col.empty() && col.back().campione < 0) col.pop_back();
  if (col.empty()) return false;
  const bool bordo = col.front().rif <= 0 || col.back().rif < 0 || col.back().rif == lunghezza - 1;
  return aiBordi || !bordo;
}

// Moves each run of gaps right while the column after it can take the run's first column's
// place unchanged: a deletion while the reference repeats itself, an insertion while the
// sample does.
void Allineatore::spostaA3Primo() {
  auto& col = a_->colonne;
  const std::string& f = a_->finestra;
  const std::string& s = a_->caratteri;
  const std::size_t n = col.size();
  auto pieno = [&](std::size_t k) { return col[k].rif >= 0 && col[k].campione >= 0; };
  std::size_t i = 0;
  while (i < n) {
    if (pieno(i)) {
      ++i;
      continue;
    }
    const bool delezione = col[i].campione < 0;
    std::size_t j = i;
    while (j < n && !pieno(j) && (col[j].campione < 0) == delezione) ++j;
    if (j < n && !pieno(j)) {  // an insertion against a deletion: left as the aligner gave it
      i = j;
      continue;
    }
    while (j < n && pieno(j)) {
      if (delezione) {
        if (f[static_cast<std::size_t>(col[i].rif)] != f[static_cast<std::size_t>(col[j].rif)])
          break;
        col[i].campione = col[j].campione;
        col[j].campione = -1;
      } else {
        if (s[static_cast<std::size_t>(col[i].campione)] !=
            s[static_cast<std::size_t>(col[j].campione)])
          break;
        col[i].rif = col[j].rif;
        col[j].rif = -1;
      }
      ++i;
      ++j;
    }
    i = j;
  }
}

// The columns as reference positions: one character per position from the first the sample
// covers, insertions between them. The placeholder's position is missing data; a sample
// longer than the genome covers each position once.
void Allineatore::raccogli() {
  Collocazione& e = esito_;
  e.basi.clear();
  e.inserzioni.clear();
  e.esito = EsitoCollocazione::collocato;
  Inserzione inAttesa;
  int prossima = 0;
  for (const Colonna& c : a_->colonne) {
    if (c.rif < 0) {
      // Missing data inserted is no insertion.
      if (!e.basi.empty() && a_->caratteri[static_cast<std::size_t>(c.campione)] != 'n')
        inAttesa.basi.push_back(
            static_cast<char>(a_->caratteri[static_cast<std::size_t>(c.campione)] & ~0x20));
      continue;
    }
    if (e.basi.size() >= static_cast<std::size_t>(kUltimaPosizione)) break;
    int p = a_->posizioni[static_cast<std::size_t>(c.rif)];
    if (e.basi.empty()) e.primo = p;
    if (!e.basi.empty() && p != prossima) e.basi.push_back('n');  // the placeholder
    if (!inAttesa.basi.empty()) {
      e.inserzioni.push_back(std::move(inAttesa));
      inAttesa = {};
    }
    e.basi.push_back(c.campione >= 0 ? a_->caratteri[static_cast<std::size_t>(c.campione)] : '-');
    inAttesa.dopo = p;
    prossima = p % kUltimaPosizione + 1;
  }
}

// Whether the sample, placed from `inizio` on one character per position, differs from the
// reference by substitutions that no alignment with indels explains at a lower cost. A sample
// too short or too sparse to align is placed so whatever it differs by: the fixed rule is all
// there is to go on.
namespace {
// Of the characters [da, a) of a sample, those of missing data and those that differ from the
// reference's: a count the compiler makes many characters at a time.
struct Conteggio {
  int diversi = 0, mancanti = 0;
};
Conteggio conta(const char* campione, const char* rif, int da, int a) {
  Conteggio c;
  for (int k = da; k < a; ++k) {
    c.mancanti += campione[k] == 'N';
    c.diversi += (campione[k] != 'N') & (campione[k] != rif[k]);
  }
  return c;
}
}  // namespace

bool Allineatore::calzaDa(int inizio, bool allineabile) {
  const std::string& s = a_->schema;
  const int n = static_cast<int>(s.size());
  const int primo = inizio + anticipo_;
  if (inizio < 1 || basi_ == 0 || primo + n - 1 > kUltimaPosizione) return false;
  const char* rif = indice_.completo.data() + primo - 1;
  const int testa = std::min(n, kTesta);
  const Conteggio primi = conta(s.data(), rif, 0, testa);
  // The first bases as the reference's, nearly: the sample starts where the fixed rule says.
  inizioGiusto_ = testa == kTesta && primi.diversi <= 2;
  const Conteggio resto = conta(s.data(), rif, testa, n);
  const int diversi = primi.diversi + resto.diversi, mancanti = primi.mancanti + resto.mancanti;
  if (allineabile && static_cast<std::size_t>(diversi) * 8 > basi_) return false;
  // With both texts of one length, an alignment with indels has an insertion and a deletion,
  // which cost 16 at least: three substitutions or fewer are the cheapest.
  const int spesa = (diversi + mancanti) * kDiverso;
  // Otherwise the aligner looks for an alignment cheaper than the substitutions, and stops as
  // soon as none can be: one that costs as much is no reason to leave the fixed placement.
  if (allineabile && spesa > 2 * (kApertura + kEstensione)) {
    a_->verifica.setMaxAlignmentScore(spesa - 1);
    if (a_->verifica.alignEnd2End(s.data(), n, rif, n) != wfa::WFAligner::StatusMaxScoreReached)
      return false;
  }
  esito_.esito = EsitoCollocazione::collocato;
  esito_.primo = primo;
  // The sample's characters are not needed again before the next sample.
  esito_.basi.swap(a_->caratteri);
  return true;
}

const Collocazione& Allineatore::colloca(std::string_view campione, int inizio) {
  // Field by field, so that the texts keep their room from sample to sample.
  esito_.esito = EsitoCollocazione::nonRiconosciuto;
  esito_.primo = 0;
  esito_.basi.clear();
  esito_.inserzioni.clear();
  const bool allineabile = prepara(campione);
  if (esito_.esito == EsitoCollocazione::troppoLungo) return esito_;
  if (calzaDa(inizio, allineabile) || !allineabile) return esito_;
  // Most samples lie near the interval's start, where the fixed rule puts them: a sample cut
  // there with an indel inside exactly, a read a few positions away. A narrow window there is
  // tried first when the sample's first bases say it starts there, then a wider one, with a budget
  // a real sample keeps within (about one difference in sixteen); the seeds are looked up only when
  // both fail. A sample that differs from its place at more than one character in four is not
  // aligned.
  const int n = static_cast<int>(a_->schema.size());
  const int primo = inizio + anticipo_, vicino = n * kDiverso / 16 + 32;
  const int stretto = 8 + n / 200, largo = 32 + n / 50;
  const bool daInizio = inizio >= 1 && primo <= kUltimaPosizione;
  bool allineato =
      daInizio && ((inizioGiusto_ && allinea(indiceDi(primo), stretto, vicino, false)) ||
                   allinea(indiceDi(primo), largo, vicino, false));
  int diagonale = 0;
  if (!allineato)
    allineato = semina(diagonale) && allinea(diagonale, largo, n * kDiverso / 4 + 64, true);
  if (!allineato) {
    esito_.esito = EsitoCollocazione::nonRiconosciuto;
    return esito_;
  }
  spostaA3Primo();
  raccogli();
  return esito_;
}

}  // namespace vorlane
