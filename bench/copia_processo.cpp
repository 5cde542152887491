// The plain copy as a program of its own, started the way the benchmark starts vorlane-batch, so
// that it pays the same process start-up:
//   copia_processo INGRESSO BYTE_USCITA USCITA

#include <cstdlib>

#include "misura.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  vorlane::bench::copia(argv[1], std::strtoull(argv[2], nullptr, 10), argv[3]);
  return 0;
}
