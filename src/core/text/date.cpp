#include "text/date.h"

#include <cstdio>

namespace vorlane {
namespace {
std::string formatta(const char* formato, const std::tm& t) {
  char buf[64];
  std::size_t n = std::strftime(buf, sizeof buf, formato, &t);
  return std::string(buf, n);
}
}  // namespace

std::string dataPerNomeFile(const std::tm& t) {
  return formatta("%Y%m%d", t);
}
std::string dataBreve(const std::tm& t) {
  return formatta("%d/%m/%Y", t);
}
std::string dataOraGenerale(const std::tm& t) {
  return formatta("%d/%m/%Y %H:%M:%S", t);
}
}  // namespace vorlane
