// The sample reader: a FASTA sample wrapped over several lines is one record, whatever the
// buffers do, and a file with each sample on one line reads exactly as line by line.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/errore.h"
#include "sequence/campioni.h"
#include "support/supporto.h"
#include "text/testo.h"

namespace vorlane::test {
namespace {

// A record as one text, so that lists of them compare and print plainly.
std::string descrivi(const RecordCampione& r) {
  switch (r.tipo) {
    case RecordCampione::Tipo::intestazione:
      return "H[" + std::string(r.nome) + "]";
    case RecordCampione::Tipo::senzaTab:
      return "T";
    case RecordCampione::Tipo::sequenza:
      break;
  }
  std::string d = "S[" + std::string(r.sequenza) + "]";
  if (r.conNome) d += " N[" + std::string(r.nome) + "|" + std::string(r.frequenza) + "]";
  return d;
}

std::vector<std::string> leggiTutti(LettoreCampioni& file) {
  std::vector<std::string> tutti;
  for (RecordCampione r; file.prossimo(r);) tutti.push_back(descrivi(r));
  return tutti;
}

std::vector<std::string> records(const std::filesystem::path& p, OpzioniCampioni opzioni) {
  LettoreCampioni file(p, opzioni);
  return leggiTutti(file);
}

// The FASTA records of file `p` as the rules state them, worked on its lines one by one, each
// kept whole: no line is looked at before it is taken.
std::vector<std::string> modello(const std::filesystem::path& p, OpzioniCampioni o) {
  std::vector<std::string> tutte;
  LettoreRighe righe(p);
  for (std::string_view riga; righe.leggi(riga);) tutte.emplace_back(riga);
  auto intestazione = [](const std::string& l) { return !l.empty() && l[0] == '>'; };
  auto conTab = [&](const std::string& l) {
    return o.regolaTab && l.find('\t') != std::string::npos;
  };
  std::vector<std::string> attesi;
  for (std::size_t i = 0; i < tutte.size();) {
    const std::string& l = tutte[i++];
    if (l.empty() && o.saltaVuote) continue;
    if (intestazione(l)) {
      attesi.push_back("H[" + l.substr(1) + "]");
    } else if (conTab(l)) {
      attesi.push_back("S[" + l.substr(l.rfind('\t') + 1) + "] N[" + l.substr(0, l.find('\t')) +
                       "|]");
    } else {
      std::string sequenza = l;
      while (o.unisciRighe && i < tutte.size() && !intestazione(tutte[i]) && !conTab(tutte[i]))
        sequenza += tutte[i++];
      attesi.push_back("S[" + sequenza + "]");
    }
  }
  return attesi;
}

// The options of the mutation check and the conversion, and those of the multiple comparison.
constexpr OpzioniCampioni kControllo{FormatoCampioni::fasta, false, true};
constexpr OpzioniCampioni kMultiplo{FormatoCampioni::fasta, true, false};

TEST(LettoreCampioni, AWrappedSampleIsOneRecordWithItsLinesJoined) {
  CartellaTemporanea t;
  const std::string s = "ACGTTGCAACGTTGCAACGT";
  scriviFile(t / "a.FASTA", "prima\r\nriga\r\n>uno\r\n" + fastaACapo(s, 7, "\r\n") + ">due\n" +
                                fastaACapo(s, 3, "\n") + "\n\nTT\r>tre\r\n>quattro");
  const std::vector<std::string> attesi = {"S[primariga]",   "H[uno]", "S[" + s + "]", "H[due]",
                                           "S[" + s + "TT]", "H[tre]", "H[quattro]"};
  EXPECT_EQ(records(t / "a.FASTA", kControllo), attesi);
  EXPECT_EQ(records(t / "a.FASTA", kMultiplo), attesi);
  // Line by line, as the single comparison's loader reads.
  OpzioniCampioni righe = kControllo;
  righe.unisciRighe = false;
  EXPECT_EQ(records(t / "a.FASTA", righe).size(), 17u);
}

TEST(LettoreCampioni, EmptyLinesAndTabLinesInsideASample) {
  CartellaTemporanea t;
  scriviFile(t / "a.FASTA", ">a\r\n\r\nAC\r\n\r\nGT\r\nid\tx\tCCC\r\nGG\r\nTT\r\n\r\n>b\r\n\r\n");
  // A TAB is a character of the sequence; empty lines add nothing and are passed over.
  EXPECT_EQ(records(t / "a.FASTA", kControllo),
            (std::vector<std::string>{"H[a]", "S[ACGTid\tx\tCCCGGTT]", "H[b]"}));
  // Under the TAB rule the TAB line is a sample of its own; the lines after it are one sample
  // again; an empty line where a record starts is a record with no sequence.
  EXPECT_EQ(
      records(t / "a.FASTA", kMultiplo),
      (std::vector<std::string>{"H[a]", "S[ACGT]", "S[CCC] N[id|]", "S[GGTT]", "H[b]", "S[]"}));
  // A table of TAB lines reads one line a sample, empty lines between them included.
  scriviFile(t / "b.txt", "u\tAAA\r\n\r\nv\tCCC\r\nw\tGGG");
  EXPECT_EQ(records(t / "b.txt", kMultiplo),
            (std::vector<std::string>{"S[AAA] N[u|]", "S[]", "S[CCC] N[v|]", "S[GGG] N[w|]"}));
}

TEST(LettoreCampioni, ArlequinStaysOneSamplePerLine) {
  CartellaTemporanea t;
  scriviFile(t / "a.ARL", "S1\t2\tACGT\r\nGGCC\r\nS2\t1\tTT\textra\r\n");
  OpzioniCampioni arlequin{FormatoCampioni::arlequin, false, true};
  EXPECT_EQ(records(t / "a.ARL", arlequin),
            (std::vector<std::string>{"S[ACGT] N[S1|2]", "T", "S[TT] N[S2|1]"}));
}

// Empty records aside: an empty line after a sample is a record of its own only line by line,
// and the multiple comparison never compares one.
std::vector<std::string> senzaVuoti(std::vector<std::string> tutti) {
  std::erase(tutti, "S[]");
  return tutti;
}

TEST(LettoreCampioni, OneLineSamplesReadAsLineByLine) {
  CartellaTemporanea t;
  std::mt19937 caso(5);
  std::string fasta = "davanti al primo\r\n", tabella;
  for (int i = 0; i < 30000; ++i) {
    fasta += ">c" + std::to_string(i) + (caso() % 50 == 0 ? " citt\xC3\xA0" : "") + "\r\n";
    fasta += std::string(300 + caso() % 200, "ACGT"[caso() % 4]) + "\r\n";
    if (caso() % 40 == 0) fasta += "\r\n";
    tabella += "id" + std::to_string(i) + "\tf\t" + std::string(400, 'A') + "\r\n";
    if (caso() % 40 == 0) tabella += "\r\n";
  }
  scriviFile(t / "a.FASTA", fasta);
  scriviFile(t / "b.txt", tabella);
  for (OpzioniCampioni o : {kControllo, kMultiplo}) {
    OpzioniCampioni righe = o;
    righe.unisciRighe = false;
    for (const char* nome : {"a.FASTA", "b.txt"}) {
      // A TAB line is a sample line of its own only under the TAB rule.
      if (!o.regolaTab && std::string(nome) == "b.txt") continue;
      SCOPED_TRACE(std::string(nome) + (o.regolaTab ? " TAB" : ""));
      std::vector<std::string> unite = records(t / nome, o);
      ASSERT_GT(unite.size(), 30000u);
      if (o.saltaVuote)
        EXPECT_TRUE(unite == records(t / nome, righe));
      else
        EXPECT_TRUE(senzaVuoti(unite) == senzaVuoti(records(t / nome, righe)));
    }
  }
}

// Files of several buffers, wrapped at every width, with every line end, empty lines, TAB lines,
// non-ASCII lines that are transcoded and lines longer than a buffer: whatever line a buffer
// ends in, the records are those of the rules.
TEST(LettoreCampioni, WrappedSamplesAcrossBuffersMatchTheRules) {
  CartellaTemporanea t;
  std::mt19937 caso(23);
  const std::string fini[] = {"\r\n", "\n", "\r"};
  const std::string lunga(LettoreRighe::kBuffer / 2 + 7, 'g');
  std::string testo;
  while (testo.size() < 2 * LettoreRighe::kBuffer + 300000) {
    const std::string& fine = fini[caso() % 3];
    switch (caso() % 12) {
      case 0:
        testo += fine;
        break;
      case 1:
        testo += "id" + std::to_string(caso() % 100) + "\tf\t" + std::string(50, 'C') + fine;
        break;
      case 2:
        testo +=
            ">citt\xC3\xA0" + fine + "ACGT\xC3\xA8TTGG" + fine + (caso() % 2 ? "CC" + fine : "");
        break;
      case 3:
        testo += "T\xC3\xA8T" + fine;
        break;
      case 4:
        // Once or twice: a sample with a line longer than a buffer, and one continued by it.
        if (caso() % 200 == 0) testo += ">l" + fine + lunga + fine + "AC" + fine + lunga + fine;
        break;
      default: {
        testo += ">s" + std::to_string(testo.size()) + fine;
        std::string s(1 + caso() % 600, 'A');
        for (char& c : s) c = "ACGTNacgt-"[caso() % 10];
        testo += fastaACapo(s, 1 + caso() % 90, fine);
      }
    }
  }
  scriviFile(t / "a.FASTA", testo);
  for (OpzioniCampioni o : {kControllo, kMultiplo}) {
    SCOPED_TRACE(o.regolaTab);
    const std::vector<std::string> attesi = modello(t / "a.FASTA", o);
    ASSERT_GT(attesi.size(), 5000u);
    EXPECT_TRUE(records(t / "a.FASTA", o) == attesi);
  }
}

// Samples with their names attached: a header's sample takes the lines after it, a header
// followed by another has no sequence, a TAB line names its own sample, and a plain line after
// it is still that name's; the line read past a sample starts the next one.
std::vector<std::string> campioni(const std::filesystem::path& p, OpzioniCampioni opzioni) {
  LettoreCampioni file(p, opzioni);
  std::vector<std::string> tutti;
  Campione c;
  for (Lettura l; (l = file.prossimo(c)) != Lettura::fine;) {
    if (l == Lettura::senzaTab) {
      tutti.push_back("senzaTab");
      continue;
    }
    std::string d = c.intestazione ? "H" : "";
    if (c.conNome) d.push_back('N');
    d.append("[").append(c.nome).append("|").append(c.frequenza).append("]");
    d.append(std::to_string(c.riga));
    if (c.conSequenza) d.append("=").append(c.sequenza);
    tutti.push_back(d);
  }
  return tutti;
}

TEST(LettoreCampioni, SamplesCarryTheirNamesAndJoinedLines) {
  CartellaTemporanea t;
  scriviFile(t / "a.FASTA",
             "AA\r\n>uno\r\nAC\r\nGT\r\n>vuoto\r\n>citt\xC3\xA0\r\nTT\r\ntre\tx\tGG\r\nCC\r\n");
  EXPECT_EQ(campioni(t / "a.FASTA", kControllo),
            (std::vector<std::string>{"[|]1=AA", "H[uno|]2=ACGT", "H[vuoto|]5",
                                      "H[citt\xE0|]6=TTtre\tx\tGGCC"}));
  OpzioniCampioni tab{FormatoCampioni::fasta, true, false};
  EXPECT_EQ(campioni(t / "a.FASTA", tab),
            (std::vector<std::string>{"[|]1=AA", "H[uno|]2=ACGT", "H[vuoto|]5", "H[citt\xE0|]6=TT",
                                      "N[tre|]8=GG", "[tre|]9=CC"}));
  scriviFile(t / "a.ARL", "a\t2\tAC\r\n\r\nb\t1\tGT\r\nsenza tab\r\nc\t1\tTT\r\n");
  EXPECT_EQ(
      campioni(t / "a.ARL", {FormatoCampioni::arlequin, false, false}),
      (std::vector<std::string>{"N[a|2]1=AC", "senzaTab", "N[b|1]3=GT", "senzaTab", "N[c|1]5=TT"}));
}

// An Arlequin project as Arlequin writes it: its records are the lines of its SampleData
// blocks, whichever format the operation reads; the profile, the sample headers and the
// structure are no samples.
TEST(LettoreCampioni, AnArlequinProjectGivesTheLinesOfItsSampleDataBlocks) {
  CartellaTemporanea t;
  const std::string progetto =
      "[Profile]\r\n  Title=\"HV1\"\r\n  NbSamples=2\r\n  DataType=DNA\r\n"
      "  GenotypicData=0\r\n\r\n[Data]\r\n  [[Samples]]\r\n    SampleName=\"Pop 1\"\r\n"
      "    SampleSize=3\r\n    SampleData= {\r\n      h1\t2\tACGT\r\n"
      "      h2   1   ACG TTA\r\n    }\r\n    SampleName=\"Pop 2\"\r\n"
      "    SampleData={\r\n# a remark\r\n      h3 1 GGGG }\r\n[[Structure]]\r\n"
      "  StructureName=\"x\"\r\n";
  scriviFile(t / "p.arp", progetto);
  const std::vector<std::string> attesi = {"S[ACGT] N[h1|2]", "S[ACGTTA] N[h2|1]",
                                           "S[GGGG] N[h3|1]"};
  EXPECT_EQ(records(t / "p.arp", {.formato = FormatoCampioni::arlequin}), attesi);
  EXPECT_EQ(records(t / "p.arp", {.formato = FormatoCampioni::fasta, .regolaTab = true}), attesi);
  // A data line of two fields is an error that names the line.
  scriviFile(t / "r.arp", "[Profile]\r\nSampleData={\r\nh1 2\r\n}\r\n");
  LettoreCampioni rotto(t / "r.arp", {.formato = FormatoCampioni::arlequin});
  RecordCampione r;
  try {
    rotto.prossimo(r);
    ADD_FAILURE() << "no error";
  } catch (const ErroreVorlane& e) {
    EXPECT_NE(std::string(e.what()).find("riga 3"), std::string::npos) << e.what();
  }
  // A plain file with a section after its records is no project: the section is a line
  // without TAB, as before.
  scriviFile(t / "s.ARL", "S1\t3\tACGT\r\n[Profile]\r\n");
  EXPECT_EQ(records(t / "s.ARL", {.formato = FormatoCampioni::arlequin}),
            (std::vector<std::string>{"S[ACGT] N[S1|3]", "T"}));
}

}  // namespace
}  // namespace vorlane::test
