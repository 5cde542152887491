// The tie rule of the classifier (see classificatore.h).

#include <algorithm>

#include "phylotree/classificatore.h"

namespace vorlane {

int ClassificatoreAplogruppi::vincitore(std::span<const int> insiemiPari, Lavoro& lavoro) const {
  if (insiemiPari.size() == 1) return insiemi_[static_cast<std::size_t>(insiemiPari[0])].vincitore;
  std::vector<int>& pari = lavoro.membri;
  pari.clear();
  for (int u : insiemiPari) {
    const std::vector<int>& membri = insiemi_[static_cast<std::size_t>(u)].membri;
    pari.insert(pari.end(), membri.begin(), membri.end());
  }
  std::sort(pari.begin(), pari.end());
  return spareggio(pari, lavoro);
}

int ClassificatoreAplogruppi::spareggio(std::span<const int> pari, Lavoro& lavoro) const {
  const auto& aplogruppi = albero_->aplogruppi();
  auto nodo = [&](int h) -> const AlberoAplogruppi::Aplogruppo& {
    return aplogruppi[static_cast<std::size_t>(h)];
  };
  std::vector<int>& voti = lavoro.voti;
  voti.assign(albero_->gruppi().size(), 0);
  for (int h : pari) ++voti[static_cast<std::size_t>(nodo(h).gruppo)];
  int massimo = *std::max_element(voti.begin(), voti.end());
  int gruppo = nodo(*std::find_if(pari.begin(), pari.end(), [&](int h) {
                 return voti[static_cast<std::size_t>(nodo(h).gruppo)] == massimo;
               })).gruppo;
  // In pre-order the tied ancestors of a haplogroup are the stack of tied haplogroups whose
  // subtree still holds it, and its tied descendants the run of `pari` inside its subtree.
  std::vector<int>& antenati = lavoro.antenati;
  antenati.clear();
  int scelto = -1, piuParenti = -1;
  for (std::size_t i = 0; i < pari.size(); ++i) {
    int h = pari[i];
    while (!antenati.empty() && h >= nodo(antenati.back()).fine) antenati.pop_back();
    auto fine =
        std::lower_bound(pari.begin() + static_cast<std::ptrdiff_t>(i), pari.end(), nodo(h).fine);
    int parenti = static_cast<int>(antenati.size()) +
                  static_cast<int>(fine - pari.begin() - static_cast<std::ptrdiff_t>(i)) - 1;
    if (nodo(h).gruppo == gruppo && parenti > piuParenti) {
      scelto = h;
      piuParenti = parenti;
    }
    antenati.push_back(h);
  }
  return scelto;
}

}  // namespace vorlane
