#include "io/in_ordine.h"

#include "io/fili.h"
#include "io/scrittura.h"

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
  std::size_t fine = SIZE_MAX;     // presa finds no piece from this one on
  std::vector<std::size_t> consegnati, prese;
  std::atomic<int> fatti = 0;
  std::atomic<int> uscite = 0;

  std::unique_ptr<Uscita> nuova() override {
    ++uscite;
    return std::make_unique<Numero>();
  }
  bool presa(std::size_t pezzo, Uscita& u) override {
    if (pezzo >= fine) return false;
    EXPECT_EQ(pezzo, prese.size());
    static_cast<Numero&>(u).presa = prese.size();
    prese.push_back(prese.size());
    return true;
  }
  bool faiPezzo(std::size_t pezzo, Uscita& u) override {
    ++fatti;
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

TEST(InOrdine, PiecesAreHandedOnInOrderWithFewInFlight) {
  Numeri lavoro;
  EsitoInOrdine esito = lavoraInOrdine(lavoro, 200);
  EXPECT_TRUE(esito.completo);
  EXPECT_EQ(lavoro.consegnati, finoA(200));
  EXPECT_EQ(lavoro.fatti, 200);
  // What a piece yields is reused: a few pieces' worth is ever made.
  EXPECT_LE(static_cast<std::size_t>(lavoro.uscite.load()), filiMotore() + 2);
  Numeri nessuno;
  EXPECT_TRUE(lavoraInOrdine(nessuno, 0).completo);
  EXPECT_EQ(nessuno.fatti, 0);
}

TEST(InOrdine, WorkOfUnknownLengthEndsWhereTheLastPieceIsTaken) {
  for (std::size_t fine : {0u, 1u, 2u, 77u}) {
    Numeri lavoro;
    lavoro.fine = fine;
    EXPECT_TRUE(lavoraInOrdine(lavoro).completo);
    EXPECT_EQ(lavoro.consegnati, finoA(fine));
  }
}

TEST(InOrdine, APieceThatFailsStopsTheWorkAfterThoseBeforeIt) {
  for (bool lancia : {false, true}) {
    for (std::size_t guasto : {0u, 1u, 57u, 199u}) {
      Numeri lavoro;
      lavoro.guasto = guasto;
      lavoro.lancia = lancia;
      EsitoInOrdine esito = lavoraInOrdine(lavoro, 200);
      EXPECT_FALSE(esito.completo);
      EXPECT_EQ(esito.primo, guasto);
      EXPECT_EQ(lavoro.consegnati, finoA(guasto));
      ASSERT_TRUE(esito.incompleta);
      EXPECT_EQ(static_cast<Numero&>(*esito.incompleta).pezzo, guasto);
    }
  }
}

TEST(InOrdine, AFailureToHandOnComesBackAfterEveryThreadStops) {
  Numeri lavoro;
  lavoro.rifiuta = 30;
  EXPECT_THROW(lavoraInOrdine(lavoro, 200), std::runtime_error);
  EXPECT_EQ(lavoro.consegnati, finoA(30));
}

TEST(InOrdine, ASinglePieceIsMadeOnThisThreadWithTheSameOutcomes) {
  Numeri uno;
  EXPECT_TRUE(lavoraInOrdine(uno, 1).completo);
  EXPECT_EQ(uno.consegnati, finoA(1));
  EXPECT_EQ(uno.fatti, 1);
  for (bool lancia : {false, true}) {
    Numeri guasto;
    guasto.guasto = 0;
    guasto.lancia = lancia;
    EsitoInOrdine esito = lavoraInOrdine(guasto, 1);
    EXPECT_FALSE(esito.completo);
    EXPECT_EQ(esito.primo, 0u);
    EXPECT_TRUE(esito.incompleta);
    EXPECT_TRUE(guasto.consegnati.empty());
  }
  Numeri rifiuta;
  rifiuta.rifiuta = 0;
  EXPECT_THROW(lavoraInOrdine(rifiuta, 1), std::runtime_error);
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

TEST(Fili, TheProcessorsAllowedCappedByQuotaAndByTheUsersNumber) {
  EXPECT_EQ(filiDa(8, "", std::nullopt), 8u);
  EXPECT_EQ(filiDa(8, "max 100000", std::nullopt), 8u);
  EXPECT_EQ(filiDa(8, "200000 100000\n", std::nullopt), 2u);
  EXPECT_EQ(filiDa(8, "150000 100000", std::nullopt), 2u);  // a processor and a half: two
  EXPECT_EQ(filiDa(2, "800000 100000", std::nullopt), 2u);
  EXPECT_EQ(filiDa(8, "", "3"), 3u);
  EXPECT_EQ(filiDa(8, "200000 100000", "3"), 2u);
  EXPECT_EQ(filiDa(2, "", "16"), 2u);  // a cap, not a request for more
  EXPECT_EQ(filiDa(1, "", std::nullopt), 1u);
  for (const char* sbagliato : {"", "0", "-2", "due", "3x"})
    EXPECT_EQ(filiDa(4, "", sbagliato), 4u);
  EXPECT_EQ(filiDa(0, "", std::nullopt), 1u);
  EXPECT_GE(filiMotore(), 1u);
}

}  // namespace
}  // namespace vorlane
