#pragma once
// Work cut into numbered pieces, made on the engine's threads (io/fili.h) and handed on in
// order: oneTBB's parallel_pipeline, with the pieces taken in order, made on any thread, and
// handed on in order as soon as those before them have been. A bounded number of pieces is in
// flight, so what waits in memory stays a few pieces' worth whatever the size of the work.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

#include "io/scrittura.h"

namespace vorlane {

class LavoroInOrdine {
 public:
  // What a piece yields, kept from when it is taken until it is handed on, then reused for a
  // later piece: scratch a piece needs (a reader, a sample) belongs here, not to a thread.
  struct Uscita {
    virtual ~Uscita() = default;

   private:
    friend class Condotta;
    std::size_t pezzo_ = 0;
    bool completo_ = false;
  };

  virtual ~LavoroInOrdine() = default;
  // Called for one piece after the other, like presa, when no earlier piece's is free.
  virtual std::unique_ptr<Uscita> nuova() = 0;
  // Readies `uscita` for piece `pezzo`, or returns false when there is no such piece and the
  // work ends. Called for one piece after the other, in order (a reading of the clock made here
  // follows the pieces); an exception stops the work before this piece.
  virtual bool presa(std::size_t pezzo, Uscita& uscita) = 0;
  // Makes piece `pezzo` into `uscita`; false, or an exception, when it did not end well. Called
  // on several threads at once: it may change only `uscita`.
  virtual bool faiPezzo(std::size_t pezzo, Uscita& uscita) = 0;
  // Hands a piece on: one at a time, in order. An exception stops the work and comes back from
  // lavoraInOrdine once every thread has stopped.
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

// Works on pieces 0..quanti-1, or until presa finds no more. Every piece before the first one
// that did not end well is handed on. With a single piece or a single thread, everything is done
// on this thread.
EsitoInOrdine lavoraInOrdine(LavoroInOrdine& lavoro, std::size_t quanti = SIZE_MAX);

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
  void consegna(LavoroInOrdine::Uscita& uscita) override {
    destinazione_.accoda(testo(uscita).righe.testo());
  }

 protected:
  // Clears what the piece before left in `uscita`.
  static void svuota(LavoroInOrdine::Uscita& uscita) {
    testo(uscita).righe.riportaA(0);
    testo(uscita).errore = nullptr;
  }
  static TestoPezzo& testo(LavoroInOrdine::Uscita& uscita) {
    return static_cast<TestoPezzo&>(uscita);
  }

 private:
  ScrittoreTesto& destinazione_;
};

// Text made in pieces on the engine's threads and added to `destinazione` in order: `fai(uscita,
// k)` writes the lines of piece k into `uscita`, a writer kept in memory. With fewer than two
// pieces they are written straight into `destinazione` on this thread. An exception from `fai`
// comes back from here once every thread has stopped, the pieces before it added.
using FunzioneTesto = std::function<void(ScrittoreTesto& uscita, std::size_t pezzo)>;
void testoInOrdine(ScrittoreTesto& destinazione, std::size_t pezzi, const FunzioneTesto& fai);

}  // namespace vorlane
