#pragma once
// A large sample file's rows made on the engine's threads (see sequence/pezzi.h): each piece's rows
// are made in memory and reach the table in file order.

#include <cstdint>
#include <filesystem>
#include <functional>

#include "io/scrittura.h"
#include "sequence/campioni.h"
#include "sequence/pezzi.h"

namespace vorlane {

// Makes the rows of what `file` reads into `righe`; false when a stop in the file ended them.
// Called on several threads at once: it must not change shared state.
using FunzioneRighe = std::function<bool(LettoreCampioni& file, ScrittoreTesto& righe)>;

// Writes into `tabella` the rows of the whole of `campioni`; false when a stop ended them. The
// rows, the stop and the errors are those of one reading from start to end: when a piece stops
// or fails, the rows of the pieces are taken back and the file is read that way.
// `pezzo` is the bytes of file per piece (see sequence/pezzi.h).
bool righeAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                 ScrittoreTesto& tabella, const FunzioneRighe& righe,
                 std::uintmax_t pezzo = dimensionePezzo());

}  // namespace vorlane
