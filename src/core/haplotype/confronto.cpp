#include "haplotype/confronto.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "app/errore.h"
#include "log/registro.h"
#include "text/blocchi.h"
#include "text/date.h"
#include "text/testo.h"

namespace vorlane {

RegoleConfronto regoleConfronto(const StatoVorlane& stato, const Porta& porta) {
  RegoleConfronto r;
  r.mutazioniDa = numeroIniziale(stato.impostazioni.NumeroMutazioniDa);
  r.mutazioniA = numeroIniziale(stato.impostazioni.NumeroMutazioniA);
  r.da = numeroIniziale(porta.testo(Controllo::Text_PosizioneMutazioneDa));
  r.a = numeroIniziale(porta.testo(Controllo::Text_PosizioneMutazioneA));
  if (r.a >= r.da) {
    r.primo = static_cast<long>(arrotondaPari(r.da));
    r.ultimo = static_cast<long>(arrotondaPari(r.da + std::floor(r.a - r.da)));
  }
  return r;
}

void controllaIntervallo(const RegoleConfronto& regole) {
  if (regole.primo > regole.ultimo) return;
  if (regole.primo < 0 || regole.ultimo > kUltimaPosizione)
    throw ErroreVorlane("l'intervallo di analisi da " + testoNumero(regole.da) + " a " +
                        testoNumero(regole.a) + " esce dalla sequenza (0-16569)");
}

void azzeraMarche(StatoVorlane& stato) {
  stato.marcaMutazioni.assign(kUltimaPosizione + 1, 0);
  stato.numeroMutazioni = 0;
}

namespace {
bool base(char c) {
  return c == 'a' || c == 'c' || c == 'g' || c == 't';
}

// Marks the positions [da, a) whose sample base differs from the reference; returns how many.
// Plain pointers: a store through char* could alias anything, which would make the compiler
// reload every string on each position.
int segnaTratto(const char* c, const char* r, char* marche, std::size_t da, std::size_t a) {
  int mutate = 0;
  for (std::size_t p = da; p < a; ++p) {
    if (c[p] != r[p] && base(c[p])) {
      marche[p] = '*';
      ++mutate;
    }
  }
  return mutate;
}

// segnaTratto for the sixteen positions from p, looking only at those that differ: few do, and
// one block comparison finds them.
int segnaSedici(const char* c, const char* r, char* marche, std::size_t p) {
  std::uint32_t diversi =
      ~Blocco16::carica(c + p).uguali(Blocco16::carica(r + p)).maschera() & 0xFFFFu;
  int mutate = 0;
  for (; diversi != 0; diversi &= diversi - 1) {
    std::size_t q = p + static_cast<std::size_t>(std::countr_zero(diversi));
    if (base(c[q])) {
      marche[q] = '*';
      ++mutate;
    }
  }
  return mutate;
}
}  // namespace

void segnaMutazioni(StatoVorlane& stato, std::size_t primo, std::size_t ultimo) {
  const std::string& campione = stato.sequenzaCampione;
  const std::string& riferimento = stato.sequenzaRiferimento;
  if (campione.empty() || riferimento.empty() || stato.lunghezzaCampione < 1) return;
  ultimo = std::min({ultimo, campione.size() - 1, riferimento.size() - 1,
                     static_cast<std::size_t>(stato.lunghezzaCampione)});
  const char* c = campione.data();
  const char* r = riferimento.data();
  char* marche = stato.marcaMutazioni.data();
  int mutate = 0;
  std::size_t p = std::max<std::size_t>(primo, 1);
  for (; p + 16 <= ultimo + 1; p += 16) mutate += segnaSedici(c, r, marche, p);
  if (p <= ultimo) mutate += segnaTratto(c, r, marche, p, ultimo + 1);
  stato.numeroMutazioni += mutate;
}

std::string rigaInizioBlocco(const StatoVorlane& stato, const std::tm& giorno) {
  return "*--- " + stato.messaggi[21] + ": " + dataBreve(giorno) + " -----------*";
}

std::string rigaInizioBlocco(const StatoVorlane& stato) {
  return rigaInizioBlocco(stato, stato.orologio());
}

namespace {
// The digits of every position of the sequence, as testoNumero prints a whole number, worked
// out once: a run lists a million mutated positions, and copying ready digits costs a fraction
// of converting each one again.
class CifrePosizioni {
 public:
  CifrePosizioni() {
    for (std::size_t p = 0; p < kPosizioni; ++p) {
      Voce& v = voci_[p];
      v.quante = static_cast<unsigned char>(
          std::to_chars(v.cifre, v.cifre + sizeof v.cifre, p).ptr - v.cifre);
    }
  }
  // `posizione` is inside the sequence: the marks it comes from are.
  std::string_view operator[](std::size_t posizione) const {
    const Voce& v = voci_[posizione];
    return {v.cifre, v.quante};
  }

 private:
  static constexpr std::size_t kPosizioni = kUltimaPosizione + 1;
  struct Voce {
    char cifre[7];
    unsigned char quante;
  };
  std::array<Voce, kPosizioni> voci_;
};

const CifrePosizioni& cifrePosizioni() {
  static const CifrePosizioni cifre;
  return cifre;
}
}  // namespace

void elencaMutazioni(const StatoVorlane& stato, std::size_t primo, std::size_t ultimo,
                     ElencoMutazioni& elenco, BloccoRegistro& blocco) {
  if (primo > ultimo) return;
  const char* marche = stato.marcaMutazioni.data();
  const char* fine = marche + ultimo + 1;
  const CifrePosizioni& cifre = cifrePosizioni();
  int inRiga = 0;
  for (const char* m = marche + primo;
       (m = static_cast<const char*>(std::memchr(m, '*', static_cast<std::size_t>(fine - m))));
       ++m) {
    if (elenco.quante++ > 0) elenco.posizioni += ',';
    elenco.posizioni += cifre[static_cast<std::size_t>(m - marche)];
    elenco.numeri.push_back(static_cast<int>(m - marche));
    // A full line is the tail of the list; the next one starts after the next comma.
    if (++inRiga == 10) {
      blocco.riga(kRigaMutazioni, elenco.parziale());
      elenco.inizioParziale = elenco.posizioni.size() + 1;
      inRiga = 0;
    }
  }
}

std::string percentualeMutazioni(int elencate, double numeroMutazioni) {
  return testoNumero(elencate * 100.0 / numeroMutazioni);
}

}  // namespace vorlane
