#pragma once
// Work cut into numbered pieces and done on two processors: each thread takes the next piece
// not taken yet and makes what it yields in memory, and the pieces are handed on in order as
// soon as those before them have been. A thread slowed down by the machine only takes fewer
// pieces.

#include <algorithm>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>

#include "io/scrittura.h"

namespace vorlane {

class LavoroInOrdine {
 public:
  // What a piece yields, kept from when it is made until it is handed on, then reused.
  struct Uscita {
    virtual ~Uscita() = default;
  };

  virtual ~LavoroInOrdine() = default;
  virtual std::unique_ptr<Uscita> nuova() = 0;
  // Readies `uscita` for the next piece: called when a piece is taken, with the pieces taken one
  // after the other in order (a reading of the clock made here follows the pieces).
  virtual void presa(Uscita& uscita) = 0;
  // Makes piece `pezzo` into `uscita`; false, or an exception, when it did not end well. Called
  // on both threads at once, `filo` 0 on the calling thread and 1 on the other: it may change
  // only what belongs to its thread.
  virtual bool faiPezzo(int filo, std::size_t pezzo, Uscita& uscita) = 0;
  // Hands a piece on: one at a time, in order. An exception stops the work and comes back from
  // lavoraInOrdine once both threads have stopped.
  virtual void consegna(Uscita& uscita) = 0;
};

// `quante` items cut into pieces of `perPezzo`: how many pieces, and the items [inizio, fine) of
// piece k.
struct VociAPezzi {
  std::size_t quante, perPezzo;
  std::size_t pezzi() const { return (quante + perPezzo - 1) / perPezzo; }
  std::size_t inizio(std::size_t pezzo) const { return pezzo * perPezzo; }
  std::size_t fine(std::size_t pezzo) const { return std::min(quante, (pezzo + 1) * perPezzo); }
};

// How the work ended.
struct EsitoInOrdine {
  bool completo = false;  // every piece handed on
  // Otherwise: the first piece not handed on, and what it yielded when it is the one that did
  // not end well (empty when work stopped before it was made).
  std::size_t primo = 0;
  std::unique_ptr<LavoroInOrdine::Uscita> incompleta;
};

// Works on pieces 0..quanti-1. Every piece before the first one that did not end well is handed
// on. A single piece is made on this thread.
EsitoInOrdine lavoraInOrdine(std::size_t quanti, LavoroInOrdine& lavoro);

// What a piece of text yields: its lines in a writer kept in memory, and the error that ended
// it.
struct TestoPezzo : LavoroInOrdine::Uscita {
  ScrittoreTesto righe;
  std::exception_ptr errore;
};

// Work whose pieces are text added to `destinazione` in order; `Base` is LavoroInOrdine or work
// built on it, and the class built on this one makes each piece's lines in testo(uscita).righe.
template <class Base>
class TestoAPezzi : public Base {
 public:
  explicit TestoAPezzi(ScrittoreTesto& destinazione) : destinazione_(destinazione) {}
  std::unique_ptr<LavoroInOrdine::Uscita> nuova() override {
    return std::make_unique<TestoPezzo>();
  }
  void presa(LavoroInOrdine::Uscita& uscita) override {
    testo(uscita).righe.riportaA(0);
    testo(uscita).errore = nullptr;
  }
  void consegna(LavoroInOrdine::Uscita& uscita) override {
    destinazione_.accoda(testo(uscita).righe.testo());
  }

 protected:
  static TestoPezzo& testo(LavoroInOrdine::Uscita& uscita) {
    return static_cast<TestoPezzo&>(uscita);
  }

 private:
  ScrittoreTesto& destinazione_;
};

// Text made in pieces on two processors and added to `destinazione` in order: `fai(uscita, k)`
// writes the lines of piece k into `uscita`, a writer kept in memory. With fewer than two pieces
// they are written straight into `destinazione` on this thread. An exception from `fai` comes
// back from here once both threads have stopped, the pieces before it added.
using FunzioneTesto = std::function<void(ScrittoreTesto& uscita, std::size_t pezzo)>;
void testoInOrdine(ScrittoreTesto& destinazione, std::size_t pezzi, const FunzioneTesto& fai);

}  // namespace vorlane
