#!/usr/bin/env bash
# Runs lintian on the Debian package (the one named, otherwise the vorlane_*.deb that
# ./build.sh pacchetto left in the source folder) and fails on any error or warning.
# Exits 77 (a skipped test) without lintian or without a package.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v lintian >/dev/null || { echo "lintian non trovato" >&2; exit 77; }
pacchetto=${1:-$(ls -t vorlane_*.deb 2>/dev/null | head -n 1 || true)}
[ -n "$pacchetto" ] && [ -f "$pacchetto" ] ||
  { echo "nessun pacchetto: ./build.sh pacchetto lo prepara" >&2; exit 77; }
lintian --fail-on error,warning "$pacchetto"
echo "lintian: $pacchetto senza errori né avvertimenti"
