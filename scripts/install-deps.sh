#!/usr/bin/env bash
# Brings every Debian package the monitor, its tests and its tools need onto this machine.
# Idempotent: packages already installed are left alone, and apt-get update runs at most once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git clang-format
  qt6-base-dev qt6-multimedia-dev libqcustomplot-dev
  libjpeg62-turbo-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev nlohmann-json3-dev libmosquitto-dev mosquitto mosquitto-clients
  python3 python3-pyftpdlib python3-openssl python3-cryptography
  locales xvfb xauth
  fonts-liberation2  # Arial's metric twin: the captions of the chart images
  g++-mingw-w64-x86-64 googletest wine wine64
  clang libclang-rt-14-dev  # libFuzzer (scripts/fuzz.sh)
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The number-text tests run under a comma-decimal locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  if ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen >/dev/null
fi
