#!/usr/bin/env bash
# Builds and runs every test, first in the normal configuration, then with the sanitizers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
jobs="$(nproc)"
werror=OFF
[ -n "${CI:-}" ] && werror=ON

echo "== normal build"
bash "$root/scripts/build.sh" build -DQV_WERROR=$werror
(cd "$root/build" && ctest --output-on-failure -j "$jobs")

echo "== sanitizer build"
bash "$root/scripts/build.sh" build-asan -DQV_SANITIZE=ON -DQV_WERROR=$werror
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$jobs")
