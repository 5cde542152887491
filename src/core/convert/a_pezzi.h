#pragma once
// A large sample file's rows made on two processors: the file is cut into pieces at sample
// starts, each thread takes the next piece not taken yet and makes its rows in memory, and the
// pieces reach the table in file order as soon as those before them have. A thread slowed down
// by the machine only takes fewer pieces.

#include <filesystem>
#include <functional>

#include "sequence/campioni.h"
#include "text/scrittura.h"

namespace vorlane {

// Makes the rows of what `file` reads into `righe`; false when a stop in the file ended them.
// Called on both threads at once: it must not change shared state.
using FunzioneRighe = std::function<bool(LettoreCampioni& file, ScrittoreTesto& righe)>;

// Writes into `tabella` the rows of the whole of `campioni`; false when a stop ended them. The
// rows, the stop and the errors are those of one reading from start to end: when a piece stops
// or fails, the rows of the pieces are taken back and the file is read that way.
bool righeAPezzi(const std::filesystem::path& campioni, OpzioniCampioni opzioni,
                 ScrittoreTesto& tabella, const FunzioneRighe& righe);

}  // namespace vorlane
