#include "convert/a_pezzi.h"

#include <memory>
#include <system_error>

namespace vorlane {
namespace {

class RigheAPezzi : public TestoAPezzi<LavoroPezzi> {
 public:
  RigheAPezzi(ScrittoreTesto& tabella, const FunzioneRighe& righe)
      : TestoAPezzi(tabella), righe_(righe) {}
  void prepara(Uscita& uscita) override { svuota(uscita); }
  bool fai(LettoreCampioni& file, Uscita& uscita) override {
    return righe_(file, testo(uscita).righe);
  }

 private:
  const FunzioneRighe& righe_;
};

}  // namespace

bool righeAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                 ScrittoreTesto& tabella, const FunzioneRighe& righe, std::uintmax_t pezzo) {
  std::error_code ec;
  std::uintmax_t dimensione = std::filesystem::file_size(campioni, ec);
  if (!ec && daTagliare(dimensione, pezzo)) {
    std::uintmax_t intestazione = tabella.posizione();
    RigheAPezzi lavoro(tabella, righe);
    char iniziale = opzioni.formato == FormatoCampioni::fasta ? '>' : 0;
    if (lavoraAPezzi(campioni, opzioni, iniziale, lavoro, pezzo).completo) return true;
    tabella.riportaA(intestazione);
  }
  LettoreCampioni file(campioni, opzioni);
  return righe(file, tabella);
}

}  // namespace vorlane
