#pragma once
// Wall-clock timing and the reference cost of plainly copying bytes, for benchmark reports.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace vorlane::bench {

double secondi(const std::function<void()>& lavoro);
// The plain copy: reads `ingresso` whole and writes `byteUscita` bytes to `uscita`.
void copia(const std::filesystem::path& ingresso, std::uintmax_t byteUscita,
           const std::filesystem::path& uscita);
// Its time in this process, writing to a file in `cartella` removed afterwards.
double tempoCopia(const std::filesystem::path& ingresso, std::uintmax_t byteUscita,
                  const std::filesystem::path& cartella);

}  // namespace vorlane::bench
