#include "misura.h"

#include <cstdio>
#include <vector>

namespace vorlane::bench {

double secondi(const std::function<void()>& lavoro) {
  auto t0 = std::chrono::steady_clock::now();
  lavoro();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void copia(const std::filesystem::path& ingresso, std::uintmax_t byteUscita,
           const std::filesystem::path& uscita) {
  std::vector<char> buf(1 << 18);
  std::FILE* in = std::fopen(ingresso.c_str(), "rb");
  std::FILE* out = std::fopen(uscita.c_str(), "wb");
  if (in && out) {
    while (std::fread(buf.data(), 1, buf.size(), in) > 0) {
    }
    for (std::uintmax_t scritti = 0; scritti < byteUscita; scritti += buf.size())
      std::fwrite(buf.data(), 1, std::min<std::uintmax_t>(buf.size(), byteUscita - scritti), out);
  }
  if (in) std::fclose(in);
  if (out) std::fclose(out);
}

double tempoCopia(const std::filesystem::path& ingresso, std::uintmax_t byteUscita,
                  const std::filesystem::path& cartella) {
  std::filesystem::path uscita = cartella / "copia.tmp";
  double t = secondi([&] { copia(ingresso, byteUscita, uscita); });
  std::filesystem::remove(uscita);
  return t;
}

}  // namespace vorlane::bench
