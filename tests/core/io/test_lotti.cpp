#include "io/lotti.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace vorlane {
namespace {

struct Lotto {
  std::vector<int> voci;
  std::vector<int> quadrati;
};

// Batches of 7 of the numbers 0..quante-1, each squared on the threads; a batch whose work
// throws at `guasto` has squared the numbers before it.
struct Prova {
  int quante = 1000;
  int guastoLettura = -1, guastoLavoro = -1;
  int prossima = 0;
  std::vector<int> consegnati;

  FasiLotti<Lotto> fasi() {
    FasiLotti<Lotto> f;
    f.nuovo = [] { return std::make_unique<Lotto>(); };
    f.riempi = [this](Lotto& l) {
      l.voci.clear();
      l.quadrati.clear();
      for (int i = 0; i < 7 && prossima < quante; ++i) {
        if (prossima == guastoLettura) throw std::runtime_error("lettura");
        l.voci.push_back(prossima++);
      }
      return !l.voci.empty();
    };
    f.lavora = [this](Lotto& l) {
      // Batches finish out of order.
      if (!l.voci.empty() && l.voci.front() % 3 == 0)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      for (int v : l.voci) {
        if (v == guastoLavoro) throw std::runtime_error("lavoro");
        l.quadrati.push_back(v * v);
      }
    };
    f.consegna = [this](Lotto& l) {
      consegnati.insert(consegnati.end(), l.quadrati.begin(), l.quadrati.end());
    };
    return f;
  }
};

std::vector<int> quadrati(int quanti) {
  std::vector<int> q;
  for (int i = 0; i < quanti; ++i) q.push_back(i * i);
  return q;
}

TEST(LavoraLotti, BatchesAreHandedOnInOrderOnOneThreadOrMany) {
  for (std::size_t fili : {1, 2, 4}) {
    Prova p;
    FasiLotti<Lotto> f = p.fasi();
    lavoraLotti(f, fili);
    EXPECT_EQ(p.consegnati, quadrati(p.quante)) << fili;
  }
  Prova vuota;
  vuota.quante = 0;
  FasiLotti<Lotto> f = vuota.fasi();
  lavoraLotti(f, 2);
  EXPECT_TRUE(vuota.consegnati.empty());
}

// Whatever fails, everything before it reaches the caller in order and nothing after it does,
// then the exception comes back.
TEST(LavoraLotti, AFailureHandsOnWhatCameBeforeItThenThrows) {
  for (std::size_t fili : {1, 2, 4}) {
    for (bool inLettura : {false, true}) {
      for (int guasto : {0, 6, 7, 500, 999}) {
        SCOPED_TRACE(std::to_string(fili) + (inLettura ? " lettura " : " lavoro ") +
                     std::to_string(guasto));
        Prova p;
        (inLettura ? p.guastoLettura : p.guastoLavoro) = guasto;
        FasiLotti<Lotto> f = p.fasi();
        EXPECT_THROW(lavoraLotti(f, fili), std::runtime_error);
        EXPECT_EQ(p.consegnati, quadrati(guasto));
      }
    }
  }
}

TEST(TestoInOrdine, ItemsReachTheTextInOrder) {
  for (std::size_t quante : {0, 1, 9, 1000}) {
    ScrittoreTesto testo;
    testoInOrdine(testo, quante, 7, [](ScrittoreTesto& righe, std::size_t da, std::size_t a) {
      for (std::size_t i = da; i < a; ++i) righe.riga(std::to_string(i));
    });
    std::string atteso;
    for (std::size_t i = 0; i < quante; ++i) atteso += std::to_string(i) + "\r\n";
    EXPECT_EQ(testo.testo(), atteso);
  }
}

}  // namespace
}  // namespace vorlane
