#include "base/orologio.h"

namespace vorlane {

std::tm OraLocale::operator()() {
  std::time_t adesso = std::time(nullptr);
  if (adesso != ultimo_) {
    localtime_r(&adesso, &ora_);
    ultimo_ = adesso;
  }
  return ora_;
}

}  // namespace vorlane
