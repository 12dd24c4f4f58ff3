#!/usr/bin/env bash
# Installs the Debian packages the project needs, once: when everything is
# present it returns at once.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config
  # clang's sanitizer runtimes and the symbolizer, which clang only recommends
  libclang-rt-14-dev llvm
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk fonts-liberation
  xvfb xauth
  poppler-utils
  libwmf-bin imagemagick
  ghostscript fonts-ipafont-gothic
  # the print system's answer to a printed document
  libcups2-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then sudo="sudo"; else
    echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
