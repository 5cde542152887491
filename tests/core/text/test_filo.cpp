#include <gtest/gtest.h>
#include <sched.h>

#include "text/filo.h"

namespace vorlane {
namespace {

cpu_set_t processoriDelThread() {
  cpu_set_t s;
  CPU_ZERO(&s);
  EXPECT_EQ(::sched_getaffinity(0, sizeof s, &s), 0);
  return s;
}

TEST(Filo, RunsItsBodyAndEndsWithTheCreatorsProcessors) {
  cpu_set_t creatore = processoriDelThread();
  cpu_set_t visti;
  CPU_ZERO(&visti);
  int corse = 0;
  Filo filo;
  for (int i = 0; i < 3; ++i) {  // started again once waited for
    filo.avvia([&] {
      ++corse;
      visti = processoriDelThread();
    });
    EXPECT_TRUE(filo.attivo());
    filo.attendi();
    EXPECT_FALSE(filo.attivo());
  }
  EXPECT_EQ(corse, 3);
  // Only its start is placed: running, it may go wherever its creator may.
  EXPECT_TRUE(CPU_EQUAL(&visti, &creatore));
}

TEST(Separazione, KeepsTheTwoThreadsOnDifferentProcessorsAndGivesThemBack) {
  cpu_set_t prima = processoriDelThread();
  if (CPU_COUNT(&prima) < 2) GTEST_SKIP() << "a single processor: nothing to separate";
  cpu_set_t delFilo;
  CPU_ZERO(&delFilo);
  int processoreFilo = -1;
  {
    Separazione separazione;
    cpu_set_t qui = processoriDelThread();
    ASSERT_EQ(CPU_COUNT(&qui), 1);
    Filo filo;
    separazione.avvia(filo, [&] {
      delFilo = processoriDelThread();
      processoreFilo = ::sched_getcpu();
    });
    filo.attendi();
    cpu_set_t comuni;
    CPU_AND(&comuni, &qui, &delFilo);
    EXPECT_EQ(CPU_COUNT(&comuni), 0);
    EXPECT_EQ(CPU_COUNT(&delFilo), CPU_COUNT(&prima) - 1);
    EXPECT_FALSE(CPU_ISSET(processoreFilo, &qui));
  }
  cpu_set_t dopo = processoriDelThread();
  EXPECT_TRUE(CPU_EQUAL(&dopo, &prima));
}

TEST(Separazione, HoldsNothingOnASingleProcessor) {
  cpu_set_t prima = processoriDelThread();
  cpu_set_t uno;
  CPU_ZERO(&uno);
  CPU_SET(::sched_getcpu(), &uno);
  ASSERT_EQ(::sched_setaffinity(0, sizeof uno, &uno), 0);
  bool corso = false;
  {
    Separazione separazione;
    Filo filo;
    separazione.avvia(filo, [&] { corso = true; });
    filo.attendi();
  }
  cpu_set_t dopo = processoriDelThread();
  EXPECT_TRUE(CPU_EQUAL(&dopo, &uno));
  ::sched_setaffinity(0, sizeof prima, &prima);
  EXPECT_TRUE(corso);
}

}  // namespace
}  // namespace vorlane
