#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while (default 60 s), seeded with
# the shipped files. A crashing input is left in fuzz/trovati/<target>/; keep it as a regression
# case under tests/data/fuzz/<target>/ once fixed.
#   tools/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
secondi=${1:-60}; shift || true
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORLANE_FUZZ=ON -DVORLANE_WINDOW=OFF \
  -DVORLANE_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if ! uscita=$(cmake --build build-fuzz -j"$(nproc)" 2>&1); then
  echo "$uscita" >&2
  exit 1
fi
# Undefined behaviour is a finding like a crash, not a line of output to overlook.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
bersagli=("$@")
[ ${#bersagli[@]} -eq 0 ] && bersagli=($(cd build-fuzz/fuzz && ls fuzz_* | grep -v '\.' ))
for b in "${bersagli[@]}"; do
  nome=${b#fuzz_}
  corpus=build-fuzz/corpus/$nome
  mkdir -p "$corpus" "fuzz/trovati/$nome"
  for semi in data/*.txt data/*.csv data/esporta/* tests/data/fuzz/"$nome"/*; do
    [ -f "$semi" ] && head -c 8192 "$semi" > "$corpus/seme_$(basename "$semi")"
  done
  # An input of fuzz_lotti is worked in a dozen or more pieces by every operation, on the
  # engine's threads: more than a plain run, under the sanitizers.
  limite=10
  [ "$b" = fuzz_lotti ] && limite=30
  echo "== $b ($secondi s)"
  ./build-fuzz/fuzz/"$b" -max_total_time="$secondi" -max_len=8192 -timeout="$limite" \
    -artifact_prefix="fuzz/trovati/$nome/" "$corpus" 2>&1 | grep -E '^#[0-9]+[[:space:]]+DONE|ERROR|SUMMARY' || true
done
