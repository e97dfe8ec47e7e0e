#!/usr/bin/env bash
# Installs the Debian packages Trelvik builds and tests with, and the comma-decimal
# locale the test suite runs under a second time. Idempotent: asks apt only for
# what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config lld
  qt6-base-dev libgl-dev libusb-1.0-0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang locales xvfb xauth
  gpsbabel libxml2-utils libexpat1-dev help2man dpkg-dev file
  desktop-file-utils appstream shared-mime-info libglib2.0-bin
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null 2>&1; then
      SUDO=sudo
    else
      echo "Trelvik needs these Debian packages: ${missing[*]}" >&2
      echo "Install them as root: apt-get install ${missing[*]}" >&2
      exit 1
    fi
  else
    SUDO=
  fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The suite runs once more under a comma-decimal locale to prove that numbers in
# files and protocols never follow the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if [[ $(id -u) -eq 0 ]]; then
    sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  else
    echo "The locale de_DE.UTF-8 is missing; the comma-decimal test pass will use whatever the system has." >&2
  fi
fi
