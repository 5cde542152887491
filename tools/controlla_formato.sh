#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format makes of it, naming
# the file. Exits 77 (a skipped test) outside a git checkout or without clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format non trovato" >&2; exit 77; }
git rev-parse --git-dir >/dev/null 2>&1 || { echo "non è un checkout git" >&2; exit 77; }
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run --Werror
