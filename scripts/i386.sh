# Sourced by the scripts: how this machine runs i386 programs. Some 64-bit kernels refuse them
# (exec gives ENOEXEC); there Debian's qemu-user runs them, registered for i386 ELF executables in
# binfmt_misc so that every program, test and child process starts as usual.

QV_BINFMT=/proc/sys/fs/binfmt_misc
# The i386 ELF header that binfmt_misc matches (executables and position-independent ones alike);
# "F" opens the emulator once at registration, so it works in every mount namespace after.
QV_BINFMT_RULE=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F'

# True when an enabled binfmt_misc entry sends i386 executables to an emulator. Such an entry
# takes precedence over the kernel's own loader, so the programs then run emulated even where
# the kernel could run them.
qv_i386_emulated() {
  grep -qsx enabled "$QV_BINFMT/status" || return 1
  local entry
  for entry in "$QV_BINFMT"/*; do
    case "${entry##*/}" in register | status) continue ;; esac
    grep -qsx enabled "$entry" && grep -qs '^magic 7f454c46010101.*0300$' "$entry" && return 0
  done
  return 1
}

# True when a freshly built i386 program starts (natively or through a registered emulator).
qv_i386_runs() {
  local dir
  dir="$(mktemp -d)"
  printf 'int main() { return 0; }\n' >"$dir/probe.cpp"
  local status=1
  g++ -m32 "$dir/probe.cpp" -o "$dir/probe" && "$dir/probe" 2>/dev/null && status=0
  rm -rf "$dir"
  return $status
}
