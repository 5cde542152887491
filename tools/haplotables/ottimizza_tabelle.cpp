// Inner loop of the haplotype table builder: scores a table on simulated profiles with the
// program's own search rule, improves it by local search, and works out the best call the
// simulation's model allows. Driven by genera_tabelle.py, which writes the input file (tree,
// simulation model, profiles) and reads what this prints; run alone only to debug.
//
//   ottimizza_tabelle ottimizza DATI TABELLA RIGHE POSIZIONI SEME PASSI
//   ottimizza_tabelle valuta DATI TABELLA
//   ottimizza_tabelle tetto DATI
//
// Everything is integer arithmetic and one fixed-seed generator, so a run gives the same table
// on every machine.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRegioni = 3;  // HV1, HV2, whole control region, as numbered by the driver
constexpr int kPosizioni = 16570;

struct Nodo {
  std::string nome;
  int padre = -1;
  int ordine = 0;               // pre-order index in the tree rooted on mt-MRCA
  int sottoalbero = 1;          // nodes in its subtree, itself included
  bool ammesso = false;         // may name a row
  int alto = 0;                 // top-level haplogroup, as a number
  int due = 0;                  // first two characters, as a number
  std::vector<int> motivoRiga;  // positions a row of this haplogroup may list
  std::vector<int> motivo;      // every control-region substitution
};

struct Profilo {
  int nodo = 0;
  int regione = 0;
  int peso = 1;            // a required sample weighs far more than a drawn one
  bool richiesto = false;  // scored only on whether the call is the node or a daughter
  std::vector<int> posizioni;
};

struct Dati {
  std::vector<Nodo> nodi;
  std::vector<int> perdita = std::vector<int>(kPosizioni, 0);  // parts per million
  std::vector<int> peso = std::vector<int>(kPosizioni, 0);
  std::vector<Profilo> profili;
};

std::vector<int> leggiLista(std::istream& in) {
  int n = 0;
  in >> n;
  std::vector<int> v(static_cast<std::size_t>(n));
  for (int& x : v) in >> x;
  return v;
}

void attendi(std::istream& in, const std::string& parola) {
  std::string letta;
  if (!(in >> letta) || letta != parola) throw std::runtime_error("expected " + parola);
}

Dati leggiDati(const std::string& percorso) {
  std::ifstream in(percorso);
  if (!in) throw std::runtime_error("cannot read " + percorso);
  Dati d;
  int n = 0;
  attendi(in, "nodi");
  in >> n;
  d.nodi.resize(static_cast<std::size_t>(n));
  for (Nodo& x : d.nodi) {
    int ammesso = 0;
    in >> x.nome >> x.padre >> x.ordine >> x.sottoalbero >> ammesso >> x.alto >> x.due;
    x.ammesso = ammesso != 0;
    x.motivoRiga = leggiLista(in);
    x.motivo = leggiLista(in);
  }
  attendi(in, "modello");
  in >> n;
  for (int i = 0; i < n; ++i) {
    int p = 0;
    in >> p;
    in >> d.perdita.at(static_cast<std::size_t>(p)) >> d.peso.at(static_cast<std::size_t>(p));
  }
  attendi(in, "profili");
  in >> n;
  d.profili.resize(static_cast<std::size_t>(n));
  for (Profilo& p : d.profili) {
    in >> p.nodo >> p.regione;
    p.posizioni = leggiLista(in);
  }
  attendi(in, "richiesti");
  in >> n;
  for (int i = 0; i < n; ++i) {
    Profilo p;
    p.richiesto = true;
    in >> p.nodo >> p.peso;
    p.posizioni = leggiLista(in);
    d.profili.push_back(p);
  }
  if (!in) throw std::runtime_error(percorso + ": truncated");
  return d;
}

struct Riga {
  int nodo = 0;
  std::vector<int> posizioni;
};

std::vector<Riga> leggiTabella(const std::string& percorso) {
  std::ifstream in(percorso);
  if (!in) throw std::runtime_error("cannot read " + percorso);
  std::vector<Riga> righe;
  Riga r;
  while (in >> r.nodo) {
    r.posizioni = leggiLista(in);
    righe.push_back(r);
  }
  return righe;
}

