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
  # locale sources: the tests run once under a decimal-comma locale
  locales
)

# A locale that writes numbers with a decimal comma, and the users' own one.
locales_wanted=(de_DE ja_JP)

has_locale() { locale -a 2>/dev/null | grep -ix "$1\.utf-\?8" >/dev/null; }

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
missing_locales=()
for l in "${locales_wanted[@]}"; do
  has_locale "$l" || missing_locales+=("$l")
done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then sudo="sudo"; else
    echo "Need root (or sudo) to install: ${missing[*]} ${missing_locales[*]}" >&2; exit 1
  fi
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
for l in "${missing_locales[@]}"; do
  echo "Generating locale: $l.UTF-8"
  # Exit status 1 means warnings only; the check after it decides.
  $sudo localedef -i "$l" -c -f UTF-8 "$l.UTF-8" || has_locale "$l"
done
