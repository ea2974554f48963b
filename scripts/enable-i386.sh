#!/usr/bin/env bash
# 32-bit Wine needs the kernel to run i386 Linux programs. Some virtual machines refuse them
# (exec format error) although the kernel has the compat layer; there we hand i386 programs to
# qemu's user-mode emulator through binfmt_misc. Nothing happens where they already run.
set -euo pipefail

runs_i386() { /lib/ld-linux.so.2 --help >/dev/null 2>&1; }

runs_i386 && exit 0
[ -x /usr/bin/qemu-i386-static ] || { echo "i386 programs cannot run and qemu-i386-static is missing" >&2; exit 1; }
if [ "$(id -u)" -ne 0 ]; then
  echo "i386 programs cannot run here; run as root once to register qemu-i386 with binfmt_misc" >&2
  exit 1
fi
binfmt=/proc/sys/fs/binfmt_misc
[ -e $binfmt/register ] || mount -t binfmt_misc binfmt_misc $binfmt
if [ ! -e $binfmt/qemu-i386 ]; then
  # ELF32, little endian, executable or shared object, machine 3 (i386); F keeps the
  # interpreter open so it works inside other mount namespaces too.
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    > $binfmt/register
fi
runs_i386 || { echo "i386 programs still cannot run" >&2; exit 1; }
echo "i386 programs run through qemu-i386 (binfmt_misc)"
