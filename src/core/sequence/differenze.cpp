#include "sequence/differenze.h"

namespace vorlane {

std::string piegaDi(std::string_view minuscolo) {
  std::string piega(minuscolo);
  for (char& c : piega) c = c >= 'a' && c <= 'z' ? 0x20 : 0;
  return piega;
}

}  // namespace vorlane
