#include "align/allineamento.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "align/collocazione.h"
#include "sequence/riferimento.h"

namespace vorlane {
namespace {

constexpr int kGenoma = 16569;

// The rCRS from position `da` to `a`, both included, across the origin when da > a; upper case,
// and without the placeholder at 3107, which no real sequence holds.
std::string rcrs(int da, int a) {
  std::string_view r = testoRiferimento();
  std::string s;
  for (int p = da;; p = p % kGenoma + 1) {
    if (p != 3107) s.push_back(static_cast<char>(r[static_cast<std::size_t>(p - 1)] & ~0x20));
    if (p == a) break;
  }
  return s;
}

// The reference with entry p for position p, as the operations keep it.
std::string riferimentoPerPosizione() {
  return std::string(1, '\0') + std::string(testoRiferimento());
}

// The differences of `campione` over the interval, written blank-separated in the tree's
// notation: "16223T 315.1C 523d".
std::string differenze(const std::string& campione, Intervallo intervallo, int inizio = 0) {
  Allineatore allineatore;
  const Collocazione& c = allineatore.colloca(campione, inizio);
  if (c.esito != EsitoCollocazione::collocato) return "non collocato";
  std::string sequenza(kGenoma + 1, ' ');
  CampioneCollocato dentro = riporta(c, intervallo, sequenza);
  std::vector<Variante> varianti;
  differenzeCollocate(sequenza, riferimentoPerPosizione(), dentro, varianti);
  std::string testo;
  for (const Variante& v : varianti) {
    if (!testo.empty()) testo.push_back(' ');
    testo.append(testoVariante(v));
  }
  return testo;
}

// Position p of `s`, a stretch that starts at reference position `da`, replaced by `base`.
std::string sostituisci(std::string s, int da, int p, char base) {
  s.replace(static_cast<std::size_t>(p - da), 1, 1, base);
  return s;
}

const Intervallo kHV2{1, 576};
const Intervallo kHV1{16024, 16400};

TEST(Alignment, PlacesIndelsAtTheirThreePrimeEndAsThePhylogenyWritesThem) {
  // One C more anywhere in the C tract 311-315 is 315.1C; in 303-309, 309.1C.
  std::string hv2 = rcrs(1, 576);
  EXPECT_EQ(differenze(hv2.substr(0, 312) + "C" + hv2.substr(312), kHV2), "315.1C");
  EXPECT_EQ(differenze(hv2.substr(0, 304) + "C" + hv2.substr(304), kHV2), "309.1C");
  EXPECT_EQ(differenze(hv2.substr(0, 304) + "CC" + hv2.substr(304), kHV2), "309.1C 309.2C");
  // Both at once, as very many people carry them: two insertions, not a substitution at 310
  // with two bases inserted after it.
  std::string due = hv2.substr(0, 304) + "C" + hv2.substr(304, 312 - 304) + "C" + hv2.substr(312);
  EXPECT_EQ(differenze(due, kHV2), "309.1C 315.1C");
  // Two bases fewer in the AC repeat 515-524: 523d 524d, wherever the aligner found them.
  EXPECT_EQ(differenze(hv2.substr(0, 514) + hv2.substr(516), kHV2), "523d 524d");
  // With the usual substitutions of H2a2a-rooted samples: 263G and 315.1C together.
  std::string h = sostituisci(hv2, 1, 263, 'G');
  EXPECT_EQ(differenze(h.substr(0, 310) + "C" + h.substr(310), kHV2), "263G 315.1C");

  std::string hv1 = rcrs(16024, 16400);
  // The C tract 16184-16193 is broken by T at 16189: a C more before it is 16188.1C, and with
  // 16189C the tract is whole and the C goes to its end.
  std::string conC = hv1.substr(0, 16186 - 16024) + "C" + hv1.substr(16186 - 16024);
  EXPECT_EQ(differenze(conC, kHV1), "16188.1C");
  conC = sostituisci(conC, 16024, 16190, 'C');
  EXPECT_EQ(differenze(conC, kHV1), "16189C 16193.1C");

  // The 9-bp deletion of the COII/tRNA-Lys intergenic repeat, whichever copy was removed.
  std::string coii = rcrs(8000, 8600);
  std::string senza = coii.substr(0, 8272 - 8000) + coii.substr(8281 - 8000);
  EXPECT_EQ(differenze(senza, {8000, 8600}),
            "8281d 8282d 8283d 8284d 8285d 8286d 8287d 8288d 8289d");
}

TEST(Alignment, ReadsThatStartAnywhereWithMissingEndsAndGapsGiveTheirOwnDifferences) {
  // An HV1 read starting at 16007 and ending at 16391, N at both ends, against 16024-16400.
  std::string lettura = rcrs(16007, 16391);
  lettura = sostituisci(lettura, 16007, 16223, 'T');
  lettura = sostituisci(lettura, 16007, 16311, 'C');
  EXPECT_EQ(differenze("NNNN" + lettura + "NN", kHV1), "16223T 16311C");
  // Given the interval's start, which the read misses by a few positions or by many.
  EXPECT_EQ(differenze(lettura, kHV1, 16024), "16223T 16311C");
  std::string presto = sostituisci(rcrs(15950, 16380), 15950, 16223, 'T');
  presto = sostituisci(presto, 15950, 15990, 'C');
  EXPECT_EQ(differenze(presto, kHV1, 16024), "16223T");
  presto[0] = presto[0] == 'A' ? 'G' : 'A';  // a first base the reference does not have
  EXPECT_EQ(differenze(presto, kHV1, 16024), "16223T");
  // Lower case and an alignment editor's gap columns change nothing.
  std::string minuscola;
  for (std::size_t k = 0; k < lettura.size(); ++k)
    minuscola += std::string(k % 50 == 7 ? "--" : "") + static_cast<char>(lettura[k] | 0x20);
  EXPECT_EQ(differenze(minuscola, kHV1), "16223T 16311C");
  // A heteroplasmy written as its IUPAC code is reported; an N inside is missing data.
  std::string eteroplasmia =
      sostituisci(sostituisci(lettura, 16007, 16093, 'Y'), 16007, 16150, 'N');
  EXPECT_EQ(differenze(eteroplasmia, kHV1), "16093Y 16223T 16311C");
}

TEST(Alignment, AControlRegionAndAWholeGenomeAcrossTheOrigin) {
  std::string regione = rcrs(16024, 576);
  regione = sostituisci(regione, 16024, 16519, 'C');
  regione = sostituisci(regione, 16024 - kGenoma, 73, 'G');
  EXPECT_EQ(differenze(regione, {16024, 576}), "16519C 73G");
  // The same sample over HV2 alone: only what lies there.
  EXPECT_EQ(differenze(regione, kHV2), "73G");

  // A genome deposited from 577 on, wrapped around the origin, with one deletion of the repeat.
  std::string genoma = rcrs(577, 576);
  genoma = sostituisci(genoma, 577, 2706, 'G');
  genoma = genoma.substr(0, 8272 - 577) + genoma.substr(8281 - 577);
  Intervallo tutto{1, kGenoma};
  std::string attese = "2706G 8281d 8282d 8283d 8284d 8285d 8286d 8287d 8288d 8289d";
  EXPECT_EQ(differenze(genoma, tutto), attese);

  // A genome numbered from 1 enters the control region twice: at 1 and again at 16024.
  std::string da1 = sostituisci(sostituisci(rcrs(1, kGenoma), 1, 73, 'G'), 1, 16223 - 1, 'T');
  EXPECT_EQ(differenze(da1, {16024, 576}, 16024), "16223T 73G");
}

TEST(Alignment, SamplesThatCannotBePlacedSayWhy) {
  Allineatore a;
  EXPECT_EQ(a.colloca("ACGTACGTAC").esito, EsitoCollocazione::troppoCorto);
  EXPECT_EQ(a.colloca("NNNN--??").esito, EsitoCollocazione::troppoCorto);
  std::string mancanti = rcrs(16100, 16300);
  for (std::size_t k = 0; k < mancanti.size(); ++k)
    if (k % 4 != 0) mancanti[k] = 'N';
  EXPECT_EQ(a.colloca(mancanti).esito, EsitoCollocazione::troppiMancanti);
  std::mt19937 caso(7);
  std::string estraneo;
  for (int k = 0; k < 400; ++k) estraneo.push_back("ACGT"[caso() % 4]);
  EXPECT_EQ(a.colloca(estraneo).esito, EsitoCollocazione::nonRiconosciuto);
  // The reverse complement of a real read is not a read of this strand.
  std::string lettura = rcrs(16024, 16400), inversa;
  for (auto it = lettura.rbegin(); it != lettura.rend(); ++it)
    inversa.push_back(*it == 'A' ? 'T' : *it == 'C' ? 'G' : *it == 'G' ? 'C' : 'A');
  EXPECT_EQ(a.colloca(inversa).esito, EsitoCollocazione::nonRiconosciuto);
}

TEST(Alignment, ASampleThatFitsTheIntervalKeepsTheFixedPlacement) {
  // Short samples and pure substitutions are placed from the interval's start, as before.
  std::string breve = sostituisci(rcrs(73, 102), 73, 80, 'A');
  EXPECT_EQ(differenze(breve, {73, 340}, 73), "80A");
  // A run of substitutions an indel explains more cheaply is aligned instead: a base fewer in
  // the A tract 200-202 is 202d, not a substitution at every position after it.
  std::string hv2 = rcrs(1, 400);
  std::string spostato = hv2.substr(0, 200) + hv2.substr(201) + "A";
  EXPECT_EQ(differenze(spostato, {1, 400}, 1), "202d");
}

// Applies the placed sample's characters and insertions back: the sample it was made from,
// without its gaps and missing ends, must come out.
std::string ricostruisci(const Collocazione& c) {
  std::string s;
  auto ins = c.inserzioni.begin();
  for (std::size_t k = 0; k < c.basi.size(); ++k) {
    if (c.basi[k] == 'n' && c.posizione(k) == 3107) continue;  // the placeholder
    if (c.basi[k] != '-') s.push_back(static_cast<char>(c.basi[k] & ~0x20));
    for (; ins != c.inserzioni.end() && ins->dopo == c.posizione(k); ++ins) s += ins->basi;
  }
  return s;
}

TEST(Alignment, PlantedChangesAreRecoveredAsCheaplyAsTheyWerePlanted) {
  // Random stretches of the genome with substitutions, insertions and deletions planted: the
  // placement must give back the sample exactly, explain it with no more changes than were
  // planted, and cover the stretch the sample came from.
  std::mt19937 caso(2027);
  Allineatore allineatore;
  for (int prova = 0; prova < 300; ++prova) {
    const int lunghezza = 150 + static_cast<int>(caso() % 900);
    const int da = 1 + static_cast<int>(caso() % kGenoma);
    std::string s = rcrs(da, (da + lunghezza - 2) % kGenoma + 1);
    int piantati = 0;
    const int quanti = static_cast<int>(caso() % 8);
    for (int k = 0; k < quanti; ++k) {
      std::size_t dove = 20 + caso() % (s.size() - 40);
      switch (caso() % 3) {
        case 0:
          s[dove] = "ACGT"[(std::string("ACGT").find(s[dove]) + 1 + caso() % 3) % 4];
          piantati += 5;
          break;
        case 1:
          s.insert(dove, 1, "ACGT"[caso() % 4]);
          piantati += 8;
          break;
        default:
          s.erase(dove, 1);
          piantati += 8;
      }
    }
    const Collocazione& c = allineatore.colloca(s);
    ASSERT_EQ(c.esito, EsitoCollocazione::collocato) << da << " " << s;
    EXPECT_EQ(ricostruisci(c), s) << da;
    // The aligner's own costs: 5 a substitution, 3 + 5 per base a run of gaps.
    int spesa = 0;
    for (std::size_t k = 0; k < c.basi.size(); ++k) {
      char b = static_cast<char>(c.basi[k] & ~0x20);
      char r = static_cast<char>(testoRiferimento()[static_cast<std::size_t>(c.posizione(k) - 1)] &
                                 ~0x20);
      if (b == '-')
        spesa += k > 0 && c.basi[k - 1] == '-' ? 5 : 8;
      else if (b != 'N' && b != r)
        spesa += 5;
    }
    for (const Inserzione& i : c.inserzioni) spesa += 3 + 5 * static_cast<int>(i.basi.size());
    EXPECT_LE(spesa, piantati) << da << " " << s;
  }
}

// A sample of bases only, in either case, is read many characters at a time: it must be placed
// as it is when a character the aligner passes over (a line end) sends it the careful way.
TEST(Alignment, ASampleOfBasesOnlyIsPlacedAsTheCarefulReadingPlacesIt) {
  std::mt19937 caso(31);
  Allineatore veloce, attento;
  for (int prova = 0; prova < 200; ++prova) {
    const int lunghezza = 30 + static_cast<int>(caso() % 700);
    const int da = 1 + static_cast<int>(caso() % kGenoma);
    std::string s = rcrs(da, (da + lunghezza - 2) % kGenoma + 1);
    for (int k = static_cast<int>(caso() % 6); k > 0; --k) {
      std::size_t dove = caso() % s.size();
      if (caso() % 2)
        s.erase(dove, 1);
      else
        s[dove] = "ACGT"[caso() % 4];
    }
    for (char& c : s)
      if (caso() % 3 == 0) c = static_cast<char>(c | 0x20);
    const int inizio = prova % 2 ? da : 0;
    const Collocazione a = veloce.colloca(s, inizio);
    const Collocazione b = attento.colloca(s + "\r", inizio);
    ASSERT_EQ(a.esito, b.esito) << s;
    ASSERT_EQ(a.primo, b.primo) << s;
    ASSERT_EQ(a.basi, b.basi) << s;
    ASSERT_EQ(a.inserzioni.size(), b.inserzioni.size()) << s;
    for (std::size_t i = 0; i < a.inserzioni.size(); ++i) {
      EXPECT_EQ(a.inserzioni[i].dopo, b.inserzioni[i].dopo) << s;
      EXPECT_EQ(a.inserzioni[i].basi, b.inserzioni[i].basi) << s;
    }
  }
}

}  // namespace
}  // namespace vorlane
