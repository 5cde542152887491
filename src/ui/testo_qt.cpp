#include "testo_qt.h"

#include <QFile>

#include "text/testo.h"

namespace vorlane::ui {

QString versoQt(std::string_view cp1252) {
  QString testo = QString::fromStdString(versoUtf8(cp1252));
  testo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return testo;
}

std::string daQt(const QString& testo) {
  QString righe = testo;
  righe.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return daUtf8(righe.toStdString());
}

QString percorsoQt(const std::filesystem::path& percorso) {
  return QFile::decodeName(QByteArray::fromStdString(percorso.native()));
}

}  // namespace vorlane::ui
