#pragma once
// A port that keeps the control texts in memory; vorlane-batch and the tests build on it and
// decide what to do with the boxes.

#include <map>

#include "base/porta.h"

namespace vorlane {

class PortaMemoria : public Porta {
 public:
  void puntatoreOccupato(bool occupato) override { occupato_ = occupato; }
  std::string testo(Controllo controllo) const override {
    auto it = testi_.find(controllo);
    return it == testi_.end() ? std::string() : it->second;
  }
  void impostaTesto(Controllo controllo, const std::string& testo) override {
    testi_[controllo] = testo;
  }
  bool occupato() const { return occupato_; }

 private:
  std::map<Controllo, std::string> testi_;
  bool occupato_ = false;
};

}  // namespace vorlane
