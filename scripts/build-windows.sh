#!/usr/bin/env bash
# Cross-builds the core libraries, vesk-cli.exe and the core tests for Windows with mingw-w64
# into build-windows/ (programs in build-windows/bin); scripts/test.sh runs the tests under
# Wine. Arguments are passed to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --windows
source scripts/compiler-cache.sh
cmake -S . -B build-windows -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=ON "${cache_args[@]}" "$@" >/dev/null
cmake --build build-windows -j "$(nproc)"
