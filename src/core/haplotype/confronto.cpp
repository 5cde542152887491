#include "haplotype/confronto.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/errore.h"
#include "log/registro.h"
#include "sequence/alfabeto.h"
#include "sequence/differenze.h"
#include "stato/messaggi.h"
#include "stato/parametri.h"
#include "text/blocchi.h"
#include "text/date.h"
#include "text/testo.h"

namespace vorlane {

RegoleConfronto regoleConfronto(const StatoVorlane& stato, const Caselle& caselle) {
  RegoleConfronto r;
  LimitiMutazioni limiti = limitiMutazioni(stato.impostazioni);
  r.mutazioniDa = limiti.da;
  r.mutazioniA = limiti.a;
  r.intervallo = intervalloImpostato(caselle.da, caselle.a, true);
  r.allinea = stato.allinea;
  return r;
}

std::size_t segnaMutazioni(std::string_view campione, std::string_view riferimento,
                           std::size_t primo, std::size_t ultimo, char* marche,
                           std::vector<int>& segnate, bool avx2, std::vector<int>* mancanti) {
  const std::size_t prima = segnate.size();
  const std::size_t p = std::max<std::size_t>(primo, 1);
  if (p > ultimo) return 0;
  const char* c = campione.data() + p;
  // A marked position counts when the sample holds a base there, as the comparisons store one
  // (lower case), other than the reference's.
  perOgniDifferenza(
      c, riferimento.data() + p, piegaLettere(ultimo + 1) + p, ultimo - p + 1,
      [&](std::size_t k) {
        if (!eBase(c[k])) {
          if (mancanti) mancanti->push_back(static_cast<int>(p + k));
          return;
        }
        if (c[k] == riferimento[p + k]) return;
        marche[p + k] = '*';
        segnate.push_back(static_cast<int>(p + k));
      },
      avx2);
  return segnate.size() - prima;
}

void segnaMutazioni(CampioneCaricato& campione, std::string_view riferimento, std::size_t primo,
                    std::size_t ultimo, std::vector<int>& segnate, bool avx2) {
  const std::string& sequenza = campione.sequenzaCampione;
  if (sequenza.empty() || riferimento.empty() || campione.lunghezzaCampione < 1) return;
  ultimo = std::min({ultimo, sequenza.size() - 1, riferimento.size() - 1,
                     static_cast<std::size_t>(campione.lunghezzaCampione)});
  campione.numeroMutazioni += static_cast<double>(segnaMutazioni(
      sequenza, riferimento, primo, ultimo, campione.marcaMutazioni.data(), segnate, avx2));
}

std::string rigaInizioBlocco(const StatoVorlane& stato, const std::tm& giorno) {
  return "*--- " + stato.messaggi[msg::analisiVorlane] + ": " + dataBreve(giorno) + " -----------*";
}

std::string rigaInizioBlocco(const StatoVorlane& stato) {
  return rigaInizioBlocco(stato, stato.registro.adesso());
}

namespace {
// The digits of every position of the sequence, as testoNumero prints a whole number, after the
// comma that separates them in a list, worked out once: a run lists a million mutated positions,
// and copying ready digits costs a fraction of converting each one again.
class CifrePosizioni {
 public:
  CifrePosizioni() {
    for (std::size_t p = 0; p < kPosizioni; ++p) {
      Voce& v = voci_[p];
      v.testo[0] = ',';
      v.quante = static_cast<unsigned char>(
          std::to_chars(v.testo + 1, v.testo + sizeof v.testo, p).ptr - v.testo);
    }
  }
  // Writes ",16223" for 16223 at `destinazione` and returns its end; eight bytes are written
  // whatever the length, one fixed copy being cheaper than a copy of each length.
  // `posizione` is inside the sequence: the marks it comes from are.
  char* copia(char* destinazione, std::size_t posizione) const {
    const Voce& v = voci_[posizione];
    std::memcpy(destinazione, &v, sizeof v);
    return destinazione + v.quante;
  }

 private:
  static constexpr std::size_t kPosizioni = kUltimaPosizione + 1;
  struct Voce {
    char testo[7];
    unsigned char quante;
  };
  std::array<Voce, kPosizioni> voci_;
};

const CifrePosizioni& cifrePosizioni() {
  static const CifrePosizioni cifre;
  return cifre;
}
}  // namespace

void elencaMutazioni(const CampioneCaricato& campione, std::size_t primo, std::size_t ultimo,
                     ElencoMutazioni& elenco, BloccoRegistro& blocco) {
  if (primo > ultimo) return;
  const char* marche = campione.marcaMutazioni.data();
  const char* fine = marche + ultimo + 1;
  std::vector<int> posizioni;
  for (const char* m = marche + primo;
       (m = static_cast<const char*>(std::memchr(m, '*', static_cast<std::size_t>(fine - m)))); ++m)
    posizioni.push_back(static_cast<int>(m - marche));
  elencaPosizioni(posizioni, elenco, blocco);
}

namespace {
constexpr std::size_t kPerRiga = 10;

// Appends a line of up to ten entries, each written after its comma, to the list; a full line
// is the tail of the list, written to the block, and the next one starts after the next comma.
void aggiungiRiga(std::string_view riga, std::size_t quante, ElencoMutazioni& elenco,
                  BloccoRegistro& blocco) {
  // The list starts without a comma.
  elenco.posizioni.append(elenco.quante > 0 ? riga : riga.substr(1));
  elenco.quante += static_cast<int>(quante);
  if (quante == kPerRiga) {
    blocco.riga(kRigaMutazioni, elenco.parziale());
    elenco.inizioParziale = elenco.posizioni.size() + 1;
  }
}
}  // namespace

// A line of ten positions at a time: their digits are put together in a buffer and reach the
// list in one append, not one per position.
void elencaPosizioni(std::span<const int> posizioni, ElencoMutazioni& elenco,
                     BloccoRegistro& blocco) {
  const CifrePosizioni& cifre = cifrePosizioni();
  for (std::size_t da = 0; da < posizioni.size(); da += kPerRiga) {
    std::span<const int> riga = posizioni.subspan(da, std::min(kPerRiga, posizioni.size() - da));
    char testo[kPerRiga * 8];
    char* fine = testo;
    for (int p : riga) fine = cifre.copia(fine, static_cast<std::size_t>(p));
    elenco.numeri.insert(elenco.numeri.end(), riga.begin(), riga.end());
    aggiungiRiga(std::string_view(testo, static_cast<std::size_t>(fine - testo)), riga.size(),
                 elenco, blocco);
  }
}

void elencaDifferenze(std::span<const Variante> differenze, ElencoMutazioni& elenco,
                      BloccoRegistro& blocco) {
  std::string riga;
  for (std::size_t da = 0; da < differenze.size(); da += kPerRiga) {
    std::span<const Variante> parte =
        differenze.subspan(da, std::min(kPerRiga, differenze.size() - da));
    riga.clear();
    for (const Variante& v : parte) {
      riga.push_back(',');
      if (v.inserzione == 0 && eBase(static_cast<char>(v.base | 0x20))) {
        riga.append(std::to_string(v.posizione));
        elenco.numeri.push_back(v.posizione);
      } else {
        aggiungiVariante(riga, v);
      }
    }
    aggiungiRiga(riga, parte.size(), elenco, blocco);
  }
}

std::string percentualeMutazioni(int elencate, double numeroMutazioni) {
  return testoNumero(elencate * 100.0 / numeroMutazioni);
}

}  // namespace vorlane
