#!/usr/bin/env bash
# Installs the Debian packages the build needs and makes sure this machine starts i386 programs;
# does nothing when all of it is already in place. QV_EMULATE_I386=1 takes the emulated path
# even where the kernel runs i386 programs itself, so that path can be tried anywhere.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/i386.sh"

fail() {
  echo "setup: $*" >&2
  exit 1
}

# Runs a command as root: directly when we are root, through sudo otherwise.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    return 127
  fi
}

install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "setup: installing ${missing[*]}"
  as_root true || fail "installing ${missing[*]} needs root or sudo"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# The tests remain runnable through the emulator without binfmt_misc, but child processes that
# they start would not be: say what is missing and what is left.
cannot_emulate() {
  fail "this machine does not start i386 programs and $1, so qemu-i386 cannot be registered for" \
    "them in binfmt_misc. The tests alone can still run through the emulator: configure the build" \
    "with -DCMAKE_CROSSCOMPILING_EMULATOR=qemu-i386."
}

register_emulator() {
  install_packages qemu-user
  grep -qw binfmt_misc /proc/filesystems || cannot_emulate "its kernel has no binfmt_misc"
  as_root true || cannot_emulate "registering needs root or sudo"
  if ! mountpoint -q "$QV_BINFMT"; then
    as_root mount -t binfmt_misc binfmt_misc "$QV_BINFMT" || cannot_emulate "binfmt_misc cannot be mounted"
  fi
  # A switched-off binfmt_misc or an entry registered earlier and disabled is switched on again.
  echo 1 | as_root tee "$QV_BINFMT/status" >/dev/null || cannot_emulate "binfmt_misc cannot be enabled"
  if [ -e "$QV_BINFMT/qemu-i386" ]; then
    echo 1 | as_root tee "$QV_BINFMT/qemu-i386" >/dev/null || cannot_emulate "its qemu-i386 entry cannot be enabled"
  else
    printf '%s' "$QV_BINFMT_RULE" | as_root tee "$QV_BINFMT/register" >/dev/null ||
      cannot_emulate "binfmt_misc refused the registration"
  fi
  echo "setup: i386 programs run through /usr/bin/qemu-i386 (registered in binfmt_misc)"
}

install_packages g++ g++-multilib cmake googletest make
if ! qv_i386_emulated && { [ -n "${QV_EMULATE_I386:-}" ] || ! qv_i386_runs; }; then
  register_emulator
  qv_i386_runs || fail "i386 programs still do not start after registering qemu-i386"
fi
