#pragma once
#include <ctime>
#include <string>

namespace vorlane {
std::string dataPerNomeFile(const std::tm& t);  // yyyymmdd
std::string dataBreve(const std::tm& t);        // dd/mm/yyyy
std::string dataOraGenerale(const std::tm& t);  // dd/mm/yyyy HH:MM:SS
}  // namespace vorlane
