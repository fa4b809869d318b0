#!/usr/bin/env bash
# Installs what is missing, builds Marlowen and makes build/marlowen_<version>_<arch>.deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_INSTALL_PREFIX=/usr
(cd "$root/build" && cpack -G DEB >/dev/null && ls -1 "$root"/build/marlowen_*.deb)
