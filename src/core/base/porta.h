#pragma once
// What an operation may ask of the window. The Qt window, vorlane-batch and the tests each
// implement it; nothing in the core talks to the user any other way.

#include <string>

namespace vorlane {

// A box without an icon is the log block: the window shows it in a fixed pitch.
enum class Icona { nessuna, informazione, esclamazione, critica };

// The controls whose text the core reads or sets.
enum class Controllo {
  Lbl_Titolo,
  Text_PosizioneMutazioneDa,
  Text_PosizioneMutazioneA,
  Text_posMutazione,
  Label_FileSequenzaCampione,
  Label_FileSequenzaRiferimento,
};

// Title of a box that names none: the application's own.
inline constexpr const char* kTitoloApplicazione = "Vorlane";

class Porta {
 public:
  virtual ~Porta() = default;
  // Texts are Windows-1252, lines separated by CR LF.
  virtual void messaggio(std::string_view testo, const std::string& titolo, Icona icona) = 0;
  virtual bool domandaSiNo(const std::string& testo, const std::string& titolo) = 0;
  virtual void puntatoreOccupato(bool occupato) = 0;
  virtual std::string testo(Controllo controllo) const = 0;
  virtual void impostaTesto(Controllo controllo, const std::string& testo) = 0;
};

}  // namespace vorlane
