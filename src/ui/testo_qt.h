#pragma once
// Where the core's single-byte texts meet Qt's Unicode strings.

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace vorlane::ui {

// A Windows-1252 text for display; CR LF line ends become the "\n" Qt shows as a new line.
QString versoQt(std::string_view cp1252);
// Typed or displayed text back to Windows-1252, with CR LF line ends.
std::string daQt(const QString& testo);

// A native path for Qt and back, byte for byte (file names need not be valid UTF-8).
QString percorsoQt(const std::filesystem::path& percorso);

}  // namespace vorlane::ui
