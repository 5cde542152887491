// Converting a sample file, normalising the table and converting the result again must give
// the same table: the normalisation puts back every difference the conversion recorded.

#include <gtest/gtest.h>

#include <ostream>
#include <random>

#include "aiuti.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

struct Caso {
  unsigned seme;
  int da, a;
};

void PrintTo(const Caso& c, std::ostream* os) {
  *os << "seme " << c.seme << ", " << c.da << "-" << c.a;
}

struct Campione {
  std::string nome, frequenza, sequenza;
};

// Mostly the reference, in either case, with A, C, G, T, N and "-" sprinkled in; some samples
// are cut short and a few are empty.
std::vector<Campione> generaCampioni(const StatoVorlane& stato, const Caso& c, int quanti) {
  std::mt19937 caso(c.seme);
  std::uniform_int_distribution<int> cento(0, 99);
  const std::string rif = campioneRiferimento(stato, c.da, c.a);
  const char* frequenze[] = {"1", "2", "0,5", "12", "x"};
  std::vector<Campione> campioni;
  for (int i = 0; i < quanti; ++i) {
    Campione k{std::string("S").append(std::to_string(i)).append(i % 3 ? " hv1" : ""),
               frequenze[i % 5], rif};
    if (cento(caso) < 10) k.sequenza.resize(static_cast<std::size_t>(cento(caso)));
    int densita = cento(caso) % 20;
    for (char& b : k.sequenza) {
      if (cento(caso) < densita) b = "ACGTN-"[cento(caso) % 6];
      if (cento(caso) < 20) b = minuscola(b);
    }
    campioni.push_back(std::move(k));
  }
  return campioni;
}

void scriviCampioni(const std::filesystem::path& file, const std::vector<Campione>& campioni,
                    bool arlequin) {
  std::string testo;
  for (const Campione& k : campioni) {
    if (arlequin) {
      testo += k.nome + "\t" + k.frequenza + "\t" + k.sequenza + "\r\n";
    } else {
      testo += ">" + k.nome + "\r\n";
      if (!k.sequenza.empty()) testo += k.sequenza + "\r\n";
    }
  }
  scriviFile(file, testo);
}

std::vector<std::vector<std::string>> righeTabella(const Ambiente& a) {
  std::vector<std::vector<std::string>> righe;
  for (const std::string& r : righeCrLf(leggiFile(a.stato.cartellaDati / "campioni.txt")))
    righe.push_back(dividi(r, '\t'));
  return righe;
}

void verificaAndataRitorno(const Caso& c, bool arlequin) {
  SCOPED_TRACE("seme " + std::to_string(c.seme) + ", intervallo " + std::to_string(c.da) + "-" +
               std::to_string(c.a) + (arlequin ? ", Arlequin" : ", FASTA"));
  Ambiente a;
  ASSERT_TRUE(a.avviato);
  // Random signs everywhere: the fixed rule's round trip (the aligned one has a test of its own).
  a.stato.allinea = false;
  impostaIntervallo(a, c.da, c.a);
  a.porta.rispostaSi = true;
  const char* file = arlequin ? "campioni.ARL" : "campioni.FASTA";
  std::vector<Campione> campioni = generaCampioni(a.stato, c, 300);
  scriviCampioni(a.stato.cartellaEsporta / file, campioni, arlequin);

  ASSERT_EQ(eseguiComando(a, Comando::ConvertiInTabella, arlequin, file), EsitoEvento::completato);
  auto prima = righeTabella(a);
  // The normalised file takes the sample file's place, as it does for the user.
  ASSERT_EQ(eseguiComando(a, Comando::Normalizza, arlequin, "campioni.txt"),
            EsitoEvento::completato);
  ASSERT_EQ(eseguiComando(a, Comando::ConvertiInTabella, arlequin, file), EsitoEvento::completato);
  auto dopo = righeTabella(a);

  ASSERT_EQ(prima.size(), campioni.size() + 4);
  ASSERT_EQ(dopo.size(), prima.size());
  int conTrattino = 0, conN = 0;
  for (std::size_t i = 0; i < prima.size(); ++i) {
    SCOPED_TRACE("riga " + std::to_string(i + 1));
    const auto &p = prima[i], &d = dopo[i];
    if (i < 4) {
      EXPECT_EQ(d, p);
      continue;
    }
    const Campione& k = campioni[i - 4];
    ASSERT_GE(p.size(), 2u);
    ASSERT_EQ(d.size(), p.size());
    EXPECT_EQ(p[0], "campioni " + k.nome);
    EXPECT_EQ(p[1], arlequin ? k.frequenza : "1");
    // The normalised FASTA header carries the frequency after the name, so the second table
    // names the sample by the whole header.
    EXPECT_EQ(d[0], "campioni " + p[0] + (arlequin ? "" : " (freq: 1)"));
    EXPECT_EQ(d[1], p[1]);
    if (p.size() == 3) {
      EXPECT_EQ(d[2], p[2]);
      conTrattino += p[2].find("--") != std::string::npos || p[2].back() == '-';
      conN += p[2].find('N') != std::string::npos;
    }
  }
  // The generated data must exercise the tokens that can go wrong; an N is missing data, never a
  // token.
  EXPECT_GT(conTrattino, 10);
  EXPECT_EQ(conN, 0);
}

class AndataRitorno : public ::testing::TestWithParam<Caso> {};

TEST_P(AndataRitorno, Fasta) {
  verificaAndataRitorno(GetParam(), false);
}

TEST_P(AndataRitorno, Arlequin) {
  verificaAndataRitorno(GetParam(), true);
}

INSTANTIATE_TEST_SUITE_P(Semi, AndataRitorno,
                         ::testing::Values(Caso{1, 16001, 16400}, Caso{20261207, 16001, 16400},
                                           Caso{77, 16024, 16383}, Caso{5, 3000, 3200},
                                           Caso{9, 1, 250}, Caso{13, 16400, 16569}),
                         [](const ::testing::TestParamInfo<Caso>& i) {
                           return "seme" + std::to_string(i.param.seme) + "_" +
                                  std::to_string(i.param.da) + "_" + std::to_string(i.param.a);
                         });

}  // namespace
}  // namespace vorlane::test
