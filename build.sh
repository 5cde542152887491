#!/usr/bin/env bash
# ./build.sh run   - builds and starts Vorlane on the ready working folder lavoro/
# ./build.sh test  - builds and runs every test
# ./build.sh asan  - builds and runs every test under AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")"
tools/installa-dipendenze.sh

compila() {  # build-folder, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}

# The working folder: messages, tables, manual and example samples in place. Shipped files are
# refreshed when the repository has a newer copy; the user's settings and results stay.
prepara_lavoro() {
  mkdir -p lavoro/esporta
  cp -u data/messaggi.txt data/tabella_mutazioni_OLD.csv data/tabella_mutazioni_Motifs.csv \
        data/manuale_Vorlane.htm lavoro/ 2>/dev/null || true
  cp -u data/esporta/* lavoro/esporta/ 2>/dev/null || true
}

case "${1:-}" in
  run)
    compila build
    prepara_lavoro
    cd lavoro
    if [ -x ../build/src/ui/vorlane ]; then exec ../build/src/ui/vorlane; fi
    exec ../build/src/cli/vorlane-batch
    ;;
  test)
    compila build
    ctest --test-dir build --output-on-failure -j"$(nproc)"
    ;;
  asan)
    compila build-asan -DVORLANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DVORLANE_WINDOW=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
    ;;
  *)
    echo "uso: ./build.sh run|test|asan" >&2
    exit 64
    ;;
esac
