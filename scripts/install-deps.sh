#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing morvex need.
#   scripts/install-deps.sh           the Linux build, its tests and benchmarks
#   scripts/install-deps.sh deb       building the Debian package and checking it
#   scripts/install-deps.sh fuzz      the fuzz harnesses (clang with libFuzzer and its symbolizer)
#   scripts/install-deps.sh windows   the Windows cross build (MinGW-w64)
#   scripts/install-deps.sh wine      running the 32-bit Windows build under Wine in a virtual
#                                     display, with the Japanese locale its code page comes from
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

case "${1:-}" in
  "")
    packages=(
      cmake ninja-build g++ pkg-config
      qt6-base-dev libasound2-dev libfreetype-dev libfontconfig-dev fonts-ipafont-gothic libsndfile1-dev
      googletest libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev
      xvfb xauth openbox xdotool x11-utils
      pulseaudio pulseaudio-utils libasound2-plugins
      desktop-file-utils appstream man-db groff-base file weston xwayland qt6-wayland
    ) ;;
  deb)
    packages=(dpkg-dev lintian file) ;;
  fuzz)
    packages=(clang libclang-rt-14-dev llvm) ;;
  windows)
    packages=(cmake ninja-build g++ g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix) ;;
  wine)
    packages=(wine wine32:i386 libasound2:i386 xvfb xauth openbox xdotool locales fonts-ipafont-gothic) ;;
  *)
    echo "usage: scripts/install-deps.sh [deb|fuzz|windows|wine]" >&2
    exit 2 ;;
esac

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  # Debian's Wine runs 32-bit programs with the i386 packages.
  if [ "${1:-}" = wine ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes its code page from the locale: Japanese texts need ja_JP.
if [ "${1:-}" = wine ] && ! locale -a | grep -qix 'ja_JP.utf-\?8'; then
  "${sudo_cmd[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
