#include "report/risultati.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/supporto.h"

namespace vorlane {
namespace {

std::string testo(const std::vector<Variante>& varianti) {
  std::string t;
  for (const Variante& v : varianti) t.append(t.empty() ? "" : " ").append(testoVariante(v));
  return t;
}

TEST(DifferenzeTesto, BasesDeletionsAndMissingDataInTheFieldsNotation) {
  // Reference "acgtx" from position 3105: the x (3107 in the rCRS) has no base to differ from.
  EXPECT_EQ(testo(differenzeTesto("AcGta", "acgtx", 3105, 0)), "");
  EXPECT_EQ(testo(differenzeTesto("gT-?N", "acgtx", 3105, 0)), "3105G 3106T 3107d 3108N");
  // N is what a FASTA sample writes for a base it does not know: no difference there.
  EXPECT_EQ(testo(differenzeTesto("NNyta", "acgta", 16001, 'N')), "16003Y");
  // A sample shorter or longer than the reference text is compared where both have a character.
  EXPECT_EQ(testo(differenzeTesto("t", "acgt", 1, 0)), "1T");
  EXPECT_EQ(testo(differenzeTesto("acgtAAAA", "acga", 1, 0)), "4T");
}

TEST(RigaRisultati, FieldsNeverHoldATabALineBreakOrAControlCharacter) {
  ScrittoreTesto uscita;
  RigaRisultati riga;
  const std::vector<Variante> v{{16223, 0, 'T'}, {315, 1, 'C'}, {523, 0, '-'}};
  riga.campione("/dati/esporta/prova.FASTA", "a\tb\r\nc\x1b\xE8", "", "16024-576", v)
      .confronto("H1", {0, "H2a2a1", 0.5, 0.125});
  riga.fine(uscita);
  EXPECT_EQ(uscita.testo(),
            "prova.FASTA\ta\xE2\x90\x89"
            "b\xE2\x90\x8D\xE2\x90\x8A"
            "c\xE2\x90\x9B\xC3\xA8\t1\t"
            "16024-576\t3\t16223T 315.1C 523d\tH1\tH2a2a1\t0.5000\t0.1250\r\n");
  // Without a call the call's three columns are empty, not missing.
  riga.testo("x").confronto("", {}).fine(uscita);
  EXPECT_TRUE(uscita.testo().ends_with("x\t\t\t\t\r\n"));
}

}  // namespace
}  // namespace vorlane
