#include "app/stato.h"

namespace vorlane {

std::tm oraLocale() {
  std::time_t adesso = std::time(nullptr);
  std::tm t{};
  localtime_r(&adesso, &t);
  return t;
}

}  // namespace vorlane
