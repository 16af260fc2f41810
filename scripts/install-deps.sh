#!/usr/bin/env bash
# Brings the Debian packages the project needs onto this machine: what building and running
# the programs need; with --tests, the test tools as well (GoogleTest, Google Benchmark, the
# MQTT broker, the FTP server, Xvfb, libFuzzer's clang and, on amd64, the Windows cross build
# and Wine); with --windows, only what the Windows cross build needs (scripts/test.sh starts
# that build while the rest installs). Idempotent: packages already installed are left alone,
# and apt-get update runs when the package lists are older than an hour, or fail.
set -euo pipefail

tests=0
windows_only=0
for arg in "$@"; do
  case "$arg" in
    --tests) tests=1 ;;
    --windows) windows_only=1 ;;
    *) echo "usage: install-deps.sh [--tests | --windows]" >&2; exit 2 ;;
  esac
done

# The Windows cross build and Wine run on amd64 only; elsewhere (a Raspberry Pi's arm64) the
# Windows tests are left out, as they are wherever Wine is missing.
windows=()
if [ "$(dpkg --print-architecture)" = amd64 ]; then
  # The POSIX-threads compilers only (the build's), not the win32-threads pair beside them;
  # GoogleTest's sources, Boost and nlohmann JSON (header-only) for the cross build.
  windows=(cmake ninja-build git ccache g++-mingw-w64-x86-64-posix googletest libboost-dev
           nlohmann-json3-dev)
elif [ "$tests" = 1 ] || [ "$windows_only" = 1 ]; then
  echo "install-deps.sh: $(dpkg --print-architecture): the Windows build's packages" \
    "(mingw-w64, Wine) are left out, and the Windows tests with them" >&2
fi

packages=(
  build-essential cmake ninja-build pkg-config git
  lld ccache  # quicker links, and rebuilds that compile only what changed
  qt6-base-dev qt6-multimedia-dev libqcustomplot-dev
  qt6-qpa-plugins  # the window's platform plugins
  libjpeg62-turbo-dev libcurl4-openssl-dev
  libboost-dev  # Boost.Beast/Asio: the HTTP server of Alpaca and the web page (header-only)
  libsodium-dev  # the web page's password hash
  libcpp-httplib-dev nlohmann-json3-dev libmosquitto-dev
  fonts-liberation2  # Arial's metric twin: the captions of the chart images
  fonts-dejavu-core  # the window's font (without it a fresh machine's sans-serif is a monospace)
  libindi-dev  # the INDI weather driver (indi/)
)
if [ "$tests" = 1 ]; then
  packages+=(
    clang-format
    file  # the Debian package's test: CPack reads the programs' libraries with it
    libgtest-dev libgmock-dev libbenchmark-dev
    mosquitto mosquitto-clients
    indi-bin  # indiserver, indi_getprop and indi_setprop for the INDI driver's tests
    python3 python3-pyftpdlib python3-openssl python3-cryptography
    locales xvfb xauth
    clang libclang-rt-14-dev  # the sanitizer builds and libFuzzer (fuzz/)
    chromium chromium-driver python3-selenium  # the web page's browser test
  )
  if [ ${#windows[@]} -gt 0 ]; then
    packages+=("${windows[@]}" wine wine64)
  fi
fi
if [ "$windows_only" = 1 ]; then
  packages=("${windows[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

install() {
  # dpkg's unsafe-io skips a sync per unpacked file: a fresh machine's install takes a third
  # less time, at the risk of a package to be installed again after a power cut in the middle.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    -o Dpkg::Options::=--force-unsafe-io "${missing[@]}"
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # The test command installs in two steps; the second uses the lists the first fetched (the
  # lists' folder changes when an update brings new ones). Lists that fail are fetched again.
  if [ -z "$(find /var/lib/apt/lists -maxdepth 0 -mmin -60 2>/dev/null)" ]; then
    $sudo apt-get update -qq
    install
  elif ! install; then
    $sudo apt-get update -qq
    install
  fi
fi

# The number-text tests run under a comma-decimal locale.
if [ "$tests" = 1 ] && [ "$windows_only" = 0 ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  if ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen >/dev/null
fi
