#include "align/collocazione.h"

#include <algorithm>
#include <cstring>

#include "sequence/alfabeto.h"
#include "sequence/differenze.h"
#include "sequence/riferimento.h"
#include "text/testo.h"

namespace vorlane {

CampioneCollocato riporta(const Collocazione& collocazione, const Intervallo& intervallo,
                          std::string& sequenza) {
  CampioneCollocato c;
  if (collocazione.esito != EsitoCollocazione::collocato || collocazione.basi.empty()) return c;
  const int n = static_cast<int>(collocazione.basi.size());
  const int primo = collocazione.primo, ultimo = primo + n - 1;
  // The usual case, a stretch that does not turn at the origin inside an interval that does not
  // either: the overlap is copied whole.
  if (ultimo <= kUltimaPosizione && !intervallo.attraversaOrigine()) {
    const int da = std::max(primo, intervallo.inizio), a = std::min(ultimo, intervallo.fine);
    if (da > a) return c;
    std::copy_n(collocazione.basi.begin() + (da - primo), a - da + 1, sequenza.begin() + da);
    c.coperto = {da, a};
  } else {
    // Around the origin, the sample may enter the interval twice (a genome numbered from 1 over
    // 16024-576 covers 1-576 first, then 16024-16569): what it covers is taken in the
    // interval's order, from the first covered position to the last.
    auto ordine = [&](int p) {
      return (p - intervallo.inizio + kUltimaPosizione) % kUltimaPosizione;
    };
    int prima = 0, ultima = 0;
    for (int k = 0, p = primo; k < std::min(n, kUltimaPosizione);
         ++k, p = p % kUltimaPosizione + 1) {
      if (!intervallo.contiene(p)) continue;
      sequenza[static_cast<std::size_t>(p)] = collocazione.basi[static_cast<std::size_t>(k)];
      if (prima == 0 || ordine(p) < ordine(prima)) prima = p;
      if (ultima == 0 || ordine(p) > ordine(ultima)) ultima = p;
    }
    if (prima == 0) return c;
    c.coperto = {prima, ultima};
  }
  for (const Inserzione& i : collocazione.inserzioni)
    if (c.coperto.contiene(i.dopo) && i.dopo != c.coperto.fine) c.inserzioni.push_back(i);
  return c;
}

void trattiSenza(const Intervallo& tratto, std::span<const int> mancanti,
                 std::vector<Intervallo>& tratti) {
  auto m = mancanti.begin();
  tagliaTratti(
      tratto,
      [&](int p, int a) {
        // Across the origin, the positions after it come last: they are not passed before it.
        const int dopo = tratto.attraversaOrigine() && p >= tratto.inizio ? tratto.fine + 1 : 1;
        while (m != mancanti.end() && *m < p && *m >= dopo) ++m;
        return m != mancanti.end() && *m >= p && *m <= a ? *m : a + 1;
      },
      tratti);
}

// A run ends only at an "n", which memchr finds many bases at a time.
void trattiCollocati(std::string_view sequenza, const CampioneCollocato& campione,
                     std::vector<Intervallo>& tratti) {
  tagliaTratti(
      campione.coperto,
      [&](int p, int a) {
        const void* n = std::memchr(sequenza.data() + p, 'n', static_cast<std::size_t>(a - p + 1));
        return n ? static_cast<int>(static_cast<const char*>(n) - sequenza.data()) : a + 1;
      },
      tratti);
}

void differenzeCollocate(std::string_view sequenza, std::string_view riferimento,
                         const CampioneCollocato& campione, std::vector<Variante>& differenze) {
  differenze.clear();
  const Intervallo& c = campione.coperto;
  if (!campione.copre()) return;
  const char* piega = piegaLettere(kUltimaPosizione + 1);
  // The order of the stretch, across the origin: an insertion follows its position.
  auto ordine = [&](int p) { return (p - c.inizio + kUltimaPosizione) % kUltimaPosizione; };
  auto inserzione = campione.inserzioni.begin();
  // The insertions after positions before p (all of them for p 0), each base a variant.
  auto inserzioniPrima = [&](int p) {
    for (; inserzione != campione.inserzioni.end() &&
           (p == 0 || ordine(inserzione->dopo) < ordine(p));
         ++inserzione)
      for (std::size_t k = 0; k < inserzione->basi.size() && k < 63; ++k)
        differenze.push_back({inserzione->dopo, static_cast<int>(k) + 1, inserzione->basi[k]});
  };
  auto tratto = [&](int da, int a) {
    const auto d = static_cast<std::size_t>(da);
    perOgniDifferenza(sequenza.data() + d, riferimento.data() + d, piega + d,
                      static_cast<std::size_t>(a - da + 1), [&](std::size_t k) {
                        const int p = da + static_cast<int>(k);
                        const char s = sequenza[d + k], r = riferimento[d + k];
                        // The placeholder at 3107 is no base to differ from.
                        if (r == 'x') return;
                        char base = 0;
                        if ((eBase(s) && s != r) || codiceAmbiguo(s))
                          base = static_cast<char>(s & ~0x20);
                        else if (s == '-')
                          base = Variante::kDelezione;
                        if (base == 0) return;
                        inserzioniPrima(p);
                        differenze.push_back({p, 0, base});
                      });
  };
  perOgniTratto(c, tratto);
  inserzioniPrima(0);
}

void collocaFisso(std::string_view testo, int inizio, const TabellaCaratteri& caratteri,
                  Collocazione& c) {
  c.esito = EsitoCollocazione::collocato;
  c.primo = inizio;
  c.inserzioni.clear();
  c.basi.clear();
  testo = testo.substr(0, std::min<std::size_t>(testo.size(), kUltimaPosizione));
  for (char x : testo) c.basi.push_back(caratteri[static_cast<unsigned char>(x)]);
}

namespace {
// The stretches as plain ones in the order of the genome, those that overlap or touch joined.
std::vector<Intervallo> trattiUniti(const std::vector<Intervallo>& tratti) {
  std::vector<Intervallo> piani;
  for (const Intervallo& t : tratti) {
    perOgniTratto(t, [&](int da, int a) { piani.push_back({da, a}); });
  }
  std::sort(piani.begin(), piani.end(),
            [](const Intervallo& a, const Intervallo& b) { return a.inizio < b.inizio; });
  std::vector<Intervallo> uniti;
  for (const Intervallo& t : piani) {
    if (!uniti.empty() && t.inizio <= uniti.back().fine + 1)
      uniti.back().fine = std::max(uniti.back().fine, t.fine);
    else
      uniti.push_back(t);
  }
  return uniti;
}

// The joined stretch that follows the widest stretch of the genome the joined ones leave out.
std::size_t dopoLaLacunaMaggiore(const std::vector<Intervallo>& uniti) {
  std::size_t dopo = 0;
  int lacuna = uniti.front().inizio - 1 + kUltimaPosizione - uniti.back().fine;
  for (std::size_t k = 1; k < uniti.size(); ++k) {
    const int l = uniti[k].inizio - uniti[k - 1].fine - 1;
    if (l > lacuna) {
      lacuna = l;
      dopo = k;
    }
  }
  return dopo;
}
}  // namespace

void collocaProfilo(const Profilo& profilo, Collocazione& c) {
  const std::vector<Intervallo> uniti = trattiUniti(profilo.tratti);
  c.esito = EsitoCollocazione::collocato;
  c.inserzioni.clear();
  const std::size_t primo = dopoLaLacunaMaggiore(uniti);
  c.primo = uniti[primo].inizio;
  auto scarto = [&](int p) {
    return static_cast<std::size_t>((p - c.primo + kUltimaPosizione) % kUltimaPosizione);
  };
  const Intervallo& ultimo = uniti[(primo + uniti.size() - 1) % uniti.size()];
  c.basi.assign(scarto(ultimo.fine) + 1, 'n');
  const std::string_view riferimento = testoRiferimento();
  for (const Intervallo& t : uniti)
    riferimento.substr(static_cast<std::size_t>(t.inizio - 1), t.lunghezza())
        .copy(c.basi.data() + scarto(t.inizio), t.lunghezza());
  std::vector<Variante> inserite;
  for (const Variante& v : profilo.varianti) {
    if (v.inserzione > 0) {
      inserite.push_back(v);
      continue;
    }
    c.basi[scarto(v.posizione)] = v.delezione() ? '-' : minuscola(v.base);
  }
  // In the order of the placement, as the aligner gives them.
  std::sort(inserite.begin(), inserite.end(), [&](const Variante& a, const Variante& b) {
    return std::pair(scarto(a.posizione), a.inserzione) <
           std::pair(scarto(b.posizione), b.inserzione);
  });
  for (const Variante& v : inserite) {
    if (c.inserzioni.empty() || c.inserzioni.back().dopo != v.posizione)
      c.inserzioni.push_back({v.posizione, {}});
    c.inserzioni.back().basi.push_back(v.base);
  }
}

MotivoEscluso motivoEscluso(EsitoCollocazione esito) {
  switch (esito) {
    case EsitoCollocazione::troppoCorto:
      return MotivoEscluso::troppoCorto;
    case EsitoCollocazione::troppiMancanti:
      return MotivoEscluso::troppiMancanti;
    case EsitoCollocazione::troppoLungo:
      return MotivoEscluso::troppoLungo;
    default:
      return MotivoEscluso::nonRiconosciuto;
  }
}

std::optional<MotivoEscluso> Collocatore::colloca(std::string_view testo, std::string& sequenza) {
  svuota(sequenza);
  if (!allinea_) {
    collocaFisso(testo, intervallo_.inizio, caratteri_, fisso_);
    return riportaPosto(fisso_, sequenza);
  }
  return riportaPosto(allineatore_.colloca(testo, intervallo_.inizio), sequenza);
}

std::optional<MotivoEscluso> Collocatore::colloca(const Campione& campione, std::string& sequenza) {
  if (!campione.conProfilo) return colloca(campione.sequenza, sequenza);
  svuota(sequenza);
  collocaProfilo(campione.profilo, fisso_);
  return riportaPosto(fisso_, sequenza);
}

std::optional<MotivoEscluso> Collocatore::riportaPosto(const Collocazione& posto,
                                                       std::string& sequenza) {
  if (posto.esito != EsitoCollocazione::collocato) return motivoEscluso(posto.esito);
  dentro_ = riporta(posto, intervallo_, sequenza);
  if (!dentro_.copre()) return MotivoEscluso::fuoriIntervallo;
  if (dentro_.coperto.inizio == dentro_.coperto.fine) return MotivoEscluso::troppoCorto;
  return std::nullopt;
}

void Collocatore::svuota(std::string& sequenza) {
  perOgniTratto(dentro_.coperto, [&](int da, int a) {
    std::fill(sequenza.begin() + da, sequenza.begin() + a + 1, ' ');
  });
  dentro_ = {};
}

namespace {
const char* testoMotivo(MotivoEscluso motivo) {
  switch (motivo) {
    case MotivoEscluso::troppoCorto:
      return "troppo corto per essere allineato al riferimento";
    case MotivoEscluso::troppoLungo:
      return "molto pi\xF9 lungo dell'intero genoma mitocondriale";
    case MotivoEscluso::troppiMancanti:
      return "pi\xF9 dati mancanti (N, ?) che basi";
    case MotivoEscluso::nonRiconosciuto:
      return "nessun tratto del riferimento gli somiglia (non \xE8 DNA mitocondriale umano, o "
             "\xE8 il filamento complementare)";
    case MotivoEscluso::fuoriIntervallo:
      return "non copre alcuna posizione dell'intervallo di analisi";
    case MotivoEscluso::piuLungo:
      return "\xE8 molto pi\xF9 lungo dell'intervallo di analisi";
    case MotivoEscluso::differenzeAccumulate:
      return "le differenze si accumulano da un punto in poi, come dopo un'inserzione o una "
             "delezione";
  }
  return "";
}
}  // namespace

std::optional<MotivoEscluso> collocazioneSospetta(std::size_t caratteri,
                                                  std::size_t lunghezzaIntervallo,
                                                  std::span<const int> differenze) {
  if (caratteri > lunghezzaIntervallo + std::max<std::size_t>(50, lunghezzaIntervallo / 5))
    return MotivoEscluso::piuLungo;
  // A sample differs from the reference at a few positions in a hundred; shifted by an indel,
  // at three in four. Eight differences within twenty positions is the second kind.
  constexpr std::size_t kQuante = 8;
  constexpr int kFinestra = 20;
  for (std::size_t i = 0; i + kQuante <= differenze.size(); ++i)
    if (differenze[i + kQuante - 1] - differenze[i] < kFinestra)
      return MotivoEscluso::differenzeAccumulate;
  return std::nullopt;
}

void CampioniEsclusi::aggiungi(std::string_view nome, MotivoEscluso motivo) {
  if (righe_.size() < kMostrati)
    righe_.push_back("  " + std::string(nome.empty() ? "(senza nome)" : nome) + ": " +
                     testoMotivo(motivo));
  ++quanti_;
}

void CampioniEsclusi::accoda(CampioniEsclusi& altri) {
  for (std::string& r : altri.righe_)
    if (righe_.size() < kMostrati) righe_.push_back(std::move(r));
  quanti_ += altri.quanti_;
  altri.svuota();
}

void CampioniEsclusi::svuota() {
  quanti_ = 0;
  righe_.clear();
}

std::string CampioniEsclusi::testo() const {
  const bool uno = quanti_ == 1;
  std::string t = testoNumero(static_cast<double>(quanti_));
  if (sospetti_)
    t.append(uno ? " campione, posto dall'inizio dell'intervallo, sembra fuori posto"
                 : " campioni, posti dall'inizio dell'intervallo, sembrano fuori posto")
        .append(" (conviene allinearli al riferimento):");
  else
    t.append(uno ? " campione non \xE8 stato collocato" : " campioni non sono stati collocati")
        .append(" sul riferimento e manca")
        .append(uno ? "" : "no")
        .append(" dai risultati:");
  for (const std::string& r : righe_) t += "\n" + r;
  if (quanti_ > righe_.size())
    t.append("\n  ... e altri ").append(testoNumero(static_cast<double>(quanti_ - righe_.size())));
  return t;
}

}  // namespace vorlane
