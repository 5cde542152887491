#!/usr/bin/env bash
# ./build.sh run   - builds and starts Vorlane on the ready working folder lavoro/
# ./build.sh test  - builds and runs every test
# ./build.sh asan  - builds and runs every test under AddressSanitizer and UBSan
# ./build.sh release   - builds the Release configuration and runs every test on it
# ./build.sh pacchetto - builds the Debian package vorlane_VERSION_ARCH.deb in this folder
# Warnings are errors when VORLANE_WERROR=ON is in the environment (the CI build sets it).
set -euo pipefail
cd "$(dirname "$0")"
tools/installa-dipendenze.sh

compila() {  # build-folder, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DVORLANE_WERROR="${VORLANE_WERROR:-OFF}" "$@" >/dev/null
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
  release)
    compila build-release -DCMAKE_BUILD_TYPE=Release
    ctest --test-dir build-release --output-on-failure -j"$(nproc)"
    ;;
  pacchetto)
    # Debian's own build flags with all its hardening (fortified functions, stack protector,
    # relocations read-only and bound at start) under the Release configuration's optimisation.
    # The package's dependencies are the libraries the programs link (dpkg-shlibdeps) and the
    # few the CMake rules name.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    compila build-pacchetto -DCMAKE_BUILD_TYPE=Release -DVORLANE_TESTS=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr \
      -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
      -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
    rm -f build-pacchetto/vorlane_*.deb vorlane_*.deb
    (cd build-pacchetto && cpack -G DEB >/dev/null)
    cp build-pacchetto/vorlane_*.deb .
    ls vorlane_*.deb
    tools/controlla_pacchetto.sh vorlane_*.deb
    ;;
  *)
    echo "uso: ./build.sh run|test|asan|release|pacchetto" >&2
    exit 64
    ;;
esac
