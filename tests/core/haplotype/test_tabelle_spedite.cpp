// The shipped tables as the program uses them: every row, turned into a sample, finds a row that
// lists all its positions, and samples of well-known haplogroups land in them.

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "aiuti.h"
#include "haplotype/tabelle.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

struct RigaTabella {
  std::string nome;
  std::vector<std::string> posizioni;
  std::map<int, char> basi;  // from the remark field, e.g. "16069T"
};

std::vector<RigaTabella> leggiTabella(const std::filesystem::path& file) {
  std::vector<RigaTabella> righe;
  for (const std::string& linea : righeCrLf(leggiFile(file))) {
    if (linea.empty() || linea[0] == '#' || linea[0] == '/') continue;
    std::vector<std::string> campi = dividi(linea, ';');
    RigaTabella r{campi.at(0), dividi(campi.at(1), '-'), {}};
    // The remark lists the row's positions with bases; a row that lists part of its motif goes
    // on with "(part of the motif: ...)".
    for (const std::string& voce : dividi(campi.at(2), ' ')) {
      if (voce.empty() || voce[0] == '(') break;
      r.basi[std::stoi(voce)] = voce.back();
    }
    righe.push_back(r);
  }
  return righe;
}

int punteggio(const RigaTabella& riga, const std::vector<std::string>& campione) {
  std::set<std::string> lista(riga.posizioni.begin(), riga.posizioni.end());
  int punti = 0;
  for (const std::string& p : campione) punti += lista.count(p) > 0;
  return punti;
}

// Each row applied to the whole reference is one sample of a multiple run.
void ogniRigaRitrovata(const TabellaAplotipi& tabella, Comando comando) {
  Ambiente amb;
  intervallo(amb, "1", "16569");
  std::vector<RigaTabella> righe = leggiTabella(amb.cartella / tabella.nomeFile);
  ASSERT_EQ(righe.size(), static_cast<std::size_t>(tabella.ultimaRiga));
  std::string testo;
  for (const RigaTabella& r : righe)
    testo += ">" + r.nome + "\r\n" + sequenzaDa(1, 16569, r.basi) + "\r\n";
  scriviFile(amb.stato.cartellaEsporta / "righe.FASTA", testo);
  ASSERT_EQ(esegui(amb, comando, "righe.FASTA"), EsitoEvento::completato);

  const std::vector<std::string> numeri = colonnaRisultati(amb, "numero_differenze");
  const std::vector<std::string> aplotipi = colonnaRisultati(amb, "aplotipo");
  ASSERT_EQ(numeri.size(), righe.size());
  ASSERT_EQ(aplotipi.size(), righe.size());
  for (std::size_t k = 0; k < righe.size(); ++k) {
    EXPECT_EQ(numeri[k], std::to_string(righe[k].basi.size())) << righe[k].nome;
    std::size_t j = 0;
    while (j < righe.size() && righe[j].nome != aplotipi[k]) ++j;
    ASSERT_LE(j, k) << righe[k].nome << " -> " << aplotipi[k];
    EXPECT_EQ(punteggio(righe[j], righe[k].posizioni), static_cast<int>(righe[k].posizioni.size()))
        << righe[k].nome << " -> " << aplotipi[k];
  }
}

TEST(TabelleSpedite, EveryRowOfTheFirstTableIsFoundAgain) {
  ogniRigaRitrovata(kTabellaPrincipale, Comando::ConfrontaMultiplo);
}

TEST(TabelleSpedite, EveryRowOfTheMotifTableIsFoundAgain) {
  ogniRigaRitrovata(kTabellaMotivi, Comando::ConfrontaMultiploNew);
}

// Classic HV1 motifs land in their haplogroup or a daughter of it, in both tables.
void aplogruppiNotiNellHV1(Comando comando) {
  struct Caso {
    std::string nome;
    std::map<int, char> basi;
    std::regex atteso;  // the haplogroup or one of its daughters
  };
  const std::vector<Caso> casi = {
      {"J", {{16069, 'T'}, {16126, 'C'}}, std::regex("J([0-9].*)?")},
      {"T", {{16126, 'C'}, {16294, 'T'}}, std::regex("T([0-9].*)?")},
      {"U5", {{16192, 'T'}, {16270, 'T'}}, std::regex("U5([a-z].*)?")},
      {"K", {{16224, 'C'}, {16311, 'C'}}, std::regex("K([0-9].*)?")},
  };
  Ambiente amb;
  std::string testo;
  for (const Caso& c : casi)
    testo += ">" + c.nome + "\r\n" + sequenzaDa(16001, 16400, c.basi) + "\r\n";
  scriviFile(amb.stato.cartellaEsporta / "hv1.FASTA", testo);
  ASSERT_EQ(esegui(amb, comando, "hv1.FASTA"), EsitoEvento::completato);
  const std::vector<std::string> aplotipi = colonnaRisultati(amb, "aplotipo");
  ASSERT_EQ(aplotipi.size(), casi.size());
  for (std::size_t i = 0; i < casi.size(); ++i)
    EXPECT_TRUE(std::regex_match(aplotipi[i], casi[i].atteso))
        << casi[i].nome << " -> " << aplotipi[i];
}

TEST(TabelleSpedite, KnownHaplogroupsInHV1) {
  aplogruppiNotiNellHV1(Comando::ConfrontaMultiploNew);
}

TEST(TabelleSpedite, KnownHaplogroupsInHV1WithTheFirstTable) {
  aplogruppiNotiNellHV1(Comando::ConfrontaMultiplo);
}

}  // namespace
}  // namespace vorlane::test
