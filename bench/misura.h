#pragma once
// Wall-clock timing and the reference cost of plainly copying bytes, for benchmark reports.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace vorlane::bench {

double secondi(const std::function<void()>& lavoro);
// Time to read `ingresso` whole and write `byteUscita` bytes to a file in `cartella`.
double tempoCopia(const std::filesystem::path& ingresso, std::uintmax_t byteUscita,
                  const std::filesystem::path& cartella);

}  // namespace vorlane::bench
