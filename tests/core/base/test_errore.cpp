#include "base/errore.h"
#include "io/errore_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace vorlane {
namespace {

TEST(Errore, TheSystemsDescriptionsAreItalian) {
  EXPECT_EQ(descrizioneSistema(ENOENT), "file o cartella inesistente");
  EXPECT_EQ(descrizioneSistema(EACCES), "permesso negato");
  EXPECT_EQ(descrizioneSistema(ENOSPC), "spazio esaurito sul disco");
  EXPECT_EQ(descrizioneSistema(ENAMETOOLONG), "nome del file troppo lungo");
  EXPECT_EQ(descrizioneSistema(EISDIR), "\xE8 una cartella");
  // A number without an Italian text keeps the system's words rather than none.
  EXPECT_EQ(descrizioneSistema(EDOM), std::strerror(EDOM));
}

TEST(Errore, AFileErrorNamesWhatFailedTheFileAndWhy) {
  ErroreVorlane e = erroreFile("impossibile aprire il file", "/tmp/caff\xC3\xA8.txt", EACCES);
  EXPECT_STREQ(e.what(), "impossibile aprire il file '/tmp/caff\xE8.txt': permesso negato");
  EXPECT_TRUE(e.etichetta().empty());
}

}  // namespace
}  // namespace vorlane
