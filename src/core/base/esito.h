#pragma once
// How an operation ended when it did not end in the error report.

namespace vorlane {

enum class Esito { completata, interrotta };

}  // namespace vorlane
