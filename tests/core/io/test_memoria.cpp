#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "io/memoria.h"

namespace vorlane {
namespace {

// The VmFlags line of the mapping of /proc/self/smaps that holds `indirizzo`.
[[maybe_unused]] std::string segniMappa(std::uintptr_t indirizzo) {
  std::ifstream smaps("/proc/self/smaps");
  std::string riga;
  bool dentro = false;
  while (std::getline(smaps, riga)) {
    std::uintptr_t da = 0, a = 0;
    char trattino = 0;
    std::istringstream intestazione(riga);
    if (intestazione >> std::hex >> da >> trattino >> a && trattino == '-' &&
        riga.find(' ') > riga.find('-'))
      dentro = da <= indirizzo && indirizzo < a;
    else if (dentro && riga.rfind("VmFlags:", 0) == 0)
      return riga;
  }
  return {};
}

TEST(Memoria, LargeTextAndListsLieInLargePagesFromTheirFirstByte) {
  if (!std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"))
    GTEST_SKIP() << "this kernel has no large pages to ask for";
  VettoreGrande<std::uint32_t> voci;
  voci.reserve(4 << 20);  // 16 MB
  ASSERT_GE(voci.capacity(), 4u << 20);
  auto primo = reinterpret_cast<std::uintptr_t>(voci.data());
  EXPECT_EQ(primo % (2 << 20), 0u);
  EXPECT_NE(segniMappa(primo).find(" hg"), std::string::npos) << segniMappa(primo);
  voci.assign(4 << 20, 7);  // and it is room like any other
  EXPECT_EQ(voci[(4 << 20) - 1], 7u);
  TestoGrande testo;
  testo.reserve(3 << 20);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(testo.data()) % (2 << 20), 0u);
  testo.append(3 << 20, 'x');
  EXPECT_EQ(std::string_view(testo).substr((3 << 20) - 2), "xx");
  TestoGrande breve = "breve";  // small text is an ordinary block
  breve.reserve(100);
  EXPECT_EQ(breve, "breve");
}

TEST(Memoria, ALargeBufferAsksForLargePages) {
  if (!std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"))
    GTEST_SKIP() << "this kernel has no large pages to ask for";
  constexpr std::size_t kGrande = 16 << 20;
  BloccoGrande grande = bloccoGrande(kGrande);
  auto centro = reinterpret_cast<std::uintptr_t>(grande.get()) + kGrande / 2;
  EXPECT_NE(segniMappa(centro).find(" hg"), std::string::npos) << segniMappa(centro);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(grande.get()) % (2 << 20), 0u);
  grande[kGrande / 2] = 1;  // and it is memory like any other
  // From 128 KB on: a reader's buffer of 256 KB costs one fault, not 64.
  BloccoGrande medio = bloccoGrande(256 << 10);
  auto inMedio = reinterpret_cast<std::uintptr_t>(medio.get());
  EXPECT_NE(segniMappa(inMedio).find(" hg"), std::string::npos) << segniMappa(inMedio);
  // What dimensioneConcessa promises is there to write.
  medio[dimensioneConcessa(256 << 10) - 1] = 1;

  // A size that rounding up to whole large pages would wrap around is refused, not shrunk.
  volatile std::size_t enorme = SIZE_MAX - 100;
  EXPECT_THROW(bloccoGrande(enorme), std::bad_alloc);

  // A small one is an ordinary block (whether its memory lies in large pages depends on what
  // was asked for around it).
  BloccoGrande piccolo = bloccoGrande(1 << 16);
  piccolo[(1 << 16) - 1] = 1;
  EXPECT_NE(bloccoGrande(0).get(), nullptr);
}

TEST(Memoria, AContainerOnTheLargeAllocatorStartsOnALargePage) {
  std::vector<std::uint64_t, AllocatoreGrande<std::uint64_t>> voci;
  for (std::uint64_t i = 0; i < (1 << 18); ++i) voci.push_back(i * 3);  // 2 MB, grown
  ASSERT_EQ(voci.size(), 1u << 18);
  for (std::uint64_t i = 0; i < (1 << 18); i += 4099) ASSERT_EQ(voci[i], i * 3);
  EXPECT_EQ(voci.back(), ((1u << 18) - 1) * 3);
  voci.reserve(1 << 21);  // 16 MB
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(voci.data()) % (2 << 20), 0u);
  EXPECT_EQ(voci[12345], 12345u * 3);
  if (std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled")) {
    auto primo = reinterpret_cast<std::uintptr_t>(voci.data());
    EXPECT_NE(segniMappa(primo).find(" hg"), std::string::npos) << segniMappa(primo);
  }
  // Small room is an ordinary block, and too much is refused.
  std::vector<int, AllocatoreGrande<int>> pochi{1, 2, 3};
  EXPECT_EQ(pochi[2], 3);
  AllocatoreGrande<std::uint64_t> allocatore;
  volatile std::size_t troppi = SIZE_MAX / 4;
  EXPECT_THROW(static_cast<void>(allocatore.allocate(troppi)), std::bad_alloc);
}

TEST(Memoria, AGrowingBufferIsToldWhatItsBlockReallyHolds) {
  EXPECT_EQ(dimensioneConcessa(0), 0u);
  EXPECT_EQ(dimensioneConcessa((128 << 10) - 1), (128u << 10) - 1);
  EXPECT_EQ(dimensioneConcessa(128 << 10), 2u << 20);
  EXPECT_EQ(dimensioneConcessa(2 << 20), 2u << 20);
  EXPECT_EQ(dimensioneConcessa((2 << 20) + 1), 4u << 20);
  EXPECT_EQ(dimensioneConcessa(SIZE_MAX - 100), SIZE_MAX - 100);
}

}  // namespace
}  // namespace vorlane
