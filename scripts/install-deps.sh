#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmark need, only when missing, and
# makes sure the comma locale the tests also run under (de_DE.UTF-8) exists.
# `install-deps.sh fuzz` installs what the fuzz build needs instead: Clang with libFuzzer.
set -euo pipefail
# desktop-file-utils and appstream validate the installed desktop entry and metadata; python3-xlib
# lets the start-up benchmark watch the screen from outside the program; dpkg-dev
# gives `make package` the libraries' package names (dpkg-shlibdeps).
if [ "${1:-}" = fuzz ]; then
  packages=(cmake ninja-build clang-14 libclang-rt-14-dev llvm-14) # llvm-14: the symbolizer
else
  packages=(qt6-base-dev cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
    libical-dev tzdata fonts-dejavu-core clang-format clang-tidy-14 xvfb xauth locales
    desktop-file-utils appstream dpkg-dev python3-xlib)
fi
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
if [ "${1:-}" != fuzz ] && ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  echo "Generating the de_DE.UTF-8 locale"
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
