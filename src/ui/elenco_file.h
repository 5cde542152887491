#pragma once
// What the file list shows: the files of one folder whose names match the prepared pattern.

#include <filesystem>
#include <string>
#include <vector>

namespace vorlane::ui {

// Names of the regular files of `cartella` matching `filtro` (e.g. "*.FASTA") without regard to
// case, hidden files left out, sorted without regard to case. A folder that cannot be read gives
// no names.
std::vector<std::filesystem::path> fileCorrispondenti(const std::filesystem::path& cartella,
                                                      const std::string& filtro);

}  // namespace vorlane::ui
