#pragma once
// The program's clock: what dates the log's blocks. A test puts a clock of its own in its place.

#include <ctime>
#include <functional>

namespace vorlane {

using Orologio = std::function<std::tm()>;
// The local time. A run over many samples reads the clock once per sample: the broken-down time
// is worked out again only when the second changes.
class OraLocale {
 public:
  std::tm operator()();

 private:
  std::time_t ultimo_ = -1;
  std::tm ora_{};
};

}  // namespace vorlane
