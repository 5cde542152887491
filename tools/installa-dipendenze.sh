#!/usr/bin/env bash
# Installs the Debian packages the build, the window and the tests need; packages already
# present are left alone, so it is safe to run again.
set -euo pipefail
# qt6-translations-l10n: Qt's own texts in Italian; fonts-dejavu-core: the fixed-pitch font of
# the log blocks; dpkg-dev: the package's dependencies (dpkg-shlibdeps) and build flags;
# libwfa2-dev: the aligner that places each sample on the reference; help2man: the manual pages; appstream and lintian: the checks of the AppStream component
# and of the package.
pacchetti=(cmake ninja-build g++ clang clang-format libgtest-dev libgmock-dev qt6-base-dev
           libtbb-dev libwfa2-dev python3 qt6-translations-l10n fonts-dejavu-core dpkg-dev help2man
           appstream lintian)
mancanti=()
for p in "${pacchetti[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || mancanti+=("$p")
done
[ ${#mancanti[@]} -eq 0 ] && exit 0
echo "Installo: ${mancanti[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${mancanti[@]}"
