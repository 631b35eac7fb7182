#!/usr/bin/env bash
# Builds and runs every test, first in the normal configuration, then with the sanitizers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
source "$root/scripts/i386.sh"
jobs="$(nproc)"
werror=OFF
[ -n "${CI:-}" ] && werror=ON

sanitizer_env=(ASAN_OPTIONS=detect_leaks=1)
if qv_i386_emulated; then
  echo "tests: i386 programs run through the qemu-i386 emulator (binfmt_misc)"
  # LeakSanitizer cannot stop the world under the emulator. And the address sanitizer takes the
  # top gigabyte for the kernel's, as on a 32-bit kernel, while the emulator would place large
  # mappings there once the space below is taken: give the programs a 32-bit kernel's 3 GB.
  sanitizer_env=(ASAN_OPTIONS=detect_leaks=0 QEMU_RESERVED_VA=0xbffff000)
else
  echo "tests: i386 programs run natively"
fi

bash "$root/scripts/check_layers.sh"
echo "== normal build"
bash "$root/scripts/build.sh" build -DQV_WERROR=$werror
(cd "$root/build" && ctest --output-on-failure -j "$jobs")

echo "== sanitizer build"
# The build lists each executable's tests by running it, so it needs the same environment.
env "${sanitizer_env[@]}" bash "$root/scripts/build.sh" build-asan -DQV_SANITIZE=ON -DQV_WERROR=$werror
(cd "$root/build-asan" && env "${sanitizer_env[@]}" ctest --output-on-failure -j "$jobs")