// splitmix64: small, fast and the same everywhere.
class Casuale {
 public:
  explicit Casuale(std::uint64_t seme) : stato_(seme) {}
  std::uint64_t prossimo() {
    std::uint64_t z = (stato_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int sotto(int n) { return static_cast<int>(prossimo() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t stato_;
};

bool parenti(const Dati& d, int a, int b) {
  const Nodo& x = d.nodi[static_cast<std::size_t>(a)];
  const Nodo& y = d.nodi[static_cast<std::size_t>(b)];
  return (x.ordine <= y.ordine && y.ordine < x.ordine + x.sottoalbero) ||
         (y.ordine <= x.ordine && x.ordine < y.ordine + y.sottoalbero);
}

bool discende(const Dati& d, int figlio, int antenato) {
  const Nodo& a = d.nodi[static_cast<std::size_t>(antenato)];
  int o = d.nodi[static_cast<std::size_t>(figlio)].ordine;
  return a.ordine <= o && o < a.ordine + a.sottoalbero;
}

// Right answers of one call, per level.
struct Esito {
  bool alto = false, due = false, lignaggio = false;
};

Esito giudica(const Dati& d, int chiamata, int vero) {
  if (chiamata < 0) return {};
  const Nodo& c = d.nodi[static_cast<std::size_t>(chiamata)];
  const Nodo& v = d.nodi[static_cast<std::size_t>(vero)];
  return {c.alto == v.alto, c.due == v.due, parenti(d, chiamata, vero)};
}

// What the search optimises: the three levels, the top level counting most.
constexpr int kPesoAlto = 3, kPesoDue = 1, kPesoLignaggio = 2;

long long valore(const Dati& d, const Profilo& p, int chiamata) {
  if (chiamata < 0) return 0;
  if (p.richiesto) return discende(d, chiamata, p.nodo) ? p.peso : 0;
  Esito e = giudica(d, chiamata, p.nodo);
  return kPesoAlto * e.alto + kPesoDue * e.due + kPesoLignaggio * e.lignaggio;
}

// A table under local search. Rows sit in fixed slots; `ordine_` says in which order the search
// reads them. For every profile it keeps each slot's score and the current winner, so that a
// change to one row only revisits the profiles that share a position with it.
class Tabella {
 public:
  Tabella(const Dati& d, const std::vector<Riga>& righe) : d_(d), righe_(righe) {
    const std::size_t n = righe_.size();
    for (std::size_t i = 0; i < d_.profili.size(); ++i)
      for (int p : d_.profili[i].posizioni)
        indice_[static_cast<std::size_t>(p)].push_back(static_cast<int>(i));
    punti_.assign(d_.profili.size() * n, 0);
    for (std::size_t r = 0; r < n; ++r) {
      ordine_.push_back(static_cast<int>(r));
      rango_.push_back(static_cast<int>(r));
      for (int p : righe_[r].posizioni) conta(static_cast<int>(r), p, +1);
    }
    vincitore_.assign(d_.profili.size(), -1);
    migliori_.assign(d_.profili.size(), 0);
    credito_.assign(d_.profili.size(), 0);
    segno_.assign(d_.profili.size(), 0);
    for (std::size_t s = 0; s < d_.profili.size(); ++s) {
      riesamina(static_cast<int>(s));
      totale_ += credito_[s];
    }
  }

  long long totale() const { return totale_; }
  const std::vector<Riga>& righe() const { return righe_; }
  const std::vector<int>& ordine() const { return ordine_; }
  int vincitore(std::size_t s) const { return vincitore_[s]; }

  // Replaces row `r` (node and positions) and moves it to place `rango`; returns the change in
  // the total. `annulla` puts back what the last call changed.
  long long cambia(int r, Riga nuova, int rango) {
    annullo_ = {r, righe_[static_cast<std::size_t>(r)], rango_[static_cast<std::size_t>(r)], {}};
    ++giro_;
    toccati_.clear();
    Riga& vecchia = righe_[static_cast<std::size_t>(r)];
    // A new name or place concerns every profile the row scores; new positions alone only those
    // that hold a position gained or lost.
    bool tutta = nuova.nodo != vecchia.nodo || rango != rango_[static_cast<std::size_t>(r)];
    for (int p : vecchia.posizioni)
      if (tutta || !elenca(nuova, p)) segna(p);
    for (int p : nuova.posizioni)
      if (tutta || !elenca(vecchia, p)) segna(p);
    for (int p : vecchia.posizioni) conta(r, p, -1);
    for (int p : nuova.posizioni) conta(r, p, +1);
    vecchia = std::move(nuova);
    sposta(r, rango);
    long long delta = 0;
    for (int s : toccati_) {
      const std::size_t i = static_cast<std::size_t>(s);
      annullo_.profili.push_back({s, vincitore_[i], migliori_[i], credito_[i]});
      aggiorna(s, r, annullo_.rango);
      delta += credito_[static_cast<std::size_t>(s)] - annullo_.profili.back().credito;
    }
    totale_ += delta;
    return delta;
  }

  void annulla() {
    int r = annullo_.riga;
    for (int p : righe_[static_cast<std::size_t>(r)].posizioni) conta(r, p, -1);
    for (int p : annullo_.vecchia.posizioni) conta(r, p, +1);
    righe_[static_cast<std::size_t>(r)] = annullo_.vecchia;
    sposta(r, annullo_.rango);
    for (const Salvato& s : annullo_.profili) {
      totale_ += s.credito - credito_[static_cast<std::size_t>(s.profilo)];
      vincitore_[static_cast<std::size_t>(s.profilo)] = s.vincitore;
      migliori_[static_cast<std::size_t>(s.profilo)] = s.migliore;
      credito_[static_cast<std::size_t>(s.profilo)] = s.credito;
    }
  }

 private:
  struct Salvato {
    int profilo, vincitore, migliore;
    long long credito;
  };
  struct Annullo {
    int riga = 0;
    Riga vecchia;
    int rango = 0;
    std::vector<Salvato> profili;
  };

  static bool elenca(const Riga& r, int p) {
    return std::find(r.posizioni.begin(), r.posizioni.end(), p) != r.posizioni.end();
  }

  // Row by row, so that a row's change walks its profiles in order.
  unsigned char& punti(int s, int r) {
    return punti_[static_cast<std::size_t>(r) * d_.profili.size() + static_cast<std::size_t>(s)];
  }

  void conta(int r, int p, int verso) {
    for (int s : indice_[static_cast<std::size_t>(p)])
      punti(s, r) = static_cast<unsigned char>(punti(s, r) + verso);
  }

  void segna(int p) {
    for (int s : indice_[static_cast<std::size_t>(p)]) {
      if (segno_[static_cast<std::size_t>(s)] != giro_) {
        segno_[static_cast<std::size_t>(s)] = giro_;
        toccati_.push_back(s);
      }
    }
  }

  void sposta(int r, int rango) {
    int da = rango_[static_cast<std::size_t>(r)];
    if (da == rango) return;
    ordine_.erase(ordine_.begin() + da);
    ordine_.insert(ordine_.begin() + rango, r);
    for (int i = std::min(da, rango); i <= std::max(da, rango); ++i)
      rango_[static_cast<std::size_t>(ordine_[static_cast<std::size_t>(i)])] = i;
  }

  // Only row r changed (it held place `prima` before). The winner stays, gives way to r, or is
  // searched again when it was r and r lost points or moved down.
  void aggiorna(int s, int r, int prima) {
    const std::size_t i = static_cast<std::size_t>(s);
    int& v = vincitore_[i];
    const int pr = punti(s, r);
    const int rango = rango_[static_cast<std::size_t>(r)];
    if (v == r) {
      if (pr < migliori_[i] || rango > prima) {
        riesamina(s);
        return;
      }
    } else if (!(pr > migliori_[i] ||
                 (pr == migliori_[i] && pr > 0 && rango < rango_[static_cast<std::size_t>(v)]))) {
      return;
    }
    v = r;
    migliori_[i] = pr;
    credito_[i] = valore(d_, d_.profili[i], righe_[static_cast<std::size_t>(r)].nodo);
  }

  // The program's search: the first row, in reading order, with the strictly highest score.
  void riesamina(int s) {
    const std::size_t i = static_cast<std::size_t>(s);
    int migliore = 0, scelta = -1;
    for (int r : ordine_) {
      int p = punti(s, r);
      if (p > migliore) {
        migliore = p;
        scelta = r;
      }
    }
    vincitore_[i] = scelta;
    migliori_[i] = migliore;
    credito_[i] =
        scelta < 0 ? 0 : valore(d_, d_.profili[i], righe_[static_cast<std::size_t>(scelta)].nodo);
  }

  const Dati& d_;
  std::vector<Riga> righe_;
  std::vector<std::vector<int>> indice_ = std::vector<std::vector<int>>(kPosizioni);
  std::vector<unsigned char> punti_;
  std::vector<int> ordine_, rango_, vincitore_, migliori_;
  std::vector<long long> credito_;
  std::vector<unsigned> segno_;
  std::vector<int> toccati_;
  unsigned giro_ = 0;
  long long totale_ = 0;
  Annullo annullo_;
};

// The moves of the local search: change a row's positions within its own motif, move it, give
// it the name of a parent or a daughter whose motif still holds its positions, or put another
// haplogroup in its place.
class Mosse {
 public:
  Mosse(const Dati& d, const Tabella& t, int massimoPosizioni)
      : d_(d), massimo_(massimoPosizioni), inTabella_(d.nodi.size(), 0) {
    const std::size_t n = d_.nodi.size();
    padre_.assign(n, -1);
    figli_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      if (d_.nodi[i].ammesso && !d_.nodi[i].motivoRiga.empty())
        ammessi_.push_back(static_cast<int>(i));
      int p = d_.nodi[i].padre;
      while (p >= 0 && !d_.nodi[static_cast<std::size_t>(p)].ammesso)
        p = d_.nodi[static_cast<std::size_t>(p)].padre;
      padre_[i] = p;
      if (p >= 0 && d_.nodi[i].ammesso)
        figli_[static_cast<std::size_t>(p)].push_back(static_cast<int>(i));
    }
    for (const Riga& r : t.righe()) inTabella_[static_cast<std::size_t>(r.nodo)] = 1;
  }

  // A proposal for row `riga`: its new content and place. False when the move drawn does not
  // apply to that row.
  bool proponi(const Tabella& t, Casuale& c, int riga, Riga& nuova, int& rango) {
    const Riga& r = t.righe()[static_cast<std::size_t>(riga)];
    nuova = r;
    rango = static_cast<int>(std::find(t.ordine().begin(), t.ordine().end(), riga) -
                             t.ordine().begin());
    const int n = static_cast<int>(t.righe().size());
    switch (c.sotto(6)) {
      case 0:
        if (nuova.posizioni.size() < 2) return false;
        nuova.posizioni.erase(nuova.posizioni.begin() +
                              c.sotto(static_cast<int>(nuova.posizioni.size())));
        return true;
      case 1:
        return static_cast<int>(nuova.posizioni.size()) < massimo_ && aggiungi(c, nuova);
      case 2: {
        if (!aggiungi(c, nuova)) return false;
        nuova.posizioni.erase(nuova.posizioni.begin() +
                              c.sotto(static_cast<int>(nuova.posizioni.size()) - 1));
        return true;
      }
      case 3: {
        int nuovo = c.sotto(2) == 0 ? c.sotto(n) : std::clamp(rango + c.sotto(17) - 8, 0, n - 1);
        if (nuovo == rango) return false;
        rango = nuovo;
        return true;
      }
      case 4:
        return rinomina(c, nuova);
      default:
        return sostituisci(c, nuova);
    }
  }

  void accettata(int vecchio, int nuovo) {
    inTabella_[static_cast<std::size_t>(vecchio)] = 0;
    inTabella_[static_cast<std::size_t>(nuovo)] = 1;
  }

 private:
  // Adds, at the end, a position of the row's motif it does not list yet.
  bool aggiungi(Casuale& c, Riga& r) {
    std::vector<int> libere;
    for (int p : d_.nodi[static_cast<std::size_t>(r.nodo)].motivoRiga)
      if (std::find(r.posizioni.begin(), r.posizioni.end(), p) == r.posizioni.end())
        libere.push_back(p);
    if (libere.empty()) return false;
    r.posizioni.push_back(
        libere[static_cast<std::size_t>(c.sotto(static_cast<int>(libere.size())))]);
    return true;
  }

  bool contiene(int nodo, const std::vector<int>& posizioni) const {
    const std::vector<int>& m = d_.nodi[static_cast<std::size_t>(nodo)].motivoRiga;
    return std::all_of(posizioni.begin(), posizioni.end(),
                       [&](int p) { return std::find(m.begin(), m.end(), p) != m.end(); });
  }

  bool rinomina(Casuale& c, Riga& r) {
    std::vector<int> scelte;
    int p = padre_[static_cast<std::size_t>(r.nodo)];
    if (p >= 0) scelte.push_back(p);
    for (int f : figli_[static_cast<std::size_t>(r.nodo)]) scelte.push_back(f);
    std::erase_if(scelte, [&](int x) {
      return inTabella_[static_cast<std::size_t>(x)] || !contiene(x, r.posizioni);
    });
    if (scelte.empty()) return false;
    r.nodo = scelte[static_cast<std::size_t>(c.sotto(static_cast<int>(scelte.size())))];
    return true;
  }

  // Another haplogroup with a few positions of its motif, drawn at random.
  bool sostituisci(Casuale& c, Riga& r) {
    int nodo = ammessi_[static_cast<std::size_t>(c.sotto(static_cast<int>(ammessi_.size())))];
    if (inTabella_[static_cast<std::size_t>(nodo)]) return false;
    std::vector<int> m = d_.nodi[static_cast<std::size_t>(nodo)].motivoRiga;
    int quante = 1 + c.sotto(std::min({massimo_, static_cast<int>(m.size()), 5}));
    r.nodo = nodo;
    r.posizioni.clear();
    for (int i = 0; i < quante; ++i) {
      std::size_t k = static_cast<std::size_t>(c.sotto(static_cast<int>(m.size())));
      r.posizioni.push_back(m[k]);
      m.erase(m.begin() + static_cast<long>(k));
    }
    return true;
  }

  const Dati& d_;
  int massimo_;
  std::vector<char> inTabella_;
  std::vector<int> padre_, ammessi_;
  std::vector<std::vector<int>> figli_;
};

void scriviTabella(const Tabella& t) {
  for (int r : t.ordine()) {
    const Riga& riga = t.righe()[static_cast<std::size_t>(r)];
    std::printf("%d %zu", riga.nodo, riga.posizioni.size());
    for (int p : riga.posizioni) std::printf(" %d", p);
    std::printf("\n");
  }
}

// Annealing with a linear acceptance rule: a step that loses `delta` is taken with probability
// 1 - delta / T while delta < T, and T falls to 0 over the run.
int ottimizza(const Dati& d, std::vector<Riga> righe, int massimoPosizioni, std::uint64_t seme,
              long passi) {
  Tabella t(d, righe);
  Mosse mosse(d, t, massimoPosizioni);
  Casuale c(seme);
  const long long t0 = 12;
  long long migliore = t.totale();
  std::vector<Riga> righeMigliori = t.righe();
  std::vector<int> ordineMigliore = t.ordine();
  std::fprintf(stderr, "start %lld\n", t.totale());
  const int n = static_cast<int>(righe.size());
  for (long i = 0; i < passi; ++i) {
    int r = c.sotto(n);
    Riga nuova;
    int rango = 0;
    if (!mosse.proponi(t, c, r, nuova, rango)) continue;
    int vecchio = t.righe()[static_cast<std::size_t>(r)].nodo, nodo = nuova.nodo;
    long long delta = t.cambia(r, std::move(nuova), rango);
    // T = t0 (passi - i) / passi; both sides multiplied by passi to stay in integers.
    long long perdita = -delta * passi, soglia = t0 * (passi - i);
    long long u = static_cast<long long>(c.prossimo() % 1000000ULL);
    bool presa = delta >= 0 || (perdita < soglia && u * soglia < (soglia - perdita) * 1000000LL);
    if (!presa) {
      t.annulla();
      continue;
    }
    mosse.accettata(vecchio, nodo);
    if (t.totale() > migliore) {
      migliore = t.totale();
      righeMigliori = t.righe();
      ordineMigliore = t.ordine();
    }
    if ((i + 1) % (passi / 20 + 1) == 0)
      std::fprintf(stderr, "%ld %lld best %lld\n", i + 1, t.totale(), migliore);
  }
  std::vector<Riga> fine;
  for (int r : ordineMigliore) fine.push_back(righeMigliori[static_cast<std::size_t>(r)]);
  Tabella finale(d, fine);
  // The best table scored from scratch, then as the step-by-step bookkeeping had it: the two agree
  // unless a step or its undoing went wrong.
  std::fprintf(stderr, "end %lld best %lld\n", finale.totale(), migliore);
  scriviTabella(finale);
  return 0;
}

// Right calls per region and level, over the drawn profiles (the required samples are not
// figures, only constraints).
struct Conto {
  long n = 0, alto = 0, due = 0, lignaggio = 0, vuoti = 0;
};

void stampa(const std::vector<Conto>& conti) {
  for (int r = 0; r < kRegioni; ++r) {
    const Conto& c = conti[static_cast<std::size_t>(r)];
    std::printf("%d %ld %ld %ld %ld %ld\n", r, c.n, c.alto, c.due, c.lignaggio, c.vuoti);
  }
}

int valuta(const Dati& d, const std::vector<Riga>& righe) {
  Tabella t(d, righe);
  std::vector<Conto> conti(kRegioni);
  for (std::size_t s = 0; s < d.profili.size(); ++s) {
    const Profilo& p = d.profili[s];
    if (p.richiesto) {
      int v = t.vincitore(s);
      std::printf("richiesto %zu %d\n", s,
                  v < 0 ? -1 : t.righe()[static_cast<std::size_t>(v)].nodo);
      continue;
    }
    Conto& c = conti[static_cast<std::size_t>(p.regione)];
    int v = t.vincitore(s);
    Esito e = giudica(d, v < 0 ? -1 : t.righe()[static_cast<std::size_t>(v)].nodo, p.nodo);
    ++c.n;
    c.alto += e.alto;
    c.due += e.due;
    c.lignaggio += e.lignaggio;
    c.vuoti += v < 0;
  }
  stampa(conti);
  return 0;
}

// The best call the simulation's model allows, without a table: the posterior of every
// haplogroup given the profile (all haplogroups equally likely a priori; each motif variant kept
// or dropped independently; the rest of the profile private changes, at most 3 over the control
// region, each site as likely as its weight). The top level and the first two characters take
// the group with the largest total posterior, the lineage the single most likely haplogroup.
class Tetto {
 public:
  explicit Tetto(const Dati& d) : d_(d) {
    double tutto = 0;
    for (int p = 1; p < kPosizioni; ++p) tutto += d_.peso[static_cast<std::size_t>(p)];
    logPeso_.assign(kPosizioni, 0);
    for (int p = 1; p < kPosizioni; ++p)
      if (d_.peso[static_cast<std::size_t>(p)] > 0)
        logPeso_[static_cast<std::size_t>(p)] =
            std::log(d_.peso[static_cast<std::size_t>(p)] / tutto);
    for (int r = 0; r < kRegioni; ++r) preparaRegione(r, tutto);
  }

  // Returns the calls (top-level group, first-two group, haplogroup) for one profile.
  std::array<int, 3> chiama(const Profilo& p) {
    const std::size_t r = static_cast<std::size_t>(p.regione);
    for (int x : p.posizioni) nelProfilo_[static_cast<std::size_t>(x)] = 1;
    double privati = 0;
    for (int x : p.posizioni) privati += logPeso_[static_cast<std::size_t>(x)];
    const int k = static_cast<int>(p.posizioni.size());
    logVer_.assign(d_.nodi.size(), -INFINITY);
    double massimo = -INFINITY;
    int mappa = -1;
    for (std::size_t n = 0; n < d_.nodi.size(); ++n) {
      double l = base_[r][n] + privati;
      int presi = 0;
      for (const auto& [pos, guadagno] : motivi_[r][n])
        if (nelProfilo_[static_cast<std::size_t>(pos)]) {
          l += guadagno;
          ++presi;
        }
      if (k - presi > 3 || d_.nodi[n].nome == "mt-MRCA") continue;
      l += logPrivati_[r][static_cast<std::size_t>(k - presi)];
      logVer_[n] = l;
      if (l > massimo) {
        massimo = l;
        mappa = static_cast<int>(n);
      }
    }
    for (int x : p.posizioni) nelProfilo_[static_cast<std::size_t>(x)] = 0;
    return {gruppo(massimo, true), gruppo(massimo, false), mappa};
  }

 private:
  void preparaRegione(int r, double tutto) {
    const std::size_t ri = static_cast<std::size_t>(r);
    auto dentro = [r](int p) {
      return r == 0 ? (p >= 16024 && p <= 16400) : r == 1 ? (p >= 1 && p <= 576) : true;
    };
    double inRegione = 0;
    for (int p = 1; p < kPosizioni; ++p)
      if (dentro(p)) inRegione += d_.peso[static_cast<std::size_t>(p)];
    const double q = inRegione / tutto;
    // 0-3 private changes, each landing in the region with probability q.
    for (int k = 0; k <= 3; ++k) {
      double somma = 0;
      for (int j = k; j <= 3; ++j)
        somma += 0.25 * binomiale(j, k) * std::pow(q, k) * std::pow(1 - q, j - k);
      logPrivati_[ri][static_cast<std::size_t>(k)] = std::log(somma);
    }
    for (const Nodo& n : d_.nodi) {
      double base = 0;
      std::vector<std::pair<int, double>> m;
      for (int p : n.motivo) {
        if (!dentro(p)) continue;
        double perdita = d_.perdita[static_cast<std::size_t>(p)] / 1e6;
        base += std::log(perdita);
        m.emplace_back(p,
                       std::log((1 - perdita) / perdita) - logPeso_[static_cast<std::size_t>(p)]);
      }
      base_[ri].push_back(base);
      motivi_[ri].push_back(std::move(m));
    }
  }

  static double binomiale(int n, int k) {
    double b = 1;
    for (int i = 1; i <= k; ++i) b = b * (n - k + i) / i;
    return b;
  }

  int gruppo(double massimo, bool alto) {
    std::vector<double> somme;
    for (std::size_t n = 0; n < d_.nodi.size(); ++n) {
      if (logVer_[n] == -INFINITY) continue;
      std::size_t g = static_cast<std::size_t>(alto ? d_.nodi[n].alto : d_.nodi[n].due);
      if (g >= somme.size()) somme.resize(g + 1, 0);
      somme[g] += std::exp(logVer_[n] - massimo);
    }
    return static_cast<int>(std::max_element(somme.begin(), somme.end()) - somme.begin());
  }

  const Dati& d_;
  std::vector<double> logPeso_, logVer_;
  std::vector<char> nelProfilo_ = std::vector<char>(kPosizioni, 0);
  std::array<std::array<double, 4>, kRegioni> logPrivati_{};
  std::array<std::vector<double>, kRegioni> base_;
  std::array<std::vector<std::vector<std::pair<int, double>>>, kRegioni> motivi_;
};

// The ceiling's right calls; the last three columns count an empty profile as no call, as any
// table must.
int tetto(const Dati& d) {
  Tetto t(d);
  std::vector<Conto> conti(kRegioni), senzaVuoti(kRegioni);
  for (const Profilo& p : d.profili) {
    if (p.richiesto) continue;
    auto [alto, due, nodo] = t.chiama(p);
    const Nodo& v = d.nodi[static_cast<std::size_t>(p.nodo)];
    Esito e{alto == v.alto, due == v.due, nodo >= 0 && parenti(d, nodo, p.nodo)};
    for (Conto* c : {&conti[static_cast<std::size_t>(p.regione)],
                     &senzaVuoti[static_cast<std::size_t>(p.regione)]}) {
      bool conta = c == &conti[static_cast<std::size_t>(p.regione)] || !p.posizioni.empty();
      ++c->n;
      c->alto += e.alto && conta;
      c->due += e.due && conta;
      c->lignaggio += e.lignaggio && conta;
      c->vuoti += p.posizioni.empty();
    }
  }
  stampa(conti);
  stampa(senzaVuoti);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::vector<std::string> a(argv + 1, argv + argc);
    if (a.size() == 7 && a[0] == "ottimizza") {
      Dati d = leggiDati(a[1]);
      std::vector<Riga> righe = leggiTabella(a[2]);
      if (righe.size() != static_cast<std::size_t>(std::stoi(a[3])))
        throw std::runtime_error("the starting table must fill the grid's rows");
      return ottimizza(d, righe, std::stoi(a[4]), std::stoull(a[5]), std::stol(a[6]));
    }
    if (a.size() == 3 && a[0] == "valuta") {
      Dati d = leggiDati(a[1]);
      return valuta(d, leggiTabella(a[2]));
    }
    if (a.size() == 2 && a[0] == "tetto") return tetto(leggiDati(a[1]));
    std::fprintf(stderr, "usage: ottimizza_tabelle ottimizza|valuta|tetto ...\n");
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ottimizza_tabelle: %s\n", e.what());
    return 1;
  }
}
