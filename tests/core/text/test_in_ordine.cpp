#include "io/scrittura.h"
#include "text/in_ordine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorlane {
namespace {

struct Numero : LavoroInOrdine::Uscita {
  std::size_t pezzo = 0, presa = 0;
};

// Pieces that yield their own number; piece `guasto` fails, or throws when `lancia`.
class Numeri : public LavoroInOrdine {
 public:
  std::size_t guasto = SIZE_MAX;
  bool lancia = false;
  std::size_t rifiuta = SIZE_MAX;  // handing this one on throws
  std::vector<std::size_t> consegnati, prese;
  std::atomic<int> fili[2] = {0, 0};

  std::unique_ptr<Uscita> nuova() override { return std::make_unique<Numero>(); }
  void presa(Uscita& u) override {
    static_cast<Numero&>(u).presa = prese.size();
    prese.push_back(prese.size());
  }
  bool faiPezzo(int filo, std::size_t pezzo, Uscita& u) override {
    ++fili[filo];
    static_cast<Numero&>(u).pezzo = pezzo;
    if (pezzo == guasto && lancia) throw std::runtime_error("guasto");
    return pezzo != guasto;
  }
  void consegna(Uscita& u) override {
    auto& n = static_cast<Numero&>(u);
    if (n.pezzo == rifiuta) throw std::runtime_error("disco pieno");
    EXPECT_EQ(n.presa, n.pezzo);  // taken in order, each readied once
    consegnati.push_back(n.pezzo);
  }
};

std::vector<std::size_t> finoA(std::size_t n) {
  std::vector<std::size_t> v;
  for (std::size_t i = 0; i < n; ++i) v.push_back(i);
  return v;
}

TEST(InOrdine, PiecesAreHandedOnInOrderAndBothThreadsWork) {
  Numeri lavoro;
  EsitoInOrdine esito = lavoraInOrdine(200, lavoro);
  EXPECT_TRUE(esito.completo);
  EXPECT_EQ(lavoro.consegnati, finoA(200));
  EXPECT_EQ(lavoro.fili[0] + lavoro.fili[1], 200);
  Numeri nessuno;
  EXPECT_TRUE(lavoraInOrdine(0, nessuno).completo);
}

TEST(InOrdine, APieceThatFailsStopsTheWorkAfterThoseBeforeIt) {
  for (bool lancia : {false, true}) {
    for (std::size_t guasto : {0u, 1u, 57u, 199u}) {
      Numeri lavoro;
      lavoro.guasto = guasto;
      lavoro.lancia = lancia;
      EsitoInOrdine esito = lavoraInOrdine(200, lavoro);
      EXPECT_FALSE(esito.completo);
      EXPECT_EQ(esito.primo, guasto);
      EXPECT_EQ(lavoro.consegnati, finoA(guasto));
      ASSERT_TRUE(esito.incompleta);
      EXPECT_EQ(static_cast<Numero&>(*esito.incompleta).pezzo, guasto);
    }
  }
}

TEST(InOrdine, AFailureToHandOnComesBackAfterBothThreadsStop) {
  Numeri lavoro;
  lavoro.rifiuta = 30;
  EXPECT_THROW(lavoraInOrdine(200, lavoro), std::runtime_error);
  EXPECT_EQ(lavoro.consegnati, finoA(30));
}

TEST(InOrdine, ASinglePieceIsMadeOnThisThreadWithTheSameOutcomes) {
  Numeri uno;
  EXPECT_TRUE(lavoraInOrdine(1, uno).completo);
  EXPECT_EQ(uno.consegnati, finoA(1));
  EXPECT_EQ(uno.fili[0], 1);
  for (bool lancia : {false, true}) {
    Numeri guasto;
    guasto.guasto = 0;
    guasto.lancia = lancia;
    EsitoInOrdine esito = lavoraInOrdine(1, guasto);
    EXPECT_FALSE(esito.completo);
    EXPECT_EQ(esito.primo, 0u);
    EXPECT_TRUE(esito.incompleta);
    EXPECT_TRUE(guasto.consegnati.empty());
  }
  Numeri rifiuta;
  rifiuta.rifiuta = 0;
  EXPECT_THROW(lavoraInOrdine(1, rifiuta), std::runtime_error);
}

TEST(InOrdine, TextMadeInPiecesIsTheTextMadeInOneGo) {
  auto fai = [](ScrittoreTesto& uscita, std::size_t pezzo) {
    if (pezzo == 157) throw std::runtime_error("pezzo 157");
    for (std::size_t i = 0; i <= pezzo % 7; ++i)
      uscita.riga(std::to_string(pezzo) + "." + std::to_string(i));
  };
  std::string attesa;
  for (std::size_t pezzo = 0; pezzo < 300; ++pezzo)
    for (std::size_t i = 0; i <= pezzo % 7; ++i)
      attesa += std::to_string(pezzo) + "." + std::to_string(i) + "\r\n";
  for (std::size_t pezzi : {0u, 1u, 2u, 150u}) {
    ScrittoreTesto testo;
    testo.riga("prima");
    testoInOrdine(testo, pezzi, fai);
    std::size_t fine = pezzi == 0 ? 0 : attesa.find("\r\n" + std::to_string(pezzi) + ".0") + 2;
    EXPECT_EQ(testo.testo(), "prima\r\n" + attesa.substr(0, fine)) << pezzi;
  }
  ScrittoreTesto testo;
  EXPECT_THROW(testoInOrdine(testo, 300, fai), std::runtime_error);
  EXPECT_EQ(testo.testo(), attesa.substr(0, attesa.find("157.0")));
}

}  // namespace
}  // namespace vorlane
