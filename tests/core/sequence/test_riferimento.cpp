#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "sequence/riferimento.h"
#include "support/supporto.h"

namespace vorlane {
namespace {

TEST(Riferimento, CompositionAndKnownPositions) {
  test::Ambiente a;
  ASSERT_TRUE(a.avviato);
  const std::string& rif = a.stato.sequenzaRiferimento;
  ASSERT_EQ(rif.size(), 16570u);
  EXPECT_EQ(rif[0], '\0');
  std::map<char, int> conta;
  for (std::size_t p = 1; p < rif.size(); ++p) ++conta[rif[p]];
  EXPECT_EQ(conta,
            (std::map<char, int>{{'a', 5124}, {'c', 5181}, {'g', 2169}, {'t', 4094}, {'x', 1}}));
  const std::pair<int, char> attese[] = {
      {1, 'g'},     {73, 'a'},    {150, 'c'},   {152, 't'},   {195, 't'},   {263, 'a'},
      {310, 't'},   {750, 'a'},   {1438, 'a'},  {2706, 'a'},  {3107, 'x'},  {4769, 'a'},
      {7028, 'c'},  {8860, 'a'},  {11719, 'g'}, {14766, 'c'}, {15326, 'a'}, {16069, 'c'},
      {16126, 't'}, {16189, 't'}, {16223, 'c'}, {16270, 'c'}, {16311, 't'}, {16362, 't'},
      {16519, 't'}, {16569, 'g'}};
  for (auto [p, b] : attese) EXPECT_EQ(rif[static_cast<std::size_t>(p)], b) << p;
  EXPECT_EQ(rif.substr(1, 60), "gatcacaggtctatcaccctattaaccactcacgggagctctccatgcatttggtatttt");
  EXPECT_EQ(a.porta.testo(Controllo::Label_FileSequenzaRiferimento),
            a.stato.messaggi[54] + ": " + kCitazioneRiferimento);
}

TEST(Riferimento, Md5OfTheUpperCasedTextWithNAt3107) {
  std::string testo(testoRiferimento());
  for (char& c : testo) c = c == 'x' ? 'N' : static_cast<char>(c - 'a' + 'A');
  test::CartellaTemporanea t;
  test::scriviFile(t / "rcrs.txt", testo);
  std::string comando = "md5sum '" + (t / "rcrs.txt").string() + "'";
  std::FILE* p = ::popen(comando.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char buf[33] = {};
  ASSERT_EQ(std::fread(buf, 1, 32, p), 32u);
  ::pclose(p);
  EXPECT_STREQ(buf, "c68f52674c9fb33aef52dcf399755519");
}

}  // namespace
}  // namespace vorlane
