#!/usr/bin/env bash
# Installs what is missing, builds Marlowen twice (normal, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test in both builds. Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

echo "== format"
git -C "$root" ls-files '*.cpp' '*.h' | (cd "$root" && xargs clang-format --dry-run --Werror)

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"

echo "== normal build"
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j2

echo "== sanitizer build"
"$root/scripts/build.sh" "$root/build-asan" -DMARLOWEN_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j2 -LE e2e

echo "== fuzzing (60 s per target)"
"$root/scripts/fuzz.sh" 60
