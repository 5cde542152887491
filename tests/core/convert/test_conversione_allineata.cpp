// The conversion and the normalisation of aligned samples: indels and heteroplasmies become
// tokens, and the tokens become an aligned file again, insertion columns and all.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "aiuti.h"

namespace vorlane::test {
namespace {

// The control region 16024-576 as a sample: the reference with `basi` in place, `inserite`
// inserted before a position and the positions of `tolte` deleted.
std::string regione(const StatoVorlane& stato, const std::map<int, char>& basi,
                    const std::map<int, char>& inserite = {}, const std::set<int>& tolte = {}) {
  std::string s;
  auto una = [&](int p) {
    if (auto i = inserite.find(p); i != inserite.end()) s.push_back(i->second);
    if (tolte.count(p)) return;
    auto b = basi.find(p);
    s.push_back(b != basi.end() ? b->second : riferimentoMaiuscolo(stato, p));
  };
  for (int p = 16024; p <= 16569; ++p) una(p);
  for (int p = 1; p <= 576; ++p) una(p);
  return s;
}

// The rows of a table, its header left out.
std::vector<std::string> righe(const std::string& file) {
  std::vector<std::string> r = righeCrLf(leggiFile(file));
  return std::vector<std::string>(r.begin() + 4, r.end());
}

TEST(ConversioneAllineata, IndelsAndHeteroplasmiesGoThereAndBack) {
  Ambiente a;
  ASSERT_TRUE(a.avviato);
  impostaIntervallo(a, 16024, 576);
  a.porta.rispostaSi = true;
  // 16519C and 263G are transitions: bare positions. A C more in 311-315, the AC unit 515-516
  // fewer, a heteroplasmy at 16093 and a read that covers HV1 only.
  const std::string uno = regione(a.stato, {{16519, 'C'}, {263, 'G'}}, {{312, 'C'}}, {515, 516});
  const std::string due = regione(a.stato, {{16093, 'Y'}, {16300, 'N'}});
  const std::string tre = regione(a.stato, {{16223, 'T'}}).substr(10, 340);
  scriviFile(a.stato.cartellaEsporta / "campioni.FASTA",
             ">uno\r\n" + uno + "\r\n>due\r\n" + due + "\r\n>tre\r\n" + tre + "\r\n");
  ASSERT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::completato);
  const std::string tabella = (a.stato.cartellaDati / "campioni.txt").string();
  const std::vector<std::string> attese = {
      "campioni uno\t1\t16519-263-315.1C-523d-524d",
      "campioni due\t1\t16093Y",
      "campioni tre\t1\t16223",
  };
  EXPECT_EQ(righe(tabella), attese);

  // Rebuilt, every sample has the insertion's column ("-" where it has no insertion) and a "-"
  // for each deleted base: all are as long as the interval plus one.
  ASSERT_EQ(eseguiComando(a, Comando::Normalizza, false, "campioni.txt"), EsitoEvento::completato);
  std::vector<std::string> fasta = righeCrLf(leggiFile(a.stato.cartellaEsporta / "campioni.FASTA"));
  ASSERT_GE(fasta.size(), 6u);
  const std::size_t lunghezza = (16569 - 16024 + 1) + 576 + 1;
  for (std::size_t i = 1; i < 6; i += 2) EXPECT_EQ(fasta[i].size(), lunghezza) << i;
  const std::size_t dopo315 = (16569 - 16024 + 1) + 315;
  EXPECT_EQ(fasta[1][dopo315], 'C');
  EXPECT_EQ(fasta[3][dopo315], '-');
  EXPECT_EQ(fasta[1].substr(dopo315 + (523 - 315), 2), "--");
  // Converted again, the aligned file gives the same table.
  ASSERT_EQ(eseguiComando(a, Comando::ConvertiInTabella, false, "campioni.FASTA"),
            EsitoEvento::completato);
  std::vector<std::string> ancora = righe(tabella);
  ASSERT_EQ(ancora.size(), attese.size());
  for (std::size_t i = 0; i < attese.size(); ++i) {
    const std::string coda = attese[i].substr(attese[i].find('\t'));
    EXPECT_EQ(ancora[i].substr(ancora[i].find('\t')), coda) << ancora[i];
  }
}

// The table is looked through for insertion tokens a megabyte at a time before its rows are
// rebuilt: a token whose "." is the last byte of one megabyte, or the first of the next, is found.
TEST(ConversioneAllineata, AnInsertionTokenAcrossAMegabyteOfTheTableIsFound) {
  const std::string testata = "/ riga 1\r\n/ riga 2\r\n/ riga 3\r\n/ ----\r\n";
  const std::string riempitivo = "campione " + std::string(200, 'r') + "\t1\t16223\r\n";
  for (std::size_t punto : {std::size_t{1} << 20, (std::size_t{1} << 20) - 1}) {
    SCOPED_TRACE(punto);
    Ambiente a;
    ASSERT_TRUE(a.avviato);
    a.porta.rispostaSi = true;
    std::string tabella = testata;
    while (tabella.size() + riempitivo.size() + 300 < punto) tabella += riempitivo;
    // The last row's name takes the room left, so that its token's "." falls on `punto`.
    const std::string prima = "\t1\t16193", dopo = ".1C\r\n";
    tabella += "inserita " + std::string(punto - tabella.size() - 9 - prima.size(), 'i') + prima;
    ASSERT_EQ(tabella.size(), punto);
    tabella += dopo + riempitivo;
    scriviFile(a.stato.cartellaDati / "campioni.txt", tabella);
    ASSERT_EQ(eseguiComando(a, Comando::Normalizza, false, "campioni.txt"),
              EsitoEvento::completato);
    std::vector<std::string> fasta =
        righeCrLf(leggiFile(a.stato.cartellaEsporta / "campioni.FASTA"));
    ASSERT_GT(fasta.size(), 2u);
    // Every sample has the insertion's column: the interval's 400 positions and one more.
    for (std::size_t i = 1; i < fasta.size(); i += 2) ASSERT_EQ(fasta[i].size(), 401u) << i;
  }
}

}  // namespace
}  // namespace vorlane::test
