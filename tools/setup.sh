#!/usr/bin/env bash
# Installs, as root on Debian 12, whatever the build and the tests need and is missing,
# and generates the ja_JP.UTF-8 locale. Quiet and quick when everything is there.
set -euo pipefail

packages=(
  g++ cmake ninja-build googletest libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64-posix
  wine wine64
  xvfb x11-utils xdotool imagemagick fonts-ipafont-gothic locales
  libasound2 gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  ffmpeg procps util-linux pulseaudio pulseaudio-utils
  zip unzip ccache
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup: the ja_JP.UTF-8 locale is missing; run this script as root" >&2
    exit 1
  fi
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
