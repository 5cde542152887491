#include "sequence/differenze.h"

#include <algorithm>

#include "stato/stato.h"

namespace vorlane {

std::string piegaDi(std::string_view minuscolo) {
  std::string piega(minuscolo);
  for (char& c : piega) c = c >= 'a' && c <= 'z' ? 0x20 : 0;
  return piega;
}

const char* piegaLettere(std::size_t n) {
  thread_local std::string piega;
  if (piega.size() < n) piega.assign(std::max<std::size_t>(n, kUltimaPosizione + 1), '\x20');
  return piega.data();
}

}  // namespace vorlane
