#pragma once
// The one exception type of the program. It carries the label of the procedure that failed;
// the label is filled in by the innermost labelled procedure the error passes through, so a
// low-level helper (a file reader, a parser) can throw without knowing who called it.

#include <stdexcept>
#include <string>
#include <utility>

namespace vorlane {

class ErroreVorlane : public std::runtime_error {
 public:
  explicit ErroreVorlane(const std::string& descrizione) : std::runtime_error(descrizione) {}
  ErroreVorlane(std::string etichetta, const std::string& descrizione)
      : std::runtime_error(descrizione), etichetta_(std::move(etichetta)) {}

  const std::string& etichetta() const { return etichetta_; }
  void impostaEtichettaSeVuota(const std::string& etichetta) {
    if (etichetta_.empty()) etichetta_ = etichetta;
  }

 private:
  std::string etichetta_;
};

// What a failure of a library tells, in the report's words: oneTBB's English report of a
// worker thread it could not start is the memory the system refused it.
std::string descrizioneEccezione(const std::exception& e);

// Runs f as the procedure `etichetta`: any failure inside it leaves with that label unless an
// inner procedure has already named itself.
template <class F>
decltype(auto) procedura(const char* etichetta, F&& f) {
  try {
    return std::forward<F>(f)();
  } catch (ErroreVorlane& e) {
    e.impostaEtichettaSeVuota(etichetta);
    throw;
  } catch (const std::bad_alloc&) {
    throw ErroreVorlane(etichetta, "memoria insufficiente");
  } catch (const std::exception& e) {
    throw ErroreVorlane(etichetta, descrizioneEccezione(e));
  }
}

// The system's description of an error number (errno), in Italian like every other text the
// reports show; a number without an Italian text keeps the system's own words.
std::string descrizioneSistema(int codice);

}  // namespace vorlane
