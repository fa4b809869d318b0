#!/usr/bin/env bash
# Installs what is missing, builds Marlowen and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open the window on: run it under Xvfb with: xvfb-run -a $root/build/app/marlowen" >&2
  exit 1
fi
exec "$root/build/app/marlowen"
