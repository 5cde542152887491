#include "phylotree/albero.h"

#include <algorithm>
#include <cstdint>

#include "base/errore.h"

namespace vorlane {

namespace {

// Checks that every haplogroup's parent is on the path from the root to the haplogroup before
// it, which is what makes the list a pre-order.
void controllaPreordine(std::span<const DefinizioneAplogruppo> aplogruppi) {
  std::vector<int> cammino;
  for (std::size_t i = 0; i < aplogruppi.size(); ++i) {
    int padre = aplogruppi[i].padre;
    while (!cammino.empty() && cammino.back() != padre) cammino.pop_back();
    if (cammino.empty() && (padre != -1 || i != 0))
      throw ErroreVorlane("albero degli aplogruppi: " + aplogruppi[i].nome + " fuori ordine");
    cammino.push_back(static_cast<int>(i));
  }
}

}  // namespace

AlberoAplogruppi::AlberoAplogruppi(std::span<const DefinizioneAplogruppo> aplogruppi,
                                   std::unordered_map<int, int> cambi)
    : cambi_(std::move(cambi)) {
  controllaPreordine(aplogruppi);
  // Some 200,000 expected variants, numbered through a hash of the few thousand distinct ones:
  // the tree is built while a comparison's first samples wait.
  auto chiave = [](const Variante& v) {
    return std::int64_t{v.sito()} * 256 + static_cast<unsigned char>(v.base);
  };
  std::unordered_map<std::int64_t, int> numeri;
  numeri.reserve(8192);
  for (const DefinizioneAplogruppo& d : aplogruppi)
    for (const Variante& v : d.attese)
      if (numeri.emplace(chiave(v), 0).second) varianti_.push_back(v);
  std::sort(varianti_.begin(), varianti_.end());
  for (std::size_t i = 0; i < varianti_.size(); ++i)
    numeri[chiave(varianti_[i])] = static_cast<int>(i);
  for (std::size_t i = 0; i < aplogruppi.size(); ++i) {
    const DefinizioneAplogruppo& d = aplogruppi[i];
    Aplogruppo a{d.nome, d.padre, indiceGruppo(d.gruppo), static_cast<int>(i) + 1, {}};
    a.attese.reserve(d.attese.size());
    for (const Variante& v : d.attese) a.attese.push_back(numeri.find(chiave(v))->second);
    std::sort(a.attese.begin(), a.attese.end());
    a.attese.erase(std::unique(a.attese.begin(), a.attese.end()), a.attese.end());
    aplogruppi_.push_back(std::move(a));
  }
  for (std::size_t i = aplogruppi_.size(); i-- > 1;) {
    Aplogruppo& padre = aplogruppi_[static_cast<std::size_t>(aplogruppi_[i].padre)];
    padre.fine = std::max(padre.fine, aplogruppi_[i].fine);
  }
  for (const auto& [sito, n] : cambi_) cambiMassimi_ = std::max(cambiMassimi_, n);
}

int AlberoAplogruppi::indiceGruppo(const std::string& gruppo) {
  auto it = std::find(gruppi_.begin(), gruppi_.end(), gruppo);
  if (it != gruppi_.end()) return static_cast<int>(it - gruppi_.begin());
  gruppi_.push_back(gruppo);
  return static_cast<int>(gruppi_.size()) - 1;
}

int AlberoAplogruppi::cambi(const Variante& v) const {
  auto it = cambi_.find(v.sito());
  return it != cambi_.end() ? it->second : 0;
}

int AlberoAplogruppi::indice(std::string_view nome) const {
  for (std::size_t i = 0; i < aplogruppi_.size(); ++i)
    if (aplogruppi_[i].nome == nome) return static_cast<int>(i);
  return -1;
}

bool AlberoAplogruppi::parenti(int a, int b) const {
  auto dentro = [&](int x, int y) {
    return x <= y && y < aplogruppi_[static_cast<std::size_t>(x)].fine;
  };
  return dentro(a, b) || dentro(b, a);
}

}  // namespace vorlane
