#!/usr/bin/env bash
# Installs what the build and the tests need, and only what is missing, so a second run is quiet.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# mingw-w64 for i686 (the shipped DLL) and x86_64 (the tree whose tests run under 64-bit Wine
# on machines that refuse i386 programs); 32-bit and 64-bit Wine; a private X server; fonts
# for Wine and for Japanese text; GoogleTest sources to cross-build; clang for the fuzzers;
# chmcmd (fp-utils) to compile the help file; extract_chmLib (libchm-bin) and python3 to test
# it; python3 also packs the release archive; python3-mutagen writes the tagged test songs
# (tests/data/make_tagged_songs.sh).
for p in cmake ninja-build make g++ clang googletest libgtest-dev libgmock-dev \
         g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 \
         g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
         wine wine64 xvfb xauth fonts-wine fonts-ipafont-gothic imagemagick locales \
         fp-utils libchm-bin python3 python3-mutagen; do
  have_pkg "$p" || need+=("$p")
done
have_pkg wine32:i386 || need+=(wine32:i386)

# Wine maps file names through the process locale: without a ja_JP.UTF-8 locale it refuses
# every non-ASCII name, although the ANSI code page is already 932.
have_ja_locale() { locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; }
make_ja_locale() {
  have_ja_locale && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing locale ja_JP.UTF-8 (run as root to generate it)" >&2
    return 1
  fi
  echo "generating locale ja_JP.UTF-8"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
}

if [ ${#need[@]} -eq 0 ]; then
  make_ja_locale
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${need[*]} (run as root to install them)" >&2
  exit 1
fi

echo "installing: ${need[*]} (log: build/apt.log)"
mkdir -p build
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails the update for one index ("File has unexpected size"); a
# later try usually finds it whole. If it never does, the install below says what is missing.
: >build/apt.log
for try in 1 2 3 4; do
  apt-get update -qq >>build/apt.log 2>&1 && break
  if [ "$try" -eq 4 ]; then
    echo "apt-get update failed 4 times; installing from the indexes it did fetch" >&2
    break
  fi
  echo "apt-get update failed (try $try of 4), retrying in $((try * 15)) s" >&2
  sleep $((try * 15))
done

# Sources without the security suite, for the one failure a broken mirror leaves: with one
# architecture's security index missing, a library needed for both i386 and amd64 has no
# version both can take, and apt reports "held broken packages".
sources_without_security() {
  local dir=$1 f
  mkdir -p "$dir"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    awk 'BEGIN { RS = ""; ORS = "\n\n" } !/debian-security/' "$f" >"$dir/$(basename "$f")"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -e "$f" ] || continue
    grep -v 'debian-security' "$f" >"$dir/$(basename "$f")" || true
  done
}

install_packages() {
  apt-get install -y -qq --no-install-recommends "$@" "${need[@]}" >>build/apt.log 2>&1
}

if ! install_packages; then
  echo "apt-get install failed; trying once more without the security suite" >&2
  fallback=$(mktemp -d)
  sources_without_security "$fallback"
  install_packages -o Dir::Etc::sourceparts="$fallback" -o Dir::Etc::sourcelist=/dev/null \
    || { rm -rf "$fallback"; tail -20 build/apt.log >&2; exit 1; }
  rm -rf "$fallback"
fi
make_ja_locale
